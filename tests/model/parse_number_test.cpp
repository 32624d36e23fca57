#include "model/parse_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dlslab {
namespace {

TEST(ParseNumber, TakesTheWholeTextOrNothing) {
  EXPECT_EQ(parse_number<int>("42"), 42);
  EXPECT_EQ(parse_number<int>("-5"), -5);
  EXPECT_EQ(parse_number<std::uint32_t>("4294967295"), 4294967295u);
  for (const char* bad : {"", " 1", "1 ", "1x", "x", "+1", "0x10", "1.5"})
    EXPECT_FALSE(parse_number<int>(bad).has_value()) << '"' << bad << '"';
}

TEST(ParseNumber, RefusesWhatDoesNotFit) {
  EXPECT_FALSE(parse_number<std::uint32_t>("4294967296").has_value());
  EXPECT_FALSE(parse_number<std::uint32_t>("-1").has_value());
  EXPECT_FALSE(parse_number<std::int8_t>("128").has_value());
  EXPECT_EQ(parse_number<std::uint64_t>("18446744073709551615"), UINT64_MAX);
}

TEST(ReadNumber, SetsTheValueOnlyForANumber) {
  std::uint64_t value = 7;
  EXPECT_TRUE(read_number("123", value));
  EXPECT_EQ(value, 123u);
  for (const char* bad : {"", "12abc", "-1", "18446744073709551616"}) {
    EXPECT_FALSE(read_number(bad, value)) << '"' << bad << '"';
    EXPECT_EQ(value, 123u) << '"' << bad << '"';
  }
}

TEST(PrintfExponent, ReadsWhatPrintfWrites) {
  char text[64];
  for (const double x : {1.5e300, 2.0e20, 3.0, 4.5e-7, 1e-300}) {
    std::snprintf(text, sizeof text, "%.14E", x);
    const int exponent = printf_exponent(std::strchr(text, 'E') + 1);
    EXPECT_EQ(exponent, static_cast<int>(std::floor(std::log10(x)))) << text;
  }
}

}  // namespace
}  // namespace dlslab
