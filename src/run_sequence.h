#pragma once

#include "platform/platform.h"
#include "run_settings.h"

namespace pelkwardt {

/// One run of the tool: argument check, free-space check, then the log size check and rotation.
/// Returns the exit status: the first failing step's status, else ExitOk.
int RunLogMaintenance(const ArgumentList& arguments, Platform& platform);

}  // namespace pelkwardt
