#include "arguments.h"

#include <gtest/gtest.h>

#include <string>

#include "console_texts.h"
#include "fake_platform.h"

namespace pelkwardt {
namespace {

TEST(ParseIntegerTest, AcceptsExactlyTheGrammar) {
  const struct {
    std::string text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"5", 5},
      {"+5", 5},
      {"005", 5},
      {"  5", 5},
      {"-5", -5},
      {"-0", 0},
      {"010", 10},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {std::string(10000, '0') + "7", 7},
      {"$1F", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"  $a", 10},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX},
      {"$000000001", 1},
      {"$100000000", std::nullopt},
      {"0", 0},
      {"-$1F", std::nullopt},
      {"+0x1F", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"5 ", std::nullopt},
      {"- 5", std::nullopt},
      {"+-5", std::nullopt},
      {"\t5", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"10MB", std::nullopt},
      {"$1G", std::nullopt},
      {"0x0x1", std::nullopt},
      {std::string("5\0", 2), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("text: \"" + c.text + "\"");
    EXPECT_EQ(ParseInteger(c.text), c.value);
  }
}

ArgumentList Command(std::string maxRotated, std::string maxSize, std::string minFree) {
  return {"pelkwardt", "Vorbank.LOG", std::move(maxRotated), std::move(maxSize), std::move(minFree)};
}

TEST(ParseArgumentsTest, FillsTheSettings) {
  FakePlatform platform;
  RunSettings settings;
  ASSERT_EQ(ParseArguments({"p", "log\\Vorbank.LOG", "5", "2", "10%", "Debug", "more"}, settings, platform), ExitOk);
  EXPECT_EQ(settings.LogFileName, "log\\Vorbank.LOG");
  EXPECT_EQ(settings.MaxRotatedFiles, 5);
  EXPECT_EQ(settings.MaxLogSizeMB, 2);
  EXPECT_TRUE(settings.FreeSpaceInPercent);
  EXPECT_EQ(settings.MinFreePercent, 10);
  EXPECT_EQ(settings.MinFreeMB, 0);
  EXPECT_EQ(platform.output, "");
  EXPECT_TRUE(platform.calls.empty());
}

TEST(ParseArgumentsTest, ChoosesTheUnitByTheLastByte) {
  const struct {
    std::string argument;
    bool percent;
    std::int64_t value;
    const char* error;
  } cases[] = {
      {"10%", true, 10, nullptr},
      {" 10%", true, 10, nullptr},
      {"0x10%", true, 16, nullptr},
      {"150%", true, 150, nullptr},
      {"10 %", true, 0, "Restgroesse in Prozent ungueltig\n\n"},
      {"%", true, 0, "Restgroesse in Prozent ungueltig\n\n"},
      {"10%%", true, 0, "Restgroesse in Prozent ungueltig\n\n"},
      {"10", false, 10, nullptr},
      {"$A", false, 10, nullptr},
      {"-1", false, -1, nullptr},
      {"%10", false, 0, "Restgroesse in MB ungueltig\n\n"},
      {"", false, 0, "Restgroesse in MB ungueltig\n\n"},
      {"10MB", false, 0, "Restgroesse in MB ungueltig\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("argument 4: \"" + c.argument + "\"");
    FakePlatform platform;
    RunSettings settings;
    const int status = ParseArguments(Command("5", "2", c.argument), settings, platform);
    EXPECT_EQ(settings.FreeSpaceInPercent, c.percent);
    if (c.error != nullptr) {
      EXPECT_EQ(status, ExitBadArguments);
      EXPECT_NE(platform.output.find(c.error), std::string::npos);
      continue;
    }
    EXPECT_EQ(status, ExitOk);
    EXPECT_EQ(c.percent ? settings.MinFreePercent : settings.MinFreeMB, c.value);
  }
}

TEST(ParseArgumentsTest, ReportsOnlyTheFirstErrorBetweenBannerAndUsage) {
  FakePlatform reference;
  PrintBanner(reference);
  const std::string banner = reference.output;
  reference.output.clear();
  PrintUsage(reference);
  const std::string usage = reference.output;

  const struct {
    ArgumentList arguments;
    std::string message;
  } cases[] = {
      {{"p"}, "Anzahl Parameter ungueltig!"},
      {{"p", "a", "1", "2"}, "Anzahl Parameter ungueltig!"},
      {Command("x", "y", "z"), "Max-Anzahl Logdateien ungueltig\n\n"},
      {Command("99999", "2", "10"), "Max-Anzahl Logdateien ungueltig\n\n"},
      {Command("2147483647", "2", "10"), "Max-Anzahl Logdateien ungueltig\n\n"},
      {Command("5", "2MB", "z"), "Max-Loggroesse ungueltig\n\n"},
      {Command("5", "2", "z%"), "Restgroesse in Prozent ungueltig\n\n"},
      {Command("5", "2", "z"), "Restgroesse in MB ungueltig\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("message: " + c.message);
    FakePlatform platform;
    RunSettings settings;
    EXPECT_EQ(ParseArguments(c.arguments, settings, platform), ExitBadArguments);
    EXPECT_EQ(platform.output, banner + c.message + usage);
    EXPECT_TRUE(platform.calls.empty());
  }
}

TEST(ParseArgumentsTest, AcceptsEveryRangeButMaxAnzahlAboveTheSlotLimit) {
  FakePlatform platform;
  RunSettings settings;
  ASSERT_EQ(ParseArguments({"p", "", "99998", "-7", "-1"}, settings, platform), ExitOk);
  EXPECT_EQ(settings.LogFileName, "");
  EXPECT_EQ(settings.MaxRotatedFiles, 99998);
  EXPECT_EQ(settings.MaxLogSizeMB, -7);
  EXPECT_EQ(settings.MinFreeMB, -1);
  ASSERT_EQ(ParseArguments({"p", "a", "-2147483648", "2147483647", "0%"}, settings, platform), ExitOk);
  EXPECT_EQ(settings.MaxRotatedFiles, INT32_MIN);
  EXPECT_EQ(settings.MaxLogSizeMB, INT32_MAX);
}

}  // namespace
}  // namespace pelkwardt
