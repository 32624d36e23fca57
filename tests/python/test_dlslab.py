"""The Python module against dlslab-cli on the same squares, and its own contracts: strings and
arrays alike, errors as Python exceptions, bulk results in input order, Ctrl-C."""
import _thread
import os
import subprocess
import threading
import time

import numpy as np
import pytest

dlslab = pytest.importorskip("dlslab")

CLI = os.environ.get("DLSLAB_CLI", "")
needs_cli = pytest.mark.skipif(not os.path.exists(CLI), reason="DLSLAB_CLI not set")


def cli(*args, stdin=None):
    return subprocess.run(
        [CLI, *args], input=stdin, capture_output=True, text=True, check=True
    ).stdout


def cli_batch(operation, squares, *options):
    """The TSV rows of `dlslab-cli batch` over digit strings, header dropped."""
    text = "".join(s + "\n" for s in squares)
    lines = cli("batch", *options, operation, "-", stdin=text).splitlines()
    return [line.split("\t") for line in lines[1:]]


@pytest.fixture(scope="module")
def squares():
    """The special squares, a few random DLS and a partial square, as digit strings."""
    specials = [dlslab.special(name).digits for name in dlslab.special_names()]
    randoms = [dlslab.random_dls(seed).digits for seed in (1, 2, 3)]
    partial = "0123456789" + "-" * 90
    return specials + randoms + [partial]


# ---- the same results as the CLI ----


@needs_cli
def test_random_dls_is_the_square_generate_writes():
    assert cli("generate", "3", "--seed", "41").split() == [
        dlslab.random_dls(seed).digits for seed in (41, 42, 43)
    ]
    stack = dlslab.generate(41, 3, threads=2)
    assert [s.digits for s in stack] == [dlslab.random_dls(s).digits for s in (41, 42, 43)]


@needs_cli
def test_mates_types_and_transversals_match_cli(squares):
    complete = squares[:-1]
    for row, digits in zip(cli_batch("odls", complete), complete):
        mates = dlslab.mates(digits)
        assert len(mates) == int(row[2])
        assert " ".join(m.digits for m in mates) == row[3]
    for row, digits in zip(cli_batch("type", complete), complete):
        assert dlslab.odls_type(digits) == row[2]
    for row, digits in zip(cli_batch("transversals", complete), complete):
        assert len(dlslab.transversals(digits, diagonal=False)) == int(row[2])
        assert len(dlslab.transversals(digits)) == int(row[3])
    fish = dlslab.special("Fish")
    assert dlslab.odls_type(fish) == "FISH (N)"
    assert len(dlslab.mates(fish)) == 1


@needs_cli
def test_canonical_forms_and_properties_match_cli(squares):
    for operation, single, bulk in (
        ("cf", dlslab.canonical_form, dlslab.canonical_forms),
        ("scf", dlslab.strong_canonical_form, dlslab.strong_canonical_forms),
    ):
        forms = [single(s).digits for s in squares]
        first_met = list(dict.fromkeys(forms))
        rows = cli_batch(operation, squares, "--format", "tsv")
        assert [row[1] for row in rows] == first_met
        assert [f.digits for f in bulk(squares)] == forms
    for row, digits in zip(cli_batch("properties", squares), squares):
        status, properties = dlslab.properties(digits)
        assert status == row[2]
        if status:
            assert status.split()[-4] == f"HSI={properties['HSI']}"
            assert properties["CF"] == (" CF " in status)


@needs_cli
def test_dealt_game_matches_cli_and_has_one_filling():
    out = cli("--seed", "12345", "New game", "As solid string")
    clues, solution = dlslab.deal_game(12345)
    assert out.splitlines()[-1] == "DLS: " + clues.digits
    assert dlslab.fillings_count(clues) == 1
    assert [row[2] for row in cli_batch("fillings", [clues.digits])] == ["1"]
    assert dlslab.is_diagonal_latin(solution)
    assert np.array_equal(solution[clues >= 0], clues[clues >= 0])


def test_fillings_count_stops_at_the_limit():
    partial = "0123456789" + "-" * 90
    assert dlslab.fillings_count(partial, limit=5) == 5


# ---- strings and arrays ----


def test_strings_and_arrays_give_the_same_results(squares):
    for digits in squares[:3] + squares[-2:]:
        array = np.array([[-1 if c == "-" else int(c) for c in digits[r * 10 : r * 10 + 10]]
                          for r in range(10)], dtype=np.int64)
        as_list = array.tolist()
        for f in (dlslab.canonical_form, dlslab.strong_canonical_form, dlslab.transpose):
            assert np.array_equal(f(digits), f(array))
            assert np.array_equal(f(digits), f(as_list))
        assert dlslab.properties(digits) == dlslab.properties(array.astype(np.uint8) if
                                                              (array >= 0).all() else array)
        assert dlslab.digits(array) == digits
    spaced = " ".join(squares[0])
    assert dlslab.canonical_form(spaced).digits == dlslab.canonical_form(squares[0]).digits


