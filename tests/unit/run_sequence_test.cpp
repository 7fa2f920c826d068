#include "run_sequence.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace pelkwardt {
namespace {

TEST(RunSequenceTest, RejectedArgumentsTouchNeitherDriveNorLog) {
  FakePlatform platform;
  EXPECT_EQ(RunLogMaintenance({"p", "Vorbank.LOG", "5", "2"}, platform), ExitBadArguments);
  EXPECT_TRUE(platform.calls.empty());
}

TEST(RunSequenceTest, ShortSpaceLeavesEvenAnOversizedLogAlone) {
  FakePlatform platform;
  platform.files["Vorbank.LOG"].size = 1 << 30;
  platform.freeBytes = 0;
  EXPECT_EQ(RunLogMaintenance({"p", "Vorbank.LOG", "5", "0", "1"}, platform), ExitLowSpaceMB);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"free", "total"}));
  EXPECT_EQ(platform.output, ">>> Nicht genuegend Restspeicherplatz (0MB)!\n");
}

TEST(RunSequenceTest, RotatesSilentlyAndSucceeds) {
  FakePlatform platform;
  platform.files["Vorbank.LOG"].size = 10;
  EXPECT_EQ(RunLogMaintenance({"p", "Vorbank.LOG", "1", "0", "10%"}, platform), ExitOk);
  EXPECT_EQ(platform.output, "");
  EXPECT_EQ(platform.files.count("Vorbank_00001.LOG"), 1u);
}

}  // namespace
}  // namespace pelkwardt
