#pragma once

#include <cassert>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace dlslab {

/// The whole of text as a decimal number of type T, or nothing when text is empty, holds
/// anything else (a sign for an unsigned T, a space, a trailing character) or the number does
/// not fit.
template <class T>
[[nodiscard]] std::optional<T> parse_number(std::string_view text) {
  T value{};
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

/// The whole of text as a number into value, as parse_number reads it; false, value untouched,
/// when it is none.
template <class T>
bool read_number(std::string_view text, T& value) {
  const std::optional<T> number = parse_number<T>(text);
  if (number) value = *number;
  return number.has_value();
}

/// The exponent printf writes after the e of %e or %E: a sign and at least two digits.
[[nodiscard]] inline int printf_exponent(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  const std::optional<int> exponent = parse_number<int>(text);
  assert(exponent.has_value());
  return exponent.value_or(0);
}

}  // namespace dlslab
