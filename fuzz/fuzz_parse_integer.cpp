// ParseInteger against the reference grammar: a text is accepted exactly when the reference accepts it,
// and then with the same value.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "arguments.h"
#include "fuzz_check.h"
#include "integer_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pelkwardt_fuzz::Require;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = pelkwardt::ParseInteger(text);
  const auto expected = pelkwardt_fuzz::ReferenceInteger(text);
  Require(parsed.has_value() == expected.has_value(), "accepted exactly when the grammar accepts");
  if (parsed) Require(*parsed == *expected, "the value of an accepted text");
  return 0;
}
