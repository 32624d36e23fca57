#pragma once

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

}  // namespace dlslab
