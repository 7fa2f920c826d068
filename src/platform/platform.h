#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "run_settings.h"

namespace pelkwardt {

// Every operation the tool needs of the operating system. The build links exactly one implementation
// (posix.cpp or win32.cpp); the logic only ever sees this interface.
class Platform {
 public:
  virtual ~Platform() = default;

  /// True when path names an existing file that is not a directory and whose modification time, in
  /// local time, lies from 1980-01-01 to 2107-12-31; false in every other case.
  virtual bool FileExists(const std::string& path) = 0;

  /// Opens the existing file with write access while other writers are shut out, takes its size in bytes
  /// and closes it again; -1 when that open fails. Never creates, truncates, blocks or changes the file.
  virtual std::int64_t MeasureLogSize(const std::string& path) = 0;

  /// Removes the file; fails without effect when it is read-only, missing or cannot be removed.
  virtual void RemoveFile(const std::string& path) = 0;

  /// Gives the file the new name; never replaces an existing file or directory, and fails without
  /// effect instead.
  virtual void RenameFile(const std::string& from, const std::string& to) = 0;

  /// Takes a lock keyed to the log's full path, held until the process ends (the system drops it when the
  /// process dies) and creating no file; false when another process holds it.
  virtual bool LockRotation(const std::string& logFileName) = 0;

  /// Bytes on the current directory's volume that the calling user can still fill; -1 when the query fails.
  virtual std::int64_t FreeBytes() = 0;

  /// Total size of the current directory's volume in bytes; -1 when the query fails.
  virtual std::int64_t TotalBytes() = 0;

  /// Writes text to standard output, each "\n" as CR LF; a failed write is dropped in silence.
  virtual void WriteOutput(std::string_view text) = 0;
};

/// The argument vector of this process, entry 0 naming the program, split as the tool's callers expect.
ArgumentList ProgramArguments(int argc, char** argv);

/// The operating system's implementation; standard output is flushed when it is destroyed.
std::unique_ptr<Platform> CreateSystemPlatform();

}  // namespace pelkwardt
