/* The floor of any run: a statically linked program that starts and exits at once. Nothing a real
   program does can cost less than this process creation, exec and exit. */
int main(void) {
  return 0;
}
