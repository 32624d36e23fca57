#include "model/parse_number.h"

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
}  // namespace dlslab
