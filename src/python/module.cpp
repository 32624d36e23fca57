// The compiled part of the Python package dlslab: every function forwards to the engines, the
// batch worker pool or the command layer; nothing here computes a result of its own. Squares
// arrive as digit strings or integer arrays (python/square_args.h) and leave as int8 arrays
// viewed as dlslab.Square. Calls that can run long release the GIL and stop at Ctrl-C
// (python/interruptible.h).
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <ios>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "analysis/odls_type.h"
#include "analysis/status_text.h"
#include "batch/operations.h"
#include "batch/search.h"
#include "batch/square_generator.h"
#include "canon/canonical_forms.h"
#include "cmd/context.h"
#include "cmd/crossword_commands.h"
#include "collection/squares_collection.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "fill/fillings.h"
#include "fill/random_search_v3.h"
#include "model/diagnostics.h"
#include "model/error.h"
#include "model/isa_path.h"
#include "model/latin_square_class.h"
#include "model/ls_data_structs.h"
#include "model/parse_number.h"
#include "model/progress.h"
#include "model/square_catalogue.h"
#include "python/interruptible.h"
#include "python/square_args.h"
#include "transform/square_properties.h"
#include "transform/transformations.h"

namespace dlslab::python {
namespace {

constexpr int kCells = kOrder * kOrder;

// The engines of single calls, one set per Python thread, each made on first use.
struct LocalEngines {
  template <class T, class... Args>
  static T& get(std::unique_ptr<T>& engine, Args... args) {
    if (!engine) engine = std::make_unique<T>(args...);
    return *engine;
  }
  batch::OperationEngine& cf() { return get(cf_, batch::Operation::kCf); }
  batch::OperationEngine& scf() { return get(scf_, batch::Operation::kScf); }
  CanonEngine& canon() { return get(canon_); }
  OdlsSearch& odls() { return get(odls_); }
  TransversalSearch& transversals() { return get(transversals_); }

