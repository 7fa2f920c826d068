// RotatedFileName for any name and any slot from 0 to 99999: the log's name less its last four bytes,
// "_", the slot in five digits, then those four bytes; a name shorter than four bytes gives "_" and the
// digits alone. A SlotName that has formed other slots' names gives the same name again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "log_rotation.h"

namespace {

constexpr std::size_t SlotBytes = 3;

std::int32_t SlotFrom(const std::uint8_t* data, std::size_t size) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < SlotBytes && i < size; ++i) bits |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(bits % 100000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pelkwardt_fuzz::Require;
  const std::int32_t slot = SlotFrom(data, size);
  const std::size_t skipped = size < SlotBytes ? size : SlotBytes;
  const std::string_view log(reinterpret_cast<const char*>(data) + skipped, size - skipped);

  const std::string name = pelkwardt::RotatedFileName(log, slot);
  const std::size_t length = log.size();
  const std::size_t head = length > 4 ? length - 4 : 0;
  const std::size_t tail = length >= 4 ? 4 : 0;

  Require(name.size() == (length >= 4 ? length + 6 : 6), "length L+6 from four bytes on, else 6");
  Require(std::string_view(name).substr(0, head) == log.substr(0, head), "the head: all but the last four bytes");
  Require(name[head] == '_', "an underscore after the head");
  std::int32_t digits = 0;
  for (std::size_t i = head + 1; i < head + 6; ++i) {
    Require(name[i] >= '0' && name[i] <= '9', "five decimal digits");
    digits = digits * 10 + (name[i] - '0');
  }
  Require(digits == slot, "the digits read back as the slot");
  Require(std::string_view(name).substr(head + 6) == log.substr(length - tail), "the tail: the last four bytes");

  pelkwardt::SlotName names(log);
  names.For((slot + 1) % 100000);
  names.For(99999 - slot);
  Require(names.For(slot) == name, "a reused SlotName gives the same name");
  return 0;
}
