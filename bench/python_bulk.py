#!/usr/bin/env python3
"""The Python module's bulk calls against `dlslab-cli batch` on the same squares.

For 1 and 2 threads, rounds interleaved and the best of each kept: canonical_forms and
mates_counts over COUNT random DLS held in a numpy array, against `batch cf` / `batch odls` over
the same squares in a file (the CLI's own summary line gives its time). Then the cost of one
canonical_form(square) call beyond the engine's: the per-square time of a Python loop of single
calls minus that of the bulk call on one thread.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bulk.py [--cli build/src/dlslab-cli]
        [--count 100000] [--rounds 3]
"""
import argparse
import os
import re
import subprocess
import tempfile
import time

import numpy as np

import dlslab


def cli_seconds(cli, operation, threads, squares_file, output):
    """The run time `dlslab-cli batch` reports for itself."""
    done = subprocess.run(
        [cli, "batch", "--threads", str(threads), "--output", output, operation, squares_file],
        capture_output=True, text=True, check=True)
    return float(re.search(r"([0-9.]+) s, [0-9]+ squares/s", done.stderr).group(1))


def python_seconds(call, squares, threads):
    start = time.perf_counter()
    call(squares, threads=threads)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/src/dlslab-cli")
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--single-calls", type=int, default=20_000)
    args = parser.parse_args()

    squares = dlslab.generate(1, args.count)
    with tempfile.TemporaryDirectory() as tmp:
        squares_file = os.path.join(tmp, "squares.txt")
        with open(squares_file, "w") as f:
            f.write("".join(dlslab.digits(s) + "\n" for s in squares))
        output = os.path.join(tmp, "out.txt")
        print(f"{args.count} squares, engines on the {dlslab.isa_path()} path, "
              f"best of {args.rounds} rounds")
        print(f"{'operation':<14}{'threads':>8}{'python sq/s':>14}{'cli sq/s':>12}"
              f"{'python/cli':>12}{'vs 1 thread':>13}")
        for name, call, operation in (("canonical", dlslab.canonical_forms, "cf"),
                                      ("mates", dlslab.mates_counts, "odls")):
            one_thread_cli = None
            for threads in (1, 2):
                best_py = best_cli = float("inf")
                for _ in range(args.rounds):
                    best_py = min(best_py, python_seconds(call, squares, threads))
                    best_cli = min(best_cli, cli_seconds(args.cli, operation, threads,
                                                         squares_file, output))
                if threads == 1:
                    one_thread_cli = best_cli
                py_rate, cli_rate = args.count / best_py, args.count / best_cli
                print(f"{name:<14}{threads:>8}{py_rate:>14.0f}{cli_rate:>12.0f}"
                      f"{py_rate / cli_rate:>12.2f}"
                      f"{(args.count / best_py) / (args.count / one_thread_cli):>12.2f}x")

    # One call at a time, against the bulk call's time per square on one thread.
    few = squares[: args.single_calls]
    as_strings = [dlslab.digits(s) for s in few]
    as_arrays = [np.asarray(s) for s in few]
    best_bulk = best_arrays = best_strings = float("inf")
    for _ in range(args.rounds):
        best_bulk = min(best_bulk, python_seconds(dlslab.canonical_forms, few, 1))
        start = time.perf_counter()
        for s in as_arrays:
            dlslab.canonical_form(s)
        best_arrays = min(best_arrays, time.perf_counter() - start)
        start = time.perf_counter()
        for s in as_strings:
            dlslab.canonical_form(s)
        best_strings = min(best_strings, time.perf_counter() - start)
    n = len(few)
    engine_us = best_bulk / n * 1e6
    print(f"canonical_form one call at a time ({n} squares): engine (bulk, 1 thread) "
          f"{engine_us:.2f} us per square; a call costs {best_arrays / n * 1e6 - engine_us:.2f} "
          f"us more with an int8 array, {best_strings / n * 1e6 - engine_us:.2f} us with a "
          f"digit string")


if __name__ == "__main__":
    main()