def test_results_are_int8_squares_that_print_as_grids():
    fish = dlslab.special("Fish")
    assert isinstance(fish, dlslab.Square) and fish.dtype == np.int8 and fish.shape == (10, 10)
    assert repr(fish).splitlines()[1] == "0 1 2 3 4 5 6 7 8 9"
    partial = dlslab.square("0" + "-" * 99)
    assert str(partial).splitlines()[0] == "0 - - - - - - - - -"
    html = fish._repr_html_()
    assert html.count("<td") == 100 and "background:" in html
    stack = dlslab.canonical_forms([fish, fish])
    assert isinstance(stack[1], dlslab.Square) and stack[1].digits == stack[0].digits
    assert dlslab.transversals(fish).shape == (130, 10)


# ---- transformations, against numpy ----


def test_transformations_move_cells_as_numpy_does():
    s = np.asarray(dlslab.random_dls(5))
    assert np.array_equal(dlslab.transpose(s), s.T)
    assert np.array_equal(dlslab.rotate_right(s), np.rot90(s, -1))
    assert np.array_equal(dlslab.rotate_left(s), np.rot90(s, 1))
    assert np.array_equal(dlslab.rotate_double(s), np.rot90(s, 2))
    assert np.array_equal(dlslab.flip_vertical(s), s[::-1])
    assert np.array_equal(dlslab.flip_horizontal(s), s[:, ::-1])
    assert np.array_equal(dlslab.antitranspose(s), s[::-1, ::-1].T)
    assert np.array_equal(dlslab.thorus_movement(s, "down"), np.roll(s, 1, axis=0))
    assert np.array_equal(dlslab.swap_rows(s, 2, 7), s[[0, 1, 7, 3, 4, 5, 6, 2, 8, 9]])
    inverse = dlslab.string_inverse(s)
    assert all(inverse[i, s[i, j]] == j for i in range(10) for j in range(10))
    assert dlslab.normalize_by_main_diagonal(s).diagonal().tolist() == list(range(10))
    assert dlslab.is_diagonal_latin(dlslab.flip_pair(s, 3))
    # Other orders than 10 are the engines' too.
    five = dlslab.transpose(np.arange(25).reshape(5, 5) % 5)
    assert five.shape == (5, 5) and dlslab.is_latin(dlslab.square(np.add.outer(
        np.arange(5), np.arange(5)) % 5))


# ---- errors ----


def test_malformed_squares_raise_value_error():
    for bad in ("0123", "x" * 100, np.zeros((3, 4), int), np.full((10, 10), 10),
                np.zeros((10, 10)), 7, np.zeros((31, 31), int)):
        with pytest.raises(ValueError):
            dlslab.canonical_form(bad)
    with pytest.raises(ValueError, match="Not implemented for N<>10"):
        dlslab.mates(np.zeros((5, 5), int))
    with pytest.raises(ValueError, match="Square is incorrect"):
        dlslab.mates("0123456789" + "-" * 90)
    with pytest.raises(ValueError, match="Square is incorrect"):
        dlslab.odls_type(np.zeros((10, 10), int))
    with pytest.raises(ValueError, match="Square 1"):
        dlslab.canonical_forms(["0" * 100, "bad"])
    with pytest.raises(ValueError):
        dlslab.canonical_forms(dlslab.special("Fish"))  # one square, not a stack
    with pytest.raises(ValueError):
        dlslab.swap_rows(dlslab.special("Fish"), 0, 10)
    with pytest.raises(ValueError):
        dlslab.special("No such square")
    with pytest.raises(ValueError):
        dlslab.mates_counts([dlslab.special("Fish")], threads=0)


def test_file_errors_raise_os_error_and_bad_contents_value_error(tmp_path):
    missing = str(tmp_path / "missing.txt")
    with pytest.raises(FileNotFoundError, match="missing.txt"):
        dlslab.read_collection(missing)
    with pytest.raises(OSError, match="Cannot open"):
        dlslab.read_square(missing)
    junk = tmp_path / "junk.txt"
    junk.write_text("DLS\n10\n1 2 x\n")
    with pytest.raises(ValueError, match="Cannot load"):
        dlslab.read_square(str(junk))
    junk.write_text("0 1 2\nnot a square\n")
    with pytest.raises(ValueError, match="Wrong file format"):
        dlslab.read_collection(str(junk))
    with pytest.raises(OSError):
        dlslab.write_collection(str(tmp_path / "no" / "dir.txt"), [dlslab.special("Fish")])


