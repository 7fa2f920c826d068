#include "console_texts.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fake_platform.h"

namespace pelkwardt {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(ConsoleTextsTest, BannerIsABoxOf55ByteLinesBetweenEmptyLines) {
  FakePlatform platform;
  PrintBanner(platform);
  const auto lines = Lines(platform.output);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(platform.output.size(), 495u + 11u);
  EXPECT_EQ(lines.front(), "");
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(lines[1], std::string(55, '*'));
  EXPECT_EQ(lines[9], std::string(55, '*'));
  EXPECT_EQ(lines[2].substr(0, 14), "** (c) VELMORA");
  for (std::size_t i = 2; i <= 8; ++i) {
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(lines[i].size(), 55u);
    EXPECT_EQ(lines[i].substr(0, 2), "**");
    EXPECT_EQ(lines[i].substr(53), "**");
  }
}

TEST(ConsoleTextsTest, UsageKeepsItsPercentSignsAndTrailingBlank) {
  FakePlatform platform;
  PrintUsage(platform);
  EXPECT_EQ(platform.output.size(), 478u + 10u);
  const auto lines = Lines(platform.output);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Befehlsformat: ");
  EXPECT_EQ(lines[4], "PELKWARDT.EXE ..\\..\\quardelin_php\\log\\Vorbank.LOG 5 2 10%");
  EXPECT_EQ(lines[9], "                (Durch anstellen des %-Zeichens erfolgt die Angabe in Prozent)");
}

}  // namespace
}  // namespace pelkwardt
