#!/usr/bin/env python3
"""scripts/check_names on a small tree: it reports the one own PascalCase function, with its
file and line, and fails; constructors, destructors, macros, TEST bodies, calls and the
system's routines pass."""
import pathlib
import subprocess
import sys

here = pathlib.Path(__file__).resolve().parent
script = here.parent.parent / "scripts" / "check_names"
run = subprocess.run([sys.executable, str(script), str(here / "names_tree")],
                     capture_output=True, text=True)
expected = ("src/board.h:13: CountClues: our own functions are snake_case "
            '(CONTRIBUTING.md "Names")\n'
            "names: 1 fault(s)\n")
if run.returncode != 1 or run.stdout != expected:
    print(f"exit {run.returncode}, output:\n{run.stdout}{run.stderr}")
    print(f"expected exit 1 and:\n{expected}")
    sys.exit(1)
