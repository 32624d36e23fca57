#include "python/square_args.h"

#include <algorithm>

#include "model/ls_data_structs.h"

namespace dlslab::python {
namespace {

constexpr int kCells = kOrder * kOrder;

// Left to leak on purpose: its destructor would run after the interpreter is gone.
py::object* square_type = new py::object();

[[noreturn]] void fault(const std::string& what) { throw py::value_error(what); }

std::string cell_name(int r, int c) {
  return "(" + std::to_string(r) + ", " + std::to_string(c) + ")";
}

// A digit string with its blanks removed: '0'..'9' a value, '-' an empty cell.
batch::Digits digits_of_string(const std::string& text) {
  batch::Digits digits{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') continue;
    if (!(ch >= '0' && ch <= '9') && ch != '-')
      fault("A square string holds digits and '-' for an empty cell; character " +
            std::to_string(i + 1) + " is '" + std::string(1, ch) + "'");
    if (n < digits.size()) digits[n] = ch;
    ++n;
  }
  if (n != digits.size()) fault("A square string holds 100 cells, this one " + std::to_string(n));
  return digits;
}

template <class T>
void read_cells(const py::array& array, int n, int* cells, std::size_t first = 0) {
  const T* data = static_cast<const T*>(array.data()) + first;
  for (int i = 0; i < n * n; ++i) {
    const long long v = static_cast<long long>(data[i]);
    if (v < -1 || v >= n)
      fault("The value " + std::to_string(v) + " in cell " + cell_name(i / n, i % n) +
            " is outside -1.." + std::to_string(n - 1));
    cells[i] = static_cast<int>(v);
  }
}

// Calls f.template operator()<T>() with T the C type of the integer array's elements.
template <class F>
void dispatch_integers(const py::array& array, F&& f) {
  const char kind = array.dtype().kind();
  const auto size = array.dtype().itemsize();
  if (kind == 'i' && size == 1) return f.template operator()<std::int8_t>();
  if (kind == 'i' && size == 2) return f.template operator()<std::int16_t>();
  if (kind == 'i' && size == 4) return f.template operator()<std::int32_t>();
  if (kind == 'i' && size == 8) return f.template operator()<std::int64_t>();
  if (kind == 'u' && size == 1) return f.template operator()<std::uint8_t>();
  if (kind == 'u' && size == 2) return f.template operator()<std::uint16_t>();
  if (kind == 'u' && size == 4) return f.template operator()<std::uint32_t>();
  if (kind == 'u' && size == 8) return f.template operator()<std::uint64_t>();
  fault("A square holds integers, not " + std::string(py::str(array.dtype())));
}

// An integer array, contiguous, of the given number of dimensions.
py::array integer_array(py::handle value, int dims) {
  py::array array = py::array::ensure(value, py::array::c_style);
  if (!array) {
    PyErr_Clear();
    fault("A square is a digit string or an integer array, not " +
          std::string(py::str(py::type::of(value).attr("__name__"))));
  }
  if (array.ndim() == 0)
    fault("A square is a digit string or an integer array, not " +
          std::string(py::str(py::type::of(value).attr("__name__"))));
  if (array.ndim() != dims) {
    fault(dims == 2 ? "A square is a 2-dimensional array, this one has " +
                          std::to_string(array.ndim()) + " dimensions"
                    : "Squares are an (m, 10, 10) array or an iterable of squares");
  }
  return array;
}

TLatinSquare square_of_array(py::handle value) {
  const py::array array = integer_array(value, 2);
  const auto rows = array.shape(0);
  const auto columns = array.shape(1);
  if (rows != columns || rows < 1 || rows > kMaxOrder)
    fault("A square is an n x n array with n from 1 to " + std::to_string(kMaxOrder) + ", not " +
          std::to_string(rows) + " x " + std::to_string(columns));
  TLatinSquare square(static_cast<int>(rows));
  dispatch_integers(array, [&]<class T>() { read_cells<T>(array, square.order(), square.data()); });
  return square;
}

batch::Digits digits_of_square(const TLatinSquare& square) {
  if (square.order() != kOrder) fault(kOtherOrder);
  return to_digits(square);
}

}  // namespace

TLatinSquare square_arg(py::handle value) {
  if (py::isinstance<py::str>(value))
    return batch::digits_to_square(digits_of_string(value.cast<std::string>()));
  return square_of_array(value);
}

TLatinSquare square10_arg(py::handle value) {
  TLatinSquare square = square_arg(value);
  if (square.order() != kOrder) fault(kOtherOrder);
  return square;
}

std::vector<batch::Digits> squares_arg(py::handle value) {
  std::vector<batch::Digits> squares;
  if (py::isinstance<py::array>(value) && py::cast<py::array>(value).ndim() != 3)
    fault("Squares are an (m, 10, 10) array or an iterable of squares, not an array of " +
          std::to_string(py::cast<py::array>(value).ndim()) + " dimensions");
  if (py::isinstance<py::array>(value)) {
    // The fast route: one pass over the whole block, no Python object per square.
    const py::array array = integer_array(value, 3);
    if (array.shape(1) != kOrder || array.shape(2) != kOrder)
      fault("Squares are an (m, 10, 10) array, not (" + std::to_string(array.shape(0)) + ", " +
            std::to_string(array.shape(1)) + ", " + std::to_string(array.shape(2)) + ")");
    const auto m = static_cast<std::size_t>(array.shape(0));
    squares.resize(m);
    dispatch_integers(array, [&]<class T>() {
      std::array<int, kCells> cells{};
      for (std::size_t k = 0; k < m; ++k) {
        try {
          read_cells<T>(array, kOrder, cells.data(), k * kCells);
        } catch (const py::value_error& e) {
          fault("Square " + std::to_string(k) + ": " + e.what());
        }
        for (int i = 0; i < kCells; ++i)
          squares[k][i] = cells[i] < 0 ? '-' : static_cast<char>('0' + cells[i]);
      }
    });
    return squares;
  }
  if (py::isinstance<py::str>(value))
    fault("Squares are an (m, 10, 10) array or an iterable of squares, not one string");
  if (!py::isinstance<py::iterable>(value))
    fault("Squares are an (m, 10, 10) array or an iterable of squares");
  std::size_t k = 0;
  for (py::handle item : value) {
    try {
      squares.push_back(digits_of_square(square_arg(item)));
    } catch (const py::value_error& e) {
      fault("Square " + std::to_string(k) + ": " + e.what());
    }
    ++k;
  }
  return squares;
}

void set_square_type(py::object type) { *square_type = std::move(type); }

py::object as_square(py::array_t<std::int8_t> array) {
  if (!*square_type) return array;
  return array.attr("view")(*square_type);
}

py::object square_result(const TLatinSquare& square) {
  const int n = square.order();
  py::array_t<std::int8_t> array({n, n});
  std::int8_t* out = array.mutable_data();
  for (int i = 0; i < n * n; ++i)
    out[i] = static_cast<std::int8_t>(std::clamp(square.data()[i], -1, kMaxOrder));
  return as_square(std::move(array));
}

py::object digits_result(const batch::Digits& digits) {
  py::array_t<std::int8_t> array({py::ssize_t{kOrder}, py::ssize_t{kOrder}});
  std::int8_t* out = array.mutable_data();
  for (const char ch : digits)
    *out++ = ch >= '0' && ch <= '9' ? static_cast<std::int8_t>(ch - '0') : std::int8_t{-1};
  return as_square(std::move(array));
}

py::object squares_result(const std::vector<batch::Digits>& squares) {
  py::array_t<std::int8_t> array(
      {static_cast<py::ssize_t>(squares.size()), py::ssize_t{kOrder}, py::ssize_t{kOrder}});
  std::int8_t* out = array.mutable_data();
  for (const batch::Digits& digits : squares)
    for (const char ch : digits)
      *out++ = ch >= '0' && ch <= '9' ? static_cast<std::int8_t>(ch - '0') : std::int8_t{-1};
  return as_square(std::move(array));
}

batch::Digits to_digits(const TLatinSquare& square) {
  batch::Digits digits{};
  for (int i = 0; i < kCells; ++i) {
    const int v = square.data()[i];
    digits[i] = v < 0 || v > 9 ? '-' : static_cast<char>('0' + v);
  }
  return digits;
}

}  // namespace dlslab::python
