#include "log_rotation.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace pelkwardt {
namespace {

TEST(RotatedFileNameTest, CutsFourBytesBeforeTheEnd) {
  const struct {
    std::string logFileName;
    std::int32_t slot;
    std::string expected;
  } cases[] = {
      {"Vorbank.LOG", 1, "Vorbank_00001.LOG"},
      {"Vorbank.LOG", 12345, "Vorbank_12345.LOG"},
      {"Vorbank.LOG", 0, "Vorbank_00000.LOG"},
      {"Vorbank.LOG", 99999, "Vorbank_99999.LOG"},
      {"log\\Vorbank.LOG", 3, "log\\Vorbank_00003.LOG"},
      {"Vorbank.js", 2, "Vorban_00002k.js"},
      {"Vorbank", 7, "Vor_00007bank"},
      {"log\\ab", 1, "lo_00001g\\ab"},
      {"a.lo", 1, "_00001a.lo"},
      {"abc", 1, "_00001"},
      {"", 42, "_00042"},
      {"\xfc.LOG", 5, "\xfc_00005.LOG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.logFileName + " slot " + std::to_string(c.slot));
    EXPECT_EQ(RotatedFileName(c.logFileName, c.slot), c.expected);
  }
}

TEST(SlotNameTest, RewritesOnlyTheDigits) {
  SlotName name("Vorbank.LOG");
  EXPECT_EQ(name.For(99999), "Vorbank_99999.LOG");
  EXPECT_EQ(name.For(7), "Vorbank_00007.LOG");
}

TEST(SizeThresholdTest, Is64BitMegabytesAndNeverNegative) {
  EXPECT_EQ(SizeThreshold(0), 0);
  EXPECT_EQ(SizeThreshold(2), 2'097'152);
  EXPECT_EQ(SizeThreshold(2047), 2'146'435'072);
  EXPECT_EQ(SizeThreshold(2048), 2'147'483'648);
  EXPECT_EQ(SizeThreshold(INT32_MAX), std::int64_t{INT32_MAX} << 20);
  EXPECT_EQ(SizeThreshold(-5), 0);
  EXPECT_EQ(SizeThreshold(INT32_MIN), 0);
}

class RotationTest : public ::testing::Test {
 protected:
  void AddFile(const std::string& name, std::int64_t size = 0) {
    platform.files[name].content = name;
    platform.files[name].size = size;
  }

  void Run(std::int32_t maxRotatedFiles, std::int32_t maxLogSizeMB = 0) {
    settings.LogFileName = "Vorbank.LOG";
    settings.MaxRotatedFiles = maxRotatedFiles;
    settings.MaxLogSizeMB = maxLogSizeMB;
    CheckLogSizeAndRotate(settings, platform);
  }

  // Name -> original name of every file afterwards.
  std::map<std::string, std::string> Where() const { return platform.Contents(); }

  FakePlatform platform;
  RunSettings settings;
};

TEST_F(RotationTest, WorkedExampleRunsThePassesTopDown) {
  AddFile("Vorbank.LOG", 2'097'152);
  for (const char* copy : {"Vorbank_00001.LOG", "Vorbank_00002.LOG", "Vorbank_00003.LOG"}) AddFile(copy);
  Run(3, 2);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{
                                "exists Vorbank.LOG",
                                "lock Vorbank.LOG",
                                "measure Vorbank.LOG",
                                "exists Vorbank_00003.LOG",
                                "remove Vorbank_00003.LOG",
                                "exists Vorbank_00002.LOG",
                                "rename Vorbank_00002.LOG Vorbank_00003.LOG",
                                "exists Vorbank_00001.LOG",
                                "rename Vorbank_00001.LOG Vorbank_00002.LOG",
                                "exists Vorbank.LOG",
                                "rename Vorbank.LOG Vorbank_00001.LOG",
                            }));
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank_00001.LOG", "Vorbank.LOG"},
                                                         {"Vorbank_00002.LOG", "Vorbank_00001.LOG"},
                                                         {"Vorbank_00003.LOG", "Vorbank_00002.LOG"}}));
}

TEST_F(RotationTest, RotatesFromTheThresholdOn) {
  AddFile("Vorbank.LOG", 2'097'151);
  Run(3, 2);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"exists Vorbank.LOG", "lock Vorbank.LOG", "measure Vorbank.LOG"}));
  platform.files["Vorbank.LOG"].size = 5'368'709'120;  // 5 GiB: a 64-bit size still rotates
  Run(3, 2);
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank_00001.LOG", "Vorbank.LOG"}}));
}