 private:
  std::unique_ptr<batch::OperationEngine> cf_;
  std::unique_ptr<batch::OperationEngine> scf_;
  std::unique_ptr<CanonEngine> canon_;
  std::unique_ptr<OdlsSearch> odls_;
  std::unique_ptr<TransversalSearch> transversals_;
};

LocalEngines& engines() {
  thread_local LocalEngines engines;
  return engines;
}

unsigned threads_arg(std::optional<int> threads) {
  if (!threads) return 0;
  if (*threads < 1) throw py::value_error("threads must be at least 1");
  return static_cast<unsigned>(*threads);
}

void require_correct(const TLatinSquare& square) {
  if (!is_correct_square(square)) throw py::value_error(kIncorrect);
}

py::array_t<std::int64_t> counts_array(const std::vector<std::int64_t>& counts) {
  py::array_t<std::int64_t> array(static_cast<py::ssize_t>(counts.size()));
  std::copy(counts.begin(), counts.end(), array.mutable_data());
  return array;
}

// ---- bulk calls ----

py::object bulk_forms(py::handle squares, std::optional<int> threads, batch::Operation operation) {
  const std::vector<batch::Digits> input = squares_arg(squares);
  std::vector<batch::Digits> forms(input.size());
  run_interruptibly(input.size(), threads_arg(threads), kBulkBlock, [&] {
    auto engine = std::make_shared<batch::OperationEngine>(operation);
    return [&, engine](std::size_t begin, std::size_t end) {
      const Progress& progress = current_progress();
      for (std::size_t i = begin; i < end; ++i) {
        progress.poll();
        forms[i] = engine->form(input[i]);
      }
    };
  });
  return squares_result(forms);
}

py::array_t<std::int64_t> mates_counts(py::handle squares, std::optional<int> threads) {
  const std::vector<batch::Digits> input = squares_arg(squares);
  std::vector<std::int64_t> counts(input.size());
  run_interruptibly(input.size(), threads_arg(threads), kBulkBlock, [&] {
    auto search = std::make_shared<OdlsSearch>();
    return [&, search](std::size_t begin, std::size_t end) {
      const Progress& progress = current_progress();
      for (std::size_t i = begin; i < end; ++i) {
        progress.poll();
        const TLatinSquare square = batch::digits_to_square(input[i]);
        if (!is_correct_square(square)) {
          counts[i] = -1;
          continue;
        }
        counts[i] = search->GetOdls(square).Count();
      }
    };
  });
  return counts_array(counts);
}

py::array_t<std::int64_t> transversals_counts(py::handle squares, bool diagonal,
                                             std::optional<int> threads) {
  const std::vector<batch::Digits> input = squares_arg(squares);
  std::vector<std::int64_t> counts(input.size());
  struct Scratch {
    TransversalSearch search;
    TTransversalStarts starts{};
    TTransversalCounts counts{};
    TTransversalsTable table;
  };
  run_interruptibly(input.size(), threads_arg(threads), kBulkBlock, [&] {
    auto scratch = std::make_shared<Scratch>();
    return [&, scratch](std::size_t begin, std::size_t end) {
      const Progress& progress = current_progress();
      for (std::size_t i = begin; i < end; ++i) {
        progress.poll();
        const TLatinSquare square = batch::digits_to_square(input[i]);
        if (!is_complete_latin(square)) {
          counts[i] = -1;
          continue;
        }
        Scratch& s = *scratch;
        s.search.GetTransversalsFast(square, diagonal, s.starts, s.counts, s.table);
        counts[i] = s.starts[kOrder];
      }
    };
  });
  return counts_array(counts);
}

py::object generate(std::uint64_t first, std::size_t count, const std::string& name,
                    std::optional<int> threads) {
  const batch::GeneratorInfo* generator = batch::find_square_generator(name);
  if (generator == nullptr) {
    std::string names;
    for (const batch::GeneratorInfo& g : batch::square_generators())
      names += (names.empty() ? "" : ", ") + std::string(g.name);
    throw py::value_error("No generator is named \"" + name + "\"; the generators are " + names);
  }
  if (first > generator->seed_count || count > generator->seed_count - first)
    throw py::value_error("The seeds of " + name + " are 0 to " +
                          std::to_string(generator->seed_count - 1));
  std::vector<batch::Digits> squares(count);
  run_interruptibly(count, threads_arg(threads), kBulkBlock, [&] {
    std::shared_ptr<batch::SquareGenerator> engine = generator->make();
    return [&, engine](std::size_t begin, std::size_t end) {
      const Progress& progress = current_progress();
      TLatinSquare square(kOrder);
      for (std::size_t i = begin; i < end; ++i) {
        progress.poll();
        engine->square(first + i, square);
        squares[i] = to_digits(square);
      }
    };
  });
  return squares_result(squares);
}

// The hits of the ODLS search over a generator's seeds (or over files), as arrays.
py::dict search(const std::string& generator, std::uint64_t first, std::uint64_t count,
                std::optional<std::vector<std::filesystem::path>> files,
                std::optional<int> threads) {
  batch::SearchUnit unit;
  if (files) {
    for (const std::filesystem::path& file : *files) unit.inputs.push_back(file.string());
  } else {
    const batch::GeneratorInfo* info = batch::find_square_generator(generator);
    if (info == nullptr) throw py::value_error("No generator is named \"" + generator + "\"");
    if (first > info->seed_count || count > info->seed_count - first)
      throw py::value_error("The seeds of " + generator + " are 0 to " +
                            std::to_string(info->seed_count - 1));
    unit.generator = generator;
    unit.first = first;
    unit.count = count;
  }
  std::vector<batch::SearchHit> hits;
  batch::SearchSummary summary;
  run_interruptibly([&] {
    batch::SearchOptions options;
    options.threads = threads_arg(threads);
    options.progress = &current_progress();  // a cancel of this worker stops the search
    options.on_hit = [&hits](const batch::SearchHit& hit) { hits.push_back(hit); };
    std::ostringstream lines;  // the same hits as text: not needed here
    batch::Reporter reporter(std::cerr, batch::Reporter::ProgressMode::kNone);
    const std::atomic<bool> stop{false};
    summary = batch::run_search(unit, options, lines, reporter, stop);
  });
  if (summary.end == batch::SearchSummary::End::kFailed) {
    PyErr_SetString(PyExc_OSError, summary.error.c_str());
    throw py::error_already_set();
  }
  // A hit's line: place, square, mate count, canonical form, the mates separated by blanks.
  std::vector<batch::Digits> squares;
  std::vector<batch::Digits> forms;
  std::vector<std::int64_t> counts;
  std::vector<std::int64_t> seeds;
  py::list places;
  py::list mates;
  const auto digits_of = [](std::string_view text) {
    batch::Digits d{};
    std::copy_n(text.data(), std::min(text.size(), d.size()), d.begin());
    return d;
  };
  for (const batch::SearchHit& hit : hits) {
    std::vector<std::string_view> fields;
    std::string_view rest = hit.line;
    while (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
    for (std::size_t tab; (tab = rest.find('\t')) != std::string_view::npos;
         rest.remove_prefix(tab + 1))
      fields.push_back(rest.substr(0, tab));
    fields.push_back(rest);
    if (fields.size() < 5) throw std::logic_error("search hit line without its fields");
    std::uint64_t seed = 0;
    std::int64_t count = 0;
    if ((!files && !read_number(hit.place, seed)) || !read_number(fields[2], count))
      throw std::logic_error("search hit line with an unreadable number");
    places.append(py::str(hit.place));
    if (!files) seeds.push_back(static_cast<std::int64_t>(seed));
    squares.push_back(digits_of(fields[1]));
    counts.push_back(count);
    forms.push_back(digits_of(fields[3]));
    std::vector<batch::Digits> hit_mates;
    for (std::size_t i = 0; i + kCells <= fields[4].size(); i += kCells + 1)
      hit_mates.push_back(digits_of(fields[4].substr(i, kCells)));
    mates.append(squares_result(hit_mates));
  }
  py::dict result;
  result["checked"] = summary.checked;
  result["places"] = places;
  result["seeds"] = files ? py::object(py::none()) : py::object(counts_array(seeds));
  result["squares"] = squares_result(squares);
  result["mates_counts"] = counts_array(counts);
  result["canonical_forms"] = squares_result(forms);
  result["mates"] = mates;
  return result;
}

// ---- single squares ----

py::object transversals(py::handle value, bool diagonal) {
  const TLatinSquare square = square10_arg(value);
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  {
    const py::gil_scoped_release release;
    engines().transversals().GetTransversalsFast(square, diagonal, starts, counts, table);
  }
  py::array_t<std::int8_t> array({static_cast<py::ssize_t>(table.Count()), py::ssize_t{kOrder}});
  std::int8_t* out = array.mutable_data();
  for (int t = 0; t < table.Count(); ++t)
    for (int r = 0; r < kOrder; ++r) *out++ = static_cast<std::int8_t>(table.Items[t][r]);
  return array;
}

py::object mates(py::handle value) {
  const TLatinSquare square = square10_arg(value);
  require_correct(square);
  std::vector<batch::Digits> mates;
  {
    const py::gil_scoped_release release;
    for (const TLatinSquare& mate : engines().odls().GetOdls(square).Squares)
      mates.push_back(to_digits(mate));
  }
  return squares_result(mates);
}

std::string odls_type(py::handle value) {
  const TLatinSquare square = square10_arg(value);
  require_correct(square);
  std::uint8_t code = kUnknownOdlsType;
  run_interruptibly([&] {
    OdlsTypeEngine engine;
    code = engine.GetOdlsType(square);
  });
  return std::string(SpecialTypeNames[code & 0x7F]);
}

py::object form(py::handle value, bool strong) {
  const TLatinSquare square = square10_arg(value);
  const batch::Digits digits = to_digits(square);
  batch::Digits form;
  {
    const py::gil_scoped_release release;
    form = (strong ? engines().scf() : engines().cf()).form(digits);
  }
  return digits_result(form);
}

py::tuple properties(py::handle value) {
  const TLatinSquare square = square_arg(value);
  py::dict properties;
  if (!is_correct_square(square)) return py::make_tuple(py::str(""), properties);
  CanonEngine& canon = engines().canon();
  std::string text;
  std::vector<std::string_view> labels;
  {
    const py::gil_scoped_release release;
    text = get_status_text(square, canon);
    labels = get_property_labels(square, canon);
  }
  for (const char* label :
       {"HORZ_SYMM", "VERT_SYMM", "CLW_SYMM", "CPT_SYMM", "STR_INV", "COL_INV", "TRANS_SELF_ORT",
        "ANTI_TRANS_SELF_ORT", "RIGHT_ROT_SELF_ORT", "LEFT_ROT_SELF_ORT", "FLIP_HORZ_SELF_ORT",
        "FLIP_VERT_SELF_ORT", "PANDIAG", "ASSOC", "CF"})
    properties[label] = std::find(labels.begin(), labels.end(), label) != labels.end();
  properties["HSI"] = GetHorzSymmetryIndex(square);
  properties["VSI"] = GetVertSymmetryIndex(square);
  properties["CSI"] = GetCentralSymmetryIndex(square);
  properties["number"] = GetSquareNumber(square);
  properties["intercalates"] = GetIntercalatesCount(square);
  properties["brown"] = IsBrownSquare(square);
  return py::make_tuple(py::str(text), properties);
}

std::uint64_t fillings_count(py::handle value, std::optional<std::uint64_t> limit) {
  const TLatinSquare square = square10_arg(value);
  std::uint64_t count = 0;
  run_interruptibly([&] { count = count_fillings_up_to(square, limit ? *limit : UINT64_MAX); });
  return count;
}

py::tuple deal_game(std::uint32_t number) {
  TLatinSquare clues;
  TLatinSquare solution;
  run_interruptibly([&] {
    cmd::Context ctx;
    ctx.new_game_from_clock = false;
    cmd::PlayGameNumberMenuItemClick(ctx, number);
    clues = ctx.puzzle;
    // The clues leave one filling: the square the game was cut from.
    solution = GetFirstFilling(clues);
  });
  return py::make_tuple(square_result(clues), square_result(solution));
}

py::object special(const std::string& name) {
  std::string wanted;
  for (const char ch : name)
    wanted += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  std::string names;
  for (const SpecialSquare& special : kSpecialSquares) {
    std::string caption;
    for (const char ch : special.caption)
      caption += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (caption == wanted) return square_result(StringToSquare(special.digits));
    names += (names.empty() ? "" : ", ") + std::string(special.caption);
  }
  throw py::value_error("No special square is named \"" + name + "\"; the names are " + names);
}

// ---- transformations ----

using TwoSquareMap = void (*)(TLatinSquare&, const TLatinSquare&);

py::object mapped(py::handle value, TwoSquareMap map) {
  const TLatinSquare square = square_arg(value);
  TLatinSquare result(square.order());  // cells no source cell reaches stay empty
  map(result, square);
  return square_result(result);
}

int index(int value, int limit, const char* what) {
  if (value < 0 || value >= limit)
    throw py::value_error(std::string(what) + " " + std::to_string(value) + " is outside 0.." +
                          std::to_string(limit - 1));
  return value;
}

// ---- files ----

[[noreturn]] void raise_os_error(int code, const std::string& what) {
  // OSError(errno, text) picks the subclass (FileNotFoundError, PermissionError, ...).
  const py::object error = code != 0 ? py::reinterpret_borrow<py::object>(PyExc_OSError)(code, what)
                                     : py::reinterpret_borrow<py::object>(PyExc_OSError)(what);
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

// File faults as Python sees them: OSError for what the system refuses, ValueError for
// contents the readers refuse. The messages are the library's.
template <class F>
auto with_file_errors(F&& f) {
  try {
    return f();
  } catch (const std::ios_base::failure& e) {
    const int code = e.code().category() == std::generic_category() ? e.code().value() : 0;
    raise_os_error(code, e.what());
  } catch (const Error& e) {
    const int code = errno;  // the failed open's, when that is what happened
    const std::string what = e.what();
    if (what.rfind("Cannot load", 0) == 0 || what.find("Wrong file format") != std::string::npos)
      throw py::value_error(what);
    raise_os_error(what.rfind("Cannot open", 0) == 0 ? code : 0, what);
  }
}

py::object read_square(const std::filesystem::path& path) {
  const std::string file_name = path.string();
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  with_file_errors([&] {
    model.LoadFromFile(file_name);
    return 0;
  });
  if (model.ViewMode == 1)
    return py::make_tuple(square_result(model.FirstSquare), square_result(model.SecondSquare));
  return square_result(model.FirstSquare);
}

void write_square(const std::filesystem::path& path, py::handle value, py::handle mate) {
  const std::string file_name = path.string();
  TLatinSquareClass model;
  const TLatinSquare square = square_arg(value);
  model.SetOrder(square.order());
  model.FirstSquare = square;
  if (!mate.is_none()) {
    const TLatinSquare second = square_arg(mate);
    if (second.order() != square.order())
      throw py::value_error("The two squares of a pair are of one order");
    model.SecondSquare = second;
    model.ViewMode = 1;
  }
  with_file_errors([&] {
    model.SaveToFile(file_name);
    return 0;
  });
}

py::object read_collection(const std::filesystem::path& path, bool unique, bool normalize) {
  const std::string file_name = path.string();
  TSquaresCollection collection;
  with_file_errors([&] {
    run_interruptibly([&] { collection.LoadFromFile_VelmoraFormat(file_name, unique, normalize); });
    return 0;
  });
  std::vector<batch::Digits> squares(static_cast<std::size_t>(collection.Count()));
  for (int i = 0; i < collection.Count(); ++i) {
    const std::string_view item = collection.Items(i);
    for (int c = 0; c < kCells; ++c)
      squares[i][c] = c < static_cast<int>(item.size()) ? item[c] : '-';
  }
  return squares_result(squares);
}

void write_collection(const std::filesystem::path& path, py::handle squares) {
  const std::string file_name = path.string();
  const std::vector<batch::Digits> input = squares_arg(squares);
  TSquaresCollection collection;
  for (const batch::Digits& digits : input)
    collection.AddSquareString(std::string_view(digits.data(), digits.size()), false, false);
  with_file_errors([&] {
    collection.SaveToFile(file_name);
    return 0;
  });
}

}  // namespace
}  // namespace dlslab::python

PYBIND11_MODULE(_core, m) {
  namespace py = pybind11;
  using namespace dlslab;
  using namespace dlslab::python;

  // The engines' progress and self-check lines go where the CLI puts them, away from results.
  set_diag_stream(&std::cerr);
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const Cancelled&) {
      PyErr_SetNone(PyExc_KeyboardInterrupt);
    } catch (const std::ios_base::failure& e) {
      PyErr_SetString(PyExc_OSError, e.what());
    } catch (const Error& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
  });

