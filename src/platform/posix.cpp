// The platform operations on Linux, with the same outcomes that the tool's Windows callers see: a
// read-only file is never rotated, not even by root, and a rename never replaces anything.
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "log_rotation.h"
#include "platform/platform.h"

namespace pelkwardt {
namespace {

constexpr mode_t AnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::size_t OutputBufferBytes = 512;

// The range of a DOS date, which Windows requires of a file's modification time in local time.
bool InDosDateRange(time_t modified) {
  struct tm local {};
  if (localtime_r(&modified, &local) == nullptr) return false;
  const int year = local.tm_year + 1900;
  return year >= 1980 && year <= 2107;
}

bool IsReadOnly(const struct stat& status) {
  return (status.st_mode & AnyWriteBit) == 0;
}

std::int64_t VolumeBytes(fsblkcnt_t blocks, unsigned long blockSize) {
  const auto bytes = static_cast<unsigned __int128>(blocks) * blockSize;
  constexpr auto limit = static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max());
  return bytes > limit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(bytes);
}

// The path with its directory resolved, so that every spelling of one log gives the same text; the
// last component stays as it is, since the rotation renames that name, whatever it links to.
std::string FullPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  char* resolved = realpath(directory.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string full(resolved);
  std::free(resolved);
  if (full.back() != '/') full.push_back('/');
  return full.append(path, slash == std::string::npos ? 0 : slash + 1);
}

// Writes all of data to standard output, retrying after signals; whatever cannot be written is dropped.
void WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(STDOUT_FILENO, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

class PosixPlatform final : public Platform {
 public:
  PosixPlatform() {
    // A closed or broken standard output must not end the run, and a broken read lease must not
    // either: both signals end a process by default.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGIO, SIG_IGN);
    // With standard output closed, the first file opened would take descriptor 1 and receive the
    // tool's texts. Fill any closed standard descriptor with /dev/null so that no log ever can.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
      if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) open("/dev/null", O_RDWR);
    }
    unbuffered_ = isatty(STDOUT_FILENO) == 1;
  }

  ~PosixPlatform() override { Flush(); }

  bool FileExists(const std::string& path) override {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && InDosDateRange(status.st_mtime);
  }

  std::int64_t MeasureLogSize(const std::string& path) override {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || IsReadOnly(status)) return -1;
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return -1;
    // A read-only descriptor changes nothing about the file and, unlike a writer, can take a read
    // lease, which the kernel refuses while any process has the file open for writing.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == EACCES ? status.st_size : -1;  // writable but not readable: no check
    struct stat opened {};
    std::int64_t size = -1;
    if (fstat(fd, &opened) == 0 && opened.st_dev == status.st_dev && opened.st_ino == status.st_ino &&
        S_ISREG(opened.st_mode)) {
      if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        fcntl(fd, F_SETLEASE, F_UNLCK);
        size = opened.st_size;
      } else if (errno != EAGAIN && errno != EBUSY) {
        size = opened.st_size;  // not the owner, or no leases on this file system: measure anyway
      }
    }
    close(fd);
    return size;
  }

  void RemoveFile(const std::string& path) override {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || (S_ISREG(status.st_mode) && IsReadOnly(status))) return;
    unlink(path.c_str());
  }

  void RenameFile(const std::string& from, const std::string& to) override {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS) return;
    // The file system cannot rename without replacing: a new link fails where the name is taken.
    if (link(from.c_str(), to.c_str()) != 0) return;
    if (unlink(from.c_str()) != 0) unlink(to.c_str());
  }

  // A Unix socket bound to a name in the abstract namespace: no file is created, and the name is freed
  // when the process ends, however it ends. The socket is never closed for that reason.
  bool LockRotation(const std::string& logFileName) override {
    const std::string name = RotationLockName(FullPath(logFileName));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;  // no lock to be had at all: rotating beats never rotating
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) return true;
    const bool heldElsewhere = errno == EADDRINUSE;
    close(fd);
    return !heldElsewhere;
  }

  std::int64_t FreeBytes() override {
    struct statvfs volume {};
    return statvfs(".", &volume) == 0 ? VolumeBytes(volume.f_bavail, volume.f_frsize) : -1;
  }

  std::int64_t TotalBytes() override {
    struct statvfs volume {};
    return statvfs(".", &volume) == 0 ? VolumeBytes(volume.f_blocks, volume.f_frsize) : -1;
  }

  void WriteOutput(std::string_view text) override {
    for (char c : text) {
      if (c == '\n') Put('\r');
      Put(c);
    }
    if (unbuffered_) Flush();
  }

 private:
  void Put(char c) {
    if (used_ == OutputBufferBytes) Flush();
    buffer_[used_++] = c;
  }

  void Flush() {
    WriteAll(buffer_, used_);
    used_ = 0;
  }

  bool unbuffered_ = false;
  char buffer_[OutputBufferBytes] = {};
  std::size_t used_ = 0;
};

}  // namespace

ArgumentList ProgramArguments(int argc, char** argv) {
  return ArgumentList(argv, argv + argc);
}

std::unique_ptr<Platform> CreateSystemPlatform() {
  return std::make_unique<PosixPlatform>();
}

}  // namespace pelkwardt
