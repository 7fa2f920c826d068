/* The floor of a rotation cascade over an empty directory: the existence tests that pelkwardt makes with
   Max-Anzahl N, one stat per pass and nothing else. The slot names are formed the way the tool forms
   them, by rewriting five digits in place: Logdateiname less its last four bytes, "_", the slot, those
   four bytes. Passes N down to 1 test the slots, the last pass tests the live log: N + 1 tests in all.

   Usage: stat_loop Logdateiname N    (exit status 0 when only the live log was found) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fputs("usage: stat_loop Logdateiname N\n", stderr);
    return 2;
  }
  const char* log = argv[1];
  const long top = strtol(argv[2], NULL, 10);
  const size_t length = strlen(log);
  const size_t head = length > 4 ? length - 4 : 0;
  const size_t tail = length >= 4 ? 4 : 0;
  static char name[8192];
  if (length + 7 > sizeof name || top < 0 || top > 99998) return 2;
  memcpy(name, log, head);
  name[head] = '_';
  char* digits = name + head + 1;
  memcpy(digits + 5, log + length - tail, tail);
  digits[5 + tail] = '\0';

  struct stat status;
  long found = 0;
  for (long slot = top; slot >= 1; --slot) {
    long rest = slot;
    for (int d = 4; d >= 0; --d) {
      digits[d] = (char)('0' + rest % 10);
      rest /= 10;
    }
    found += stat(name, &status) == 0;
  }
  found += stat(log, &status) == 0;
  return found == 1 ? 0 : 1;
}
