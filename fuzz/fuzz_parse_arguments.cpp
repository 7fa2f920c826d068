// ParseArguments on arbitrary argument vectors. The input is cut at NUL bytes into up to eight
// arguments (entry 0 first, the rest of the input in the last one). Whatever the vector, the status is 0
// with nothing printed and the settings as the reference grammar reads them, or 99 with exactly the
// banner, the message of the first bad argument and the usage text; the check touches no file and asks
// the system nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "arguments.h"
#include "console_texts.h"
#include "fake_platform.h"
#include "fuzz_check.h"
#include "integer_oracle.h"

namespace {

constexpr std::size_t MaxArguments = 8;

pelkwardt::ArgumentList SplitAtNul(std::string_view data) {
  pelkwardt::ArgumentList arguments;
  while (arguments.size() + 1 < MaxArguments) {
    const std::size_t nul = data.find('\0');
    if (nul == std::string_view::npos) break;
    arguments.emplace_back(data.substr(0, nul));
    data.remove_prefix(nul + 1);
  }
  arguments.emplace_back(data);
  return arguments;
}

std::string Printed(void (*print)(pelkwardt::Platform&)) {
  pelkwardt::FakePlatform platform;
  print(platform);
  return platform.output;
}

// The message of the first bad argument in the order count, 2, 3, 4; empty when all are good.
std::string_view ExpectedMessage(const pelkwardt::ArgumentList& arguments) {
  using pelkwardt_fuzz::ReferenceInteger;
  if (arguments.size() < 5) return "Anzahl Parameter ungueltig!";
  const auto maxCount = ReferenceInteger(arguments[2]);
  if (!maxCount || *maxCount > 99998) return "Max-Anzahl Logdateien ungueltig\n\n";
  if (!ReferenceInteger(arguments[3])) return "Max-Loggroesse ungueltig\n\n";
  const std::string_view minFree = arguments[4];
  if (!minFree.empty() && minFree.back() == '%') {
    if (!ReferenceInteger(minFree.substr(0, minFree.size() - 1))) return "Restgroesse in Prozent ungueltig\n\n";
  } else if (!ReferenceInteger(minFree)) {
    return "Restgroesse in MB ungueltig\n\n";
  }
  return {};
}

void CheckSettings(const pelkwardt::ArgumentList& arguments, const pelkwardt::RunSettings& settings) {
  using pelkwardt_fuzz::ReferenceInteger;
  using pelkwardt_fuzz::Require;
  Require(settings.LogFileName == arguments[1], "the log name byte for byte");
  Require(settings.MaxRotatedFiles == *ReferenceInteger(arguments[2]), "Max-Anzahl");
  Require(settings.MaxLogSizeMB == *ReferenceInteger(arguments[3]), "Max-Groesse");
  const std::string_view minFree = arguments[4];
  const bool percent = !minFree.empty() && minFree.back() == '%';
  Require(settings.FreeSpaceInPercent == percent, "the unit of Min-Restgroesse");
  if (percent) {
    Require(settings.MinFreePercent == *ReferenceInteger(minFree.substr(0, minFree.size() - 1)), "percent");
    Require(settings.MinFreeMB == 0, "megabytes untouched in percent mode");
  } else {
    Require(settings.MinFreeMB == *ReferenceInteger(minFree), "megabytes, widened with the sign");
    Require(settings.MinFreePercent == 0, "percent untouched in megabyte mode");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pelkwardt_fuzz::Require;
  static const std::string banner = Printed(pelkwardt::PrintBanner);
  static const std::string usage = Printed(pelkwardt::PrintUsage);

  const pelkwardt::ArgumentList arguments = SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
  pelkwardt::FakePlatform platform;
  pelkwardt::RunSettings settings;
  const int status = pelkwardt::ParseArguments(arguments, settings, platform);

  Require(platform.calls.empty(), "no system call while checking arguments");
  const std::string_view message = ExpectedMessage(arguments);
  if (message.empty()) {
    Require(status == 0, "status 0 for valid arguments");
    Require(platform.output.empty(), "nothing printed for valid arguments");
    CheckSettings(arguments, settings);
  } else {
    Require(status == 99, "status 99 for rejected arguments");
    Require(platform.output == banner + std::string(message) + usage, "banner, the first error's message, usage");
  }
  return 0;
}