# ---- files ----


@needs_cli
def test_files_round_trip_and_load_in_the_cli(tmp_path):
    fish, loop = dlslab.special("Fish"), dlslab.special("Loop-4")
    name = str(tmp_path / "pair.txt")
    dlslab.write_square(name, fish, mate=dlslab.mates(fish)[0])
    first, second = dlslab.read_square(name)
    assert first.digits == fish.digits and second.digits == dlslab.mates(fish)[0].digits
    dlslab.write_square(name, loop)
    assert dlslab.read_square(name).digits == loop.digits
    collection = tmp_path / "squares.txt"  # a path object does as well as a string
    dlslab.write_collection(collection, [fish, loop, fish])
    assert [s.digits for s in dlslab.read_collection(collection)] == [fish.digits, loop.digits,
                                                                     fish.digits]
    assert len(dlslab.read_collection(collection, unique=True)) == 2
    rows = cli("batch", "type", collection).splitlines()[1:]
    assert [r.split("\t")[2] for r in rows] == ["FISH (N)", "LOOP4 (E)", "FISH (N)"]


# ---- bulk calls ----


def test_bulk_calls_keep_input_order_for_any_thread_count():
    stack = np.concatenate([dlslab.generate(100, 40),
                            np.stack([dlslab.special(n) for n in ("Fish", "Loop-4", "1:3")])])
    stack = stack[np.random.default_rng(3).permutation(len(stack))]
    forms = [dlslab.canonical_form(s).digits for s in stack]
    mates = [len(dlslab.mates(s)) for s in stack]
    diagonal = [len(dlslab.transversals(s)) for s in stack]
    for threads in (1, 2, 3, 8, None):
        assert [f.digits for f in dlslab.canonical_forms(stack, threads=threads)] == forms
        assert dlslab.mates_counts(stack, threads=threads).tolist() == mates
        assert dlslab.transversals_counts(stack, threads=threads).tolist() == diagonal
    assert dlslab.mates_counts(["0" * 100]).tolist() == [-1]
    assert dlslab.canonical_forms(np.zeros((0, 10, 10), np.int8)).shape == (0, 10, 10)
    # Any integer dtype and any iterable of squares.
    assert dlslab.mates_counts(stack.astype(np.int32)).tolist() == mates
    assert dlslab.mates_counts(dlslab.digits(s) for s in stack).tolist() == mates


def test_ctrl_c_stops_a_long_bulk_call():
    many = np.repeat(dlslab.special("1:6")[None], 200000, axis=0)
    timer = threading.Timer(0.3, _thread.interrupt_main)
    start = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        dlslab.mates_counts(many, threads=1)
    assert time.monotonic() - start < 5
    timer.join()
    # A single call that would run for days stops too.
    timer = threading.Timer(0.3, _thread.interrupt_main)
    start = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        dlslab.fillings_count("0123456789" + "-" * 90)
    assert time.monotonic() - start < 5
    timer.join()


@needs_cli
def test_search_finds_the_catalogue_hits_as_the_cli_does(tmp_path):
    names = dlslab.special_names()
    specials = [dlslab.special(n) for n in names]
    catalogue = tmp_path / "catalogue.txt"
    catalogue.write_text("".join(s.digits + "\n" for s in specials))
    found = dlslab.search(files=[catalogue], threads=2)
    assert found["checked"] == 20 and found["seeds"] is None
    hits = [s for s in specials if s.digits != dlslab.special("Bachelor").digits]
    assert [s.digits for s in found["squares"]] == [s.digits for s in hits]
    assert found["mates_counts"].tolist() == dlslab.mates_counts(hits).tolist()
    assert [f.digits for f in found["canonical_forms"]] == [
        f.digits for f in dlslab.canonical_forms(hits)]
    assert [[m.digits for m in ms] for ms in found["mates"]] == [
        [m.digits for m in dlslab.mates(s)] for s in hits]
    lines = cli("search", "--input", str(catalogue)).splitlines()
    assert [line.split("\t")[0] for line in lines[2:-1]] == found["places"]
    # Random squares: every seed checked, no hit.
    random = dlslab.search("rsv3", 1000, 300)
    assert random["checked"] == 300 and len(random["seeds"]) == 0
    with pytest.raises(ValueError):
        dlslab.search("no such generator", 0, 10)