TEST_F(RotationTest, NeverRotatesALogThatCannotBeMeasured) {
  AddFile("Vorbank.LOG");
  platform.files["Vorbank.LOG"].heldOpenForWriting = true;
  Run(3, -1);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"exists Vorbank.LOG", "lock Vorbank.LOG", "measure Vorbank.LOG"}));
}

TEST_F(RotationTest, LeavesTheLogAloneWhileAnotherRunRotatesIt) {
  AddFile("Vorbank.LOG", 10);
  platform.rotationLockedElsewhere = true;
  Run(3);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"exists Vorbank.LOG", "lock Vorbank.LOG"}));
}

TEST(RotationLockNameTest, IsAFixedLengthNameWithoutSeparators) {
  const std::string name = RotationLockName("/var/log/quardelin/Vorbank.LOG");
  EXPECT_EQ(name, RotationLockName("/var/log/quardelin/Vorbank.LOG"));
  EXPECT_NE(name, RotationLockName("/var/log/quardelin/Vorbank.LOg"));
  EXPECT_NE(RotationLockName(""), RotationLockName(std::string(1, '\0')));
  EXPECT_EQ(name.size(), RotationLockName(std::string(100000, 'x')).size());
  EXPECT_EQ(name.find_first_of("/\\"), std::string::npos);
}

TEST_F(RotationTest, NothingHappensWithoutALiveLog) {
  AddFile("Vorbank_00001.LOG");
  platform.files["Vorbank.LOG"].directory = true;
  Run(3);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"exists Vorbank.LOG"}));
}

TEST_F(RotationTest, GapsMoveUpWithTheCopies) {
  for (const char* name : {"Vorbank.LOG", "Vorbank_00001.LOG", "Vorbank_00002.LOG", "Vorbank_00004.LOG"}) {
    AddFile(name);
  }
  Run(5);
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank_00001.LOG", "Vorbank.LOG"},
                                                         {"Vorbank_00002.LOG", "Vorbank_00001.LOG"},
                                                         {"Vorbank_00003.LOG", "Vorbank_00002.LOG"},
                                                         {"Vorbank_00005.LOG", "Vorbank_00004.LOG"}}));
}

TEST_F(RotationTest, ReadOnlyTopCopyBlocksTheWholeCascade) {
  for (const char* name : {"Vorbank.LOG", "Vorbank_00001.LOG", "Vorbank_00002.LOG"}) AddFile(name);
  platform.files["Vorbank_00002.LOG"].readOnly = true;
  const auto before = Where();
  Run(2);
  EXPECT_EQ(Where(), before);
}

TEST_F(RotationTest, ADirectoryAtASlotNameStaysAndStopsTheMoveIntoIt) {
  for (const char* name : {"Vorbank.LOG", "Vorbank_00001.LOG", "Vorbank_00003.LOG"}) AddFile(name);
  platform.files["Vorbank_00002.LOG"].directory = true;
  Run(3);
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank.LOG", "Vorbank.LOG"},
                                                         {"Vorbank_00001.LOG", "Vorbank_00001.LOG"},
                                                         {"Vorbank_00002.LOG", "<dir>"}}));
}

TEST_F(RotationTest, MaxAnzahlZeroDeletesSlotZeroAndFillsSlotOneOnce) {
  for (const char* name : {"Vorbank.LOG", "Vorbank_00000.LOG"}) AddFile(name);
  Run(0);
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank_00001.LOG", "Vorbank.LOG"}}));
  AddFile("Vorbank.LOG");
  platform.files["Vorbank.LOG"].content = "new live";
  Run(0);
  EXPECT_EQ(Where(),
            (std::map<std::string, std::string>{{"Vorbank.LOG", "new live"}, {"Vorbank_00001.LOG", "Vorbank.LOG"}}));
}

TEST_F(RotationTest, NegativeMaxAnzahlMovesNothingAndSlotsOutsideTheRangeStay) {
  for (const char* name : {"Vorbank.LOG", "Vorbank_00000.LOG", "Vorbank_00003.LOG"}) AddFile(name);
  Run(-1);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"exists Vorbank.LOG", "lock Vorbank.LOG", "measure Vorbank.LOG"}));
  Run(2);
  EXPECT_EQ(Where(), (std::map<std::string, std::string>{{"Vorbank_00000.LOG", "Vorbank_00000.LOG"},
                                                         {"Vorbank_00001.LOG", "Vorbank.LOG"},
                                                         {"Vorbank_00003.LOG", "Vorbank_00003.LOG"}}));
}

}  // namespace
}  // namespace pelkwardt
