#include "platform/platform.h"
#include "run_sequence.h"

int main(int argc, char** argv) {
  using namespace pelkwardt;
  try {
    const auto platform = CreateSystemPlatform();
    return RunLogMaintenance(ProgramArguments(argc, argv), *platform);
  } catch (...) {
    // Only an allocation can fail before the run proper starts: the command line was not taken in.
    return ExitBadArguments;
  }
}
