#pragma once

// Squares shared by the tests.
namespace dlslab::test {

/// A complete diagonal Latin square of order 10 with first row 0..9.
inline constexpr const char* kBachelor =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

}  // namespace dlslab::test