  m.doc() = "The compiled engines of dlslab; import dlslab instead.";
  const auto square = py::arg("square");
  const auto squares = py::arg("squares");
  const auto threads = py::arg("threads") = py::none();

  m.def("_set_square_type", &set_square_type, "Sets the class results are viewed as.");

  // Predicates and makers.
  m.def(
      "is_latin", [](py::handle v) { return is_complete_latin(square_arg(v)); }, square,
      "True when every cell holds a value 0..n-1 and no row or column holds one twice.");
  m.def(
      "is_diagonal_latin",
      [](py::handle v, bool complete) {
        const TLatinSquare s = square_arg(v);
        return IsDiagonalLatin(s) && (!complete || is_complete_latin(s));
      },
      square, py::arg("complete") = true,
      "True when no value repeats in a row, a column or either main diagonal; with "
      "complete=True (the default) every cell must also be filled.");
  m.def(
      "square", [](py::handle v) { return square_result(square_arg(v)); }, square,
      "The square a digit string or an integer array stands for, checked, as a Square.");
  m.def(
      "digits", [](py::handle v) { return SquareToString(square_arg(v), false); }, square,
      "The square as a digit string, row by row, '-' for an empty cell.");
  m.def(
      "random_dls",
      [](std::uint32_t seed) {
        TLatinSquare s;
        {
          const py::gil_scoped_release release;
          s = random_search_v3_square(seed);
        }
        return square_result(s);
      },
      py::arg("seed"),
      "The DLS of order 10 that \"Random search v3\" fills after the generator is seeded with "
      "seed (the square `dlslab-cli generate` writes for that seed).");
  m.def("generate", &generate, py::arg("first"), py::arg("count"), py::arg("generator") = "rsv3",
        threads,
        "The squares of seeds first .. first+count-1 of a search generator as a (count, 10, 10) "
        "array, made on every core (threads=None) or the given number of threads; \"rsv3\" "
        "gives random_dls(seed), as `dlslab-cli generate` writes them.");
  m.def("search", &search, py::arg("generator") = "rsv3", py::arg("first") = 0,
        py::arg("count") = 0, py::kw_only(), py::arg("files") = py::none(), threads,
        "The ODLS search of `dlslab-cli search`: squares first .. first+count-1 of the generator "
        "(or, with files=[...], every square of those files) checked for diagonal mates on "
        "every core, every hit canonized. Returns a dict: checked (squares checked), places "
        "(seeds or file:line, as text), seeds (int64 array; None for files), squares and "
        "canonical_forms ((k, 10, 10) arrays), mates_counts (int64 array) and mates (a list of "
        "(c, 10, 10) arrays), the hits in seed (input) order.");
  m.def(
      "generators",
      [] {
        std::vector<std::pair<std::string, std::string>> names;
        for (const batch::GeneratorInfo& g : batch::square_generators())
          names.emplace_back(g.name, g.description);
        return names;
      },
      "The search generators as (name, description) pairs, the default first.");
  m.def("special", &special, py::arg("name"),
        "The special square of that menu caption (\"Fish\", \"Loop-4\", \"1:6\", \"XO=74\", ...; "
        "case ignored).");
  m.def(
      "special_names",
      [] {
        std::vector<std::string> names;
        for (const SpecialSquare& s : kSpecialSquares) names.emplace_back(s.caption);
        return names;
      },
      "The captions of the special squares, in menu order.");
  m.def("deal_game", &deal_game, py::arg("number"),
        "The crossword game of that number as \"Play game number...\" deals it: (clues, "
        "solution), the clues with -1 in every cell the player fills.");

