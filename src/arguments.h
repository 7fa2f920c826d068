#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"
#include "run_settings.h"

namespace pelkwardt {

/// The value of a whole number as the command line writes it: leading blanks, then decimal with an
/// optional sign, or hexadecimal after "$", "x", "X", "0x" or "0X", reaching to the end of the text and
/// fitting 32 bits; nothing for any other text.
std::optional<std::int32_t> ParseInteger(std::string_view text);

/// Validates the four arguments into settings. Returns ExitOk, or ExitBadArguments after printing the
/// banner, the first error's message and the usage text.
int ParseArguments(const ArgumentList& arguments, RunSettings& settings, Platform& platform);

}  // namespace pelkwardt
