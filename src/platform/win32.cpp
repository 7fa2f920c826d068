// The platform operations on Windows, through the system calls whose contracts the tool was built on.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "command_line.h"
#include "log_rotation.h"
#include "platform/platform.h"

namespace pelkwardt {
namespace {

constexpr std::size_t OutputBufferBytes = 512;

class Win32Platform final : public Platform {
 public:
  // The C runtime's text mode writes each "\n" as CR LF. A console sees every text at once; a file or
  // pipe gets it in 512-byte blocks and the rest when the process ends.
  Win32Platform() {
    if (_isatty(_fileno(stdout))) {
      setvbuf(stdout, nullptr, _IONBF, 0);
    } else {
      setvbuf(stdout, nullptr, _IOFBF, OutputBufferBytes);
    }
  }

  ~Win32Platform() override { fflush(stdout); }

  bool FileExists(const std::string& path) override {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    FILETIME local;
    WORD dosDate = 0;
    WORD dosTime = 0;
    SYSTEMTIME fields;
    // Some implementations of the DOS date conversion do not refuse years past 2107, so the year is
    // checked as well.
    return FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local) &&
           FileTimeToDosDateTime(&local, &dosDate, &dosTime) && FileTimeToSystemTime(&local, &fields) &&
           fields.wYear >= 1980 && fields.wYear <= 2107;
  }

  std::int64_t MeasureLogSize(const std::string& path) override {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    // Windows refuses write access to a read-only file, but an emulation running as root may not.
    BY_HANDLE_FILE_INFORMATION information;
    LARGE_INTEGER size;
    const bool readOnly = !GetFileInformationByHandle(file, &information) ||
                          (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    const std::int64_t result = !readOnly && GetFileSizeEx(file, &size) ? size.QuadPart : -1;
    CloseHandle(file);
    return result;
  }

  void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }

  void RenameFile(const std::string& from, const std::string& to) override { MoveFileA(from.c_str(), to.c_str()); }

  // A named mutex lives while any process holds a handle to it, and the system closes the handles of a
  // process that ends. File names are case-insensitive, so the key is the full path in capitals.
  bool LockRotation(const std::string& logFileName) override {
    std::string full(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(logFileName.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
      full.resize(length);
      length = GetFullPathNameA(logFileName.c_str(), length, full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) full = logFileName;
    for (char& c : full) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const std::string name = RotationLockName(full);
    // Global names reach runs in other sessions (the task scheduler's); creating one may need a
    // privilege, so a session-local name is the fallback.
    for (const char* scope : {"Global\\", "Local\\"}) {
      const HANDLE mutex = CreateMutexA(nullptr, FALSE, (scope + name).c_str());
      if (mutex == nullptr) continue;
      if (GetLastError() != ERROR_ALREADY_EXISTS) return true;  // the handle stays open until the end
      CloseHandle(mutex);
      return false;
    }
    return true;
  }

  // Without a directory name both queries ask about the current drive.
  std::int64_t FreeBytes() override {
    ULARGE_INTEGER available;
    return GetDiskFreeSpaceExA(nullptr, &available, nullptr, nullptr) ? ToSigned(available) : -1;
  }

  std::int64_t TotalBytes() override {
    ULARGE_INTEGER total;
    return GetDiskFreeSpaceExA(nullptr, nullptr, &total, nullptr) ? ToSigned(total) : -1;
  }

  void WriteOutput(std::string_view text) override { fwrite(text.data(), 1, text.size(), stdout); }

 private:
  static std::int64_t ToSigned(ULARGE_INTEGER bytes) {
    return bytes.QuadPart > static_cast<ULONGLONG>(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(bytes.QuadPart);
  }
};

// The full path of the running program file, as the system reports it.
std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  while (true) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

// The C runtime's splitting of the command line follows other rules, so its argv is not used.
ArgumentList ProgramArguments(int, char**) {
  ArgumentList arguments{ModulePath()};
  for (std::string& word : SplitCommandLine(GetCommandLineA())) arguments.push_back(std::move(word));
  return arguments;
}

std::unique_ptr<Platform> CreateSystemPlatform() {
  return std::make_unique<Win32Platform>();
}

}  // namespace pelkwardt
