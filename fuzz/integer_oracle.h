#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace pelkwardt_fuzz {

// The grammar of the tool's whole numbers, written apart from the tool's parser so that the two can be
// compared: leading blanks (0x20 only), then either decimal with at most one sign and at least one digit,
// in the int32 range, or hexadecimal after "$", "x", "X", "0x" or "0X" with no sign, at least one digit
// and a value of at most FFFFFFFF read as two's complement; nothing after the digits. The range is
// judged on the digits without their leading zeros rather than by accumulating with overflow checks.

inline bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

inline bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline std::uint32_t HexDigit(char c) {
  if (IsDecimalDigit(c)) return static_cast<std::uint32_t>(c - '0');
  return static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);  // 0x20 makes a capital letter small
}

inline std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

inline std::optional<std::int32_t> ReferenceHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (!IsHexDigit(c)) return std::nullopt;
  }
  const std::string_view significant = WithoutLeadingZeros(digits);
  if (significant.size() > 8) return std::nullopt;
  std::uint32_t pattern = 0;
  for (char c : significant) {
    pattern = (pattern << 4) | HexDigit(c);
  }
  std::int32_t value = 0;
  std::memcpy(&value, &pattern, sizeof value);  // the same 32 bits as a two's-complement number
  return value;
}

inline std::optional<std::int32_t> ReferenceDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (!IsDecimalDigit(c)) return std::nullopt;
  }
  const std::string_view significant = WithoutLeadingZeros(digits);
  if (significant.size() > 10) return std::nullopt;
  std::uint64_t magnitude = 0;
  for (char c : significant) magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
  if (magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
  const auto value = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

inline std::optional<std::int32_t> ReferenceInteger(std::string_view text) {
  std::size_t blanks = 0;
  while (blanks < text.size() && text[blanks] == ' ') ++blanks;
  const std::string_view rest = text.substr(blanks);
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) return ReferenceHex(rest.substr(2));
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) return ReferenceHex(rest.substr(1));
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) return ReferenceDecimal(rest.substr(1), rest[0] == '-');
  return ReferenceDecimal(rest, false);
}

}  // namespace pelkwardt_fuzz
