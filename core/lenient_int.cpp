// lenient_int.cpp - integer text conversions: decimal, hexadecimal prefixes and the 'h' suffix.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/lenient_conversions.h"

namespace sipo {
namespace {

std::string_view UntilNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One or more hex digits of at most 32 significant bits, taken as two's complement.
std::optional<std::int32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view body) {
  bool negative = false;
  if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  if (body.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : body) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParsePrefixedHex(std::string_view body) {
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (body.substr(0, prefix.size()) == prefix) return ParseHexDigits(body.substr(prefix.size()));
  }
  return std::nullopt;
}

std::optional<std::int32_t> ParseInteger(std::string_view text, bool suffixForm) {
  text = text.substr(0, kConversionWindow);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // The suffix is judged on the last character of the whole text, even past a NUL.
  const bool hasSuffix = text.back() == 'h' || text.back() == 'H';
  if (hasSuffix && !suffixForm) return std::nullopt;
  if (hasSuffix) {
    if (text.size() == 1) return std::nullopt;
    return ParseHexDigits(UntilNul(text.substr(0, text.size() - 1)));
  }
  const std::string_view body = UntilNul(text);
  if (auto decimal = ParseDecimal(body)) return decimal;
  return ParsePrefixedHex(body);
}

}  // namespace

std::int32_t StrToIntLenient(std::string_view text) {
  return ParseInteger(text, true).value_or(0);
}

std::int32_t StrToIntNoSuffix(std::string_view text) {
  return ParseInteger(text, false).value_or(0);
}

std::string_view TrimControl(std::string_view text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
  while (!text.empty() && isControl(text.front())) text.remove_prefix(1);
  return text;
}

std::string IntToStrPlain(std::int32_t value) {
  return std::to_string(value);
}

}  // namespace sipo
