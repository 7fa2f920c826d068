#pragma once

#include <cstdio>
#include <cstdlib>

namespace pelkwardt_fuzz {

// Ends the run on a broken property; libFuzzer records the abort as a crash and saves the input.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "broken property: %s\n", property);
  std::abort();
}

}  // namespace pelkwardt_fuzz
