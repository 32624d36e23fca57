#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>
#include <vector>

#include "batch/operations.h"
#include "model/types.h"

// How Python values become squares and squares become Python values. A square is given as a
// 100-character digit string ('-' for an empty cell) or as an n x n integer array (-1 for an
// empty cell); it comes back as an int8 array viewed as dlslab.Square.
namespace dlslab::python {

namespace py = pybind11;

/// Text of the refusal of an engine that works on order 10 only.
inline constexpr const char* kOtherOrder = "Not implemented for N<>10";
/// Text of the refusal of a command that needs a complete square.
inline constexpr const char* kIncorrect = "Square is incorrect";

/// The square `value` stands for, of any order 1..30; throws py::value_error naming the fault.
[[nodiscard]] TLatinSquare square_arg(py::handle value);
/// The same, refusing any order but 10 with kOtherOrder.
[[nodiscard]] TLatinSquare square10_arg(py::handle value);

/// The order-10 squares of an (m, 10, 10) integer array or of an iterable of squares, as
/// digit strings in input order; throws py::value_error naming the first faulty one.
[[nodiscard]] std::vector<batch::Digits> squares_arg(py::handle value);

/// The class results are viewed as (dlslab.Square); plain arrays until the package sets it.
void set_square_type(py::object type);

/// A fresh array of the square's cells, viewed as dlslab.Square.
[[nodiscard]] py::object square_result(const TLatinSquare& square);
/// A fresh 10 x 10 array of a digit string ('-' empty), viewed as dlslab.Square.
[[nodiscard]] py::object digits_result(const batch::Digits& digits);
/// An (m, 10, 10) int8 array of digit strings ('-' empty), viewed as dlslab.Square.
[[nodiscard]] py::object squares_result(const std::vector<batch::Digits>& squares);
/// Wraps an int8 array of squares (2 or 3 dimensions) in dlslab.Square.
[[nodiscard]] py::object as_square(py::array_t<std::int8_t> array);

/// An order-10 square's digit string; cells outside 0..9 are '-'.
[[nodiscard]] batch::Digits to_digits(const TLatinSquare& square);

}  // namespace dlslab::python
