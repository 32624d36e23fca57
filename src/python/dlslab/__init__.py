"""dlslab: diagonal Latin squares from Python, on the engines of the dlslab workbench.

A square is given as a 100-character digit string ('-' for an empty cell) or as an n x n
integer array (-1 for an empty cell); every result is a numpy array. Squares come back as
int8 arrays of the class Square, a numpy ndarray that prints as its grid and shows as a
coloured grid in a notebook. Bulk calls (canonical_forms, mates_counts, ...) take an
(m, 10, 10) array or an iterable of squares, run on every core without the GIL, keep the
input order and stop at Ctrl-C.
"""
import html as _html

import numpy as _np

from . import _core
from ._core import *  # noqa: F401,F403  (the engines' functions)

# One pale colour per value, as the window colours its cells.
_COLOURS = (
    "#ffd8d8", "#ffe9c7", "#fff6b8", "#dff5c4", "#c9f0e1",
    "#cbe8fb", "#d8dcff", "#ead6fb", "#f9d3ec", "#e3e3e3",
)


class Square(_np.ndarray):
    """A square as a numpy array: cells [row, column], -1 for an empty cell.

    Results of dlslab are Square views of int8 arrays; they work everywhere an ndarray does.
    Square(x) makes one of any square dlslab accepts (a digit string or an integer array).
    A stack of squares (m, n, n) is a Square too: indexing it gives the squares.
    """

    def __new__(cls, square):
        return _core.square(square)

    def __repr__(self):
        if self.ndim != 2:
            return "Square(\n" + _np.ndarray.__repr__(self.view(_np.ndarray)) + ")"
        return "Square(\n" + self._grid() + ")"

    def __str__(self):
        if self.ndim != 2:
            return _np.ndarray.__str__(self.view(_np.ndarray))
        return self._grid()

    def _grid(self):
        cells = self.tolist()
        width = max(1, len(str(len(cells) - 1)))
        return "\n".join(
            " ".join("-".rjust(width) if v < 0 else str(v).rjust(width) for v in row)
            for row in cells
        )

    def _repr_html_(self):
        if self.ndim != 2:
            return None
        rows = []
        for row in self.tolist():
            cells = []
            for v in row:
                colour = "#ffffff" if v < 0 else _COLOURS[v % len(_COLOURS)]
                text = "&nbsp;" if v < 0 else _html.escape(str(v))
                cells.append(
                    f'<td style="background:{colour};width:1.6em;height:1.6em;'
                    f'text-align:center;border:1px solid #999;padding:0">{text}</td>'
                )
            rows.append("<tr>" + "".join(cells) + "</tr>")
        return (
            '<table style="border-collapse:collapse;font-family:monospace">'
            + "".join(rows)
            + "</table>"
        )

    @property
    def digits(self):
        """The square as a digit string, row by row, '-' for an empty cell."""
        return _core.digits(self)


_core._set_square_type(Square)

__all__ = [name for name in dir(_core) if not name.startswith("_")] + ["Square"]
