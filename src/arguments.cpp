#include "arguments.h"

#include "console_texts.h"

namespace pelkwardt {
namespace {

constexpr std::uint64_t Max32BitPattern = 0xFFFFFFFFu;
constexpr std::int64_t DecimalMagnitudeLimit = 2147483648;  // |INT32_MIN|

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hexadecimal digits make a 32-bit pattern that reads as two's complement, so $FFFFFFFF is -1.
std::optional<std::int32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > Max32BitPattern) return std::nullopt;
  }
  const auto pattern = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(pattern > INT32_MAX ? pattern - (std::int64_t{1} << 32) : pattern);
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > DecimalMagnitudeLimit) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

int Reject(Platform& platform, std::string_view message) {
  PrintBanner(platform);
  platform.WriteOutput(message);
  PrintUsage(platform);
  return ExitBadArguments;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  const std::size_t firstNonBlank = text.find_first_not_of(' ');
  if (firstNonBlank == std::string_view::npos) return std::nullopt;
  text.remove_prefix(firstNonBlank);
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (StartsWith(text, prefix)) return ParseHexDigits(text.substr(prefix.size()));
  }
  return ParseDecimal(text);
}

int ParseArguments(const ArgumentList& arguments, RunSettings& settings, Platform& platform) {
  if (arguments.size() < 5) return Reject(platform, "Anzahl Parameter ungueltig!");
  settings.LogFileName = arguments[1];

  const auto maxRotatedFiles = ParseInteger(arguments[2]);
  if (!maxRotatedFiles || *maxRotatedFiles > MaxSupportedRotatedFiles) {
    return Reject(platform, "Max-Anzahl Logdateien ungueltig\n\n");
  }
  settings.MaxRotatedFiles = *maxRotatedFiles;

  const auto maxLogSizeMB = ParseInteger(arguments[3]);
  if (!maxLogSizeMB) return Reject(platform, "Max-Loggroesse ungueltig\n\n");
  settings.MaxLogSizeMB = *maxLogSizeMB;

  const std::string_view minFree = arguments[4];
  settings.FreeSpaceInPercent = !minFree.empty() && minFree.back() == '%';
  if (settings.FreeSpaceInPercent) {
    const auto percent = ParseInteger(minFree.substr(0, minFree.size() - 1));
    if (!percent) return Reject(platform, "Restgroesse in Prozent ungueltig\n\n");
    settings.MinFreePercent = *percent;
  } else {
    const auto megabytes = ParseInteger(minFree);
    if (!megabytes) return Reject(platform, "Restgroesse in MB ungueltig\n\n");
    settings.MinFreeMB = *megabytes;
  }
  return ExitOk;
}

}  // namespace pelkwardt
