#include "run_sequence.h"

#include "arguments.h"
#include "free_space.h"
#include "log_rotation.h"

namespace pelkwardt {

int RunLogMaintenance(const ArgumentList& arguments, Platform& platform) {
  RunSettings settings;
  if (const int status = ParseArguments(arguments, settings, platform); status != ExitOk) return status;
  if (const int status = CheckFreeSpace(settings, platform); status != ExitOk) return status;
  // The size check and rotation has no status: whatever fails in it, an allocation included, is
  // passed over and the run still succeeds.
  try {
    CheckLogSizeAndRotate(settings, platform);
  } catch (...) {
  }
  return ExitOk;
}

}  // namespace pelkwardt
