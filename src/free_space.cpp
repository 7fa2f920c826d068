#include "free_space.h"

#include <charconv>
#include <string_view>

namespace pelkwardt {
namespace {

constexpr std::int64_t BytesPerKilobyte = 1024;

void PrintShortage(Platform& platform, std::int64_t figure, std::string_view unit) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, figure).ptr;
  platform.WriteOutput(">>> Nicht genuegend Restspeicherplatz (");
  platform.WriteOutput(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  platform.WriteOutput(unit);
}

}  // namespace

FreeSpace ComputeFreeSpace(std::int64_t freeBytes, std::int64_t totalBytes) {
  FreeSpace result{};
  result.FreeMB = freeBytes / BytesPerKilobyte / BytesPerKilobyte;
  if (totalBytes != 0) {
    // 128 bits hold freeBytes * 100 for every 64-bit count. The quotient's low 32 bits are the
    // percentage; only the failed-query cases ever leave 0 to 100.
    __extension__ using Wide = __int128;
    const Wide quotient = Wide{freeBytes} * 100 / totalBytes;
    const auto low32 = static_cast<std::uint32_t>(static_cast<unsigned __int128>(quotient));
    result.FreePercent = static_cast<std::int32_t>(low32 > INT32_MAX ? std::int64_t{low32} - (std::int64_t{1} << 32)
                                                                     : std::int64_t{low32});
  }
  return result;
}

int CheckFreeSpace(const RunSettings& settings, Platform& platform) {
  const std::int64_t freeBytes = platform.FreeBytes();
  const std::int64_t totalBytes = platform.TotalBytes();
  const FreeSpace space = ComputeFreeSpace(freeBytes, totalBytes);
  if (settings.FreeSpaceInPercent) {
    if (space.FreePercent >= settings.MinFreePercent) return ExitOk;
    PrintShortage(platform, space.FreePercent, "%)!\n");
    return ExitLowSpacePercent;
  }
  if (space.FreeMB >= settings.MinFreeMB) return ExitOk;
  PrintShortage(platform, space.FreeMB, "MB)!\n");
  return ExitLowSpaceMB;
}

}  // namespace pelkwardt
