#pragma once

#include "platform/platform.h"

namespace pelkwardt {

/// Writes the boxed banner that names the maker, the product and the tool's job.
void PrintBanner(Platform& platform);

/// Writes the command format, an example and what each argument means.
void PrintUsage(Platform& platform);

}  // namespace pelkwardt