  // One square through the engines.
  m.def("transversals", &transversals, square, py::arg("diagonal") = true,
        "The transversals of an order-10 square as an (n, 10) array, row r of a transversal "
        "being the column of its cell in row r, in lexicographic order; with diagonal=True "
        "(the default) only those with one cell on each main diagonal.");
  m.def("mates", &mates, square,
        "The orthogonal diagonal mates of a complete order-10 DLS as an (m, 10, 10) array, each "
        "normalized (first row 0..9), as \"Get ODLS\" lists them.");
  m.def("odls_type", &odls_type, square,
        "The ODLS family type name of a complete order-10 DLS, as \"Get ODLS type\" logs it "
        "(\"FISH (N)\").");
  m.def(
      "canonical_form", [](py::handle v) { return form(v, false); }, square,
      "The canonical form of an order-10 square, as \"Get canonical form (CF)\" leaves it (a "
      "square with an empty cell gets its strong canonical form).");
  m.def(
      "strong_canonical_form", [](py::handle v) { return form(v, true); }, square,
      "The strong canonical form of an order-10 square (\"Get strong canonical form (SCF)\").");
  m.def(
      "is_canonical_form",
      [](py::handle v) {
        const TLatinSquare s = square10_arg(v);
        const py::gil_scoped_release release;
        return engines().canon().IsCanonicalForm(s);
      },
      square, "True when a complete order-10 square is its own canonical form.");
  m.def("properties", &properties, square,
        "(status, properties): the status-line text of a complete order-10 DLS and a dict of "
        "each property label (True/False), the indices HSI, VSI, CSI, the square number, the "
        "intercalates count and the Brown-square test; ('', {}) for any other square.");
  m.def("fillings_count", &fillings_count, py::arg("partial"), py::arg("limit") = py::none(),
        "The number of fillings of a partial order-10 square to a DLS, counting no further "
        "than limit when one is given.");

