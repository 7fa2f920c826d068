// Windows-side fixtures for the end-to-end suite, for what cannot be arranged from outside:
//   windows_fixture hold PATH        opens PATH with write access, as a log's writer does, prints
//                                    "ready" and keeps it open until standard input ends;
//   windows_fixture lock PATH        takes the tool's own rotation lock for the log PATH, as a run in
//                                    mid-rotation holds it, prints "ready" and keeps it until standard
//                                    input ends;
//   windows_fixture readonly PATH    sets the read-only attribute;
//   windows_fixture run COMMANDLINE  starts a process with exactly this command line and returns its
//                                    exit status.
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace {

void ReadyUntilInputEnds() {
  fputs("ready\n", stdout);
  fflush(stdout);
  while (getchar() != EOF) {
  }
}

int Hold(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  ReadyUntilInputEnds();
  CloseHandle(file);
  return 0;
}

int Lock(const char* path) {
  const auto platform = pelkwardt::CreateSystemPlatform();
  if (!platform->LockRotation(path)) return 1;
  ReadyUntilInputEnds();
  return 0;
}

int Run(const char* commandLine) {
  std::string line(commandLine);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    return 1000;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1001;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  if (strcmp(argv[1], "hold") == 0) return Hold(argv[2]);
  if (strcmp(argv[1], "lock") == 0) return Lock(argv[2]);
  if (strcmp(argv[1], "readonly") == 0) return SetFileAttributesA(argv[2], FILE_ATTRIBUTE_READONLY) ? 0 : 1;
  if (strcmp(argv[1], "run") == 0) return Run(argv[2]);
  return 2;
}
