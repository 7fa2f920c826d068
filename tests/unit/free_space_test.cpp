#include "free_space.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace pelkwardt {
namespace {

TEST(ComputeFreeSpaceTest, TruncatesAndSurvivesFailedQueries) {
  const struct {
    std::int64_t freeBytes, totalBytes, freeMB;
    std::int32_t freePercent;
  } cases[] = {
      {9'990'000'000, 100'000'000'000, 9'527, 9},
      {1'000'000'000, 3'000'000'000, 953, 33},
      {5'368'709'119, 10'737'418'240, 5'119, 49},
      {5'368'709'120, 10'737'418'240, 5'120, 50},
      {1'048'575, 1'048'576, 0, 99},
      {-1, -1, 0, 100},                                // both queries failed
      {-1, 1'000, 0, 0},                               // only the free-bytes query failed
      {1, -1, 0, -100},                                // only the total-bytes query failed
      {5'000'000'000, -1, 4'768, -1'783'793'664},      // low 32 bits of -(free * 100),
      {1 << 20, 0, 1, 0},                              // a volume of size 0
      {INT64_MAX, INT64_MAX, 8'796'093'022'207, 100},  // no wrap in free * 100
      {INT64_MAX / 2, INT64_MAX, 4'398'046'511'103, 49},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.freeBytes) + " of " + std::to_string(c.totalBytes));
    const FreeSpace space = ComputeFreeSpace(c.freeBytes, c.totalBytes);
    EXPECT_EQ(space.FreeMB, c.freeMB);
    EXPECT_EQ(space.FreePercent, c.freePercent);
  }
}

struct ThresholdCase {
  std::int64_t freeBytes, totalBytes;
  bool inPercent;
  std::int64_t threshold;
  int status;
  std::string output;
};

TEST(CheckFreeSpaceTest, ComparesTheThresholdInForce) {
  const ThresholdCase cases[] = {
      {5'368'709'119, 10'737'418'240, false, 5'120, ExitLowSpaceMB,
       ">>> Nicht genuegend Restspeicherplatz (5119MB)!\n"},
      {5'368'709'119, 10'737'418'240, false, 5'119, ExitOk, ""},
      {9'990'000'000, 100'000'000'000, true, 10, ExitLowSpacePercent, ">>> Nicht genuegend Restspeicherplatz (9%)!\n"},
      {9'990'000'000, 100'000'000'000, true, 9, ExitOk, ""},
      {100, 100, true, 101, ExitLowSpacePercent, ">>> Nicht genuegend Restspeicherplatz (100%)!\n"},
      {0, 100, true, 0, ExitOk, ""},
      {0, 100, false, -1, ExitOk, ""},
      {-1, -1, true, 100, ExitOk, ""},
      {-1, -1, true, 101, ExitLowSpacePercent, ">>> Nicht genuegend Restspeicherplatz (100%)!\n"},
      {-1, -1, false, 0, ExitOk, ""},
      {-1, -1, false, 1, ExitLowSpaceMB, ">>> Nicht genuegend Restspeicherplatz (0MB)!\n"},
      {1 << 20, 0, true, 1, ExitLowSpacePercent, ">>> Nicht genuegend Restspeicherplatz (0%)!\n"},
      {1 << 20, 0, false, 1, ExitOk, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.freeBytes) + " of " + std::to_string(c.totalBytes) + " against " +
                 std::to_string(c.threshold) + (c.inPercent ? "%" : " MB"));
    FakePlatform platform;
    platform.freeBytes = c.freeBytes;
    platform.totalBytes = c.totalBytes;
    RunSettings settings;
    settings.FreeSpaceInPercent = c.inPercent;
    if (c.inPercent) {
      settings.MinFreePercent = static_cast<std::int32_t>(c.threshold);
    } else {
      settings.MinFreeMB = c.threshold;
    }
    EXPECT_EQ(CheckFreeSpace(settings, platform), c.status);
    EXPECT_EQ(platform.output, c.output);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"free", "total"}));
  }
}

}  // namespace
}  // namespace pelkwardt