  // Bulk calls.
  m.def(
      "canonical_forms",
      [](py::handle s, std::optional<int> t) { return bulk_forms(s, t, batch::Operation::kCf); },
      squares, threads,
      "canonical_form of each square of an (m, 10, 10) array or an iterable, on every core "
      "(threads=None) or the given number of threads, as an (m, 10, 10) array in input order.");
  m.def(
      "strong_canonical_forms",
      [](py::handle s, std::optional<int> t) { return bulk_forms(s, t, batch::Operation::kScf); },
      squares, threads, "strong_canonical_form of each square, as canonical_forms works.");
  m.def("mates_counts", &mates_counts, squares, threads,
        "The number of orthogonal diagonal mates of each square (-1 for a square that is not a "
        "complete DLS), as an int64 array in input order, on every core or the given threads.");
  m.def("transversals_counts", &transversals_counts, squares, py::arg("diagonal") = true, threads,
        "The number of transversals (with diagonal=True, diagonal ones) of each square (-1 for "
        "one that is not a complete Latin square), as an int64 array in input order.");

  // Transformations: a new square of the same order each time.
  struct Map {
    const char* name;
    TwoSquareMap map;
    const char* doc;
  };
  static constexpr Map kMaps[] = {
      {"transpose", Transpose, "Reflection in the main diagonal: D[i][j] = S[j][i]."},
      {"antitranspose", Antitranspose,
       "Reflection in the anti-diagonal: D[i][j] = S[n-1-j][n-1-i]."},
      {"rotate_right", RotateRight, "90 degrees clockwise: D[j][n-1-i] = S[i][j]."},
      {"rotate_left", RotateLeft, "90 degrees anticlockwise: D[n-1-j][i] = S[i][j]."},
      {"rotate_double", RotateDouble, "180 degrees: D[n-1-i][n-1-j] = S[i][j]."},
      {"flip_vertical", FlipVertical, "Row order reversed: D[n-1-i][j] = S[i][j]."},
      {"flip_horizontal", FlipHorizontal, "Column order reversed: D[i][n-1-j] = S[i][j]."},
      {"string_inverse", GetStringInverseSquare,
       "Each row replaced by its inverse permutation: D[i][S[i][j]] = j."},
      {"column_inverse", GetColumnInverseSquare,
       "Each column replaced by its inverse permutation: D[S[i][j]][j] = i."},
  };
  for (const Map& map : kMaps)
    m.def(
        map.name, [f = map.map](py::handle v) { return mapped(v, f); }, square, map.doc);
  m.def(
      "thorus_movement",
      [](py::handle v, const std::string& direction) {
        static const char* const kDirections[] = {"left", "right", "up", "down"};
        for (int d = 0; d < 4; ++d)
          if (direction == kDirections[d]) {
            const TLatinSquare s = square_arg(v);
            TLatinSquare result(s.order());
            ThorusMovement(result, s, d);
            return square_result(result);
          }
        throw py::value_error("The direction is \"left\", \"right\", \"up\" or \"down\", not \"" +
                              direction + "\"");
      },
      square, py::arg("direction"),
      "Every row (left, right) or column (up, down) shifted one place, wrapping round.");
  m.def(
      "parastrophe1", [](py::handle v) { return square_result(GetParastrof1(square_arg(v))); },
      square, "The parastrophe (i, j, a) -> (i, a, j).");
  m.def(
      "parastrophe2", [](py::handle v) { return square_result(GetParastrof2(square_arg(v))); },
      square, "The parastrophe (i, j, a) -> (j, a, i).");
  m.def(
      "normalize_by_first_row",
      [](py::handle v) {
        TLatinSquare s = square_arg(v);
        NormalizeByFirstRow(s);
        return square_result(s);
      },
      square, "The square relabelled so that its first row reads 0..n-1.");
  m.def(
      "normalize_by_main_diagonal",
      [](py::handle v) {
        TLatinSquare s = square_arg(v);
        NormalizeByMainDiagonal(s);
        return square_result(s);
      },
      square, "The square relabelled so that its main diagonal reads 0..n-1.");
  m.def(
      "swap_rows",
      [](py::handle v, int a, int b) {
        TLatinSquare s = square_arg(v);
        SwapRows(s, index(a, s.order(), "Row"), index(b, s.order(), "Row"));
        return square_result(s);
      },
      square, py::arg("a"), py::arg("b"), "Rows a and b exchanged.");
  m.def(
      "swap_columns",
      [](py::handle v, int a, int b) {
        TLatinSquare s = square_arg(v);
        SwapColumns(s, index(a, s.order(), "Column"), index(b, s.order(), "Column"));
        return square_result(s);
      },
      square, py::arg("a"), py::arg("b"), "Columns a and b exchanged.");
  m.def(
      "flip_pair",
      [](py::handle v, int k) {
        TLatinSquare s = square_arg(v);
        FlipPair(s, index(k, s.order() / 2, "Pair"));
        return square_result(s);
      },
      square, py::arg("k"),
      "Rows k and n-1-k exchanged, then columns k and n-1-k: both diagonals keep their cells.");
  m.def(
      "swap_pairs",
      [](py::handle v, int a, int b) {
        TLatinSquare s = square_arg(v);
        SwapPairs(s, index(a, s.order() / 2, "Pair"), index(b, s.order() / 2, "Pair"));
        return square_result(s);
      },
      square, py::arg("a"), py::arg("b"),
      "Rows a, b and n-1-a, n-1-b exchanged, then the same columns: both diagonals keep their "
      "cells.");

  // Files.
  m.def("read_square", &read_square, py::arg("file_name"),
        "The square of a square file (header \"DLS\"), or the pair (first, second) of an "
        "\"ODLS\" file. OSError when it cannot be read, ValueError when it is not a square file.");
  m.def("write_square", &write_square, py::arg("file_name"), square, py::arg("mate") = py::none(),
        "Writes a square file (\"DLS\"), or with a mate a pair file (\"ODLS\"), as \"Save to "
        "file...\" does; the file is replaced whole or not at all.");
  m.def("read_collection", &read_collection, py::arg("file_name"), py::arg("unique") = false,
        py::arg("normalize") = false,
        "The squares of a collection file as an (m, 10, 10) array, in file order; unique=True "
        "keeps each square once, normalize=True relabels each by its first row first.");
  m.def("write_collection", &write_collection, py::arg("file_name"), squares,
        "Writes the squares as a collection file (\"-\" when there are none).");

  m.def(
      "isa_path", [] { return std::string(isa_path_name(default_isa_path())); },
      "The instruction-set path the engines run (\"scalar\", \"avx2\", \"avx512\", ...).");
}
