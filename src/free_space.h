#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "run_settings.h"

namespace pelkwardt {

struct FreeSpace {
  std::int64_t FreeMB;       // whole megabytes, truncated
  std::int32_t FreePercent;  // whole percent of the volume, truncated
};

/// The free space in whole megabytes and whole percent, from the two queries' results (-1 for a
/// failed query). A volume whose total reads 0 has 0 percent free.
FreeSpace ComputeFreeSpace(std::int64_t freeBytes, std::int64_t totalBytes);

/// Compares the current volume's free space with the threshold in force. Returns ExitOk, or
/// ExitLowSpacePercent / ExitLowSpaceMB after printing the shortage message.
int CheckFreeSpace(const RunSettings& settings, Platform& platform);

}  // namespace pelkwardt
