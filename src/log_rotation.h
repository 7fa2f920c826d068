#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "run_settings.h"

namespace pelkwardt {

/// The names of one log's rotation slots: the log's name less its last four bytes, "_", the slot in five
/// digits, then those four bytes (Vorbank.LOG, 1 -> Vorbank_00001.LOG). The cut is by bytes alone; a
/// name of three bytes or fewer contributes nothing. The name is laid out once, and each slot only
/// rewrites the digits, so a cascade forms its names without allocating.
class SlotName {
 public:
  explicit SlotName(std::string_view logFileName);

  /// The name of slot, which lies from 0 to 99999; valid until the next call.
  const std::string& For(std::int32_t slot);

 private:
  std::string name_;
  std::size_t digitsAt_;
};

/// The name of the given slot (0 to 99999) of the log; touches no file.
std::string RotatedFileName(std::string_view logFileName, std::int32_t slot);

/// Max-Groesse in bytes; a negative Max-Groesse acts as 0, so the threshold is never negative.
std::int64_t SizeThreshold(std::int32_t maxLogSizeMB);

/// The system-wide name of the lock that a run holds while it rotates the log with this full path.
std::string RotationLockName(std::string_view fullLogPath);

/// Deletes the copy in the top slot, moves every lower copy up one slot and renames the live log to
/// slot 1. Every pass makes its own existence tests; failures are passed over.
void RotateLogFiles(const RunSettings& settings, Platform& platform);

/// Rotates the live log when it exists, no other run is rotating it, it can be opened for measuring and it
/// has reached its size threshold.
void CheckLogSizeAndRotate(const RunSettings& settings, Platform& platform);

}  // namespace pelkwardt
