#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelkwardt {

// The process's arguments as byte strings; entry 0 names the program.
using ArgumentList = std::vector<std::string>;

// The validated command line of one run.
struct RunSettings {
  std::string LogFileName;           // argument 1, exactly as passed
  std::int32_t MaxRotatedFiles = 0;  // highest slot kept; negative disables rotation
  std::int32_t MaxLogSizeMB = 0;     // rotation trigger in megabytes
  bool FreeSpaceInPercent = false;   // argument 4 ended with "%"
  std::int32_t MinFreePercent = 0;   // set only when FreeSpaceInPercent
  std::int64_t MinFreeMB = 0;        // set only when !FreeSpaceInPercent
};

// Highest Max-Anzahl accepted: every pass names slot i + 1, and slot names have five digits.
constexpr std::int32_t MaxSupportedRotatedFiles = 99998;

constexpr int ExitOk = 0;
constexpr int ExitBadArguments = 99;
constexpr int ExitLowSpacePercent = 101;
constexpr int ExitLowSpaceMB = 102;

}  // namespace pelkwardt
