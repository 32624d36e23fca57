#!/usr/bin/env python3
"""How many diagonal transversals does a random DLS of order 10 have?

Draws COUNT random diagonal Latin squares ("Random search v3" with the seeds 1..COUNT), counts
the diagonal transversals and the orthogonal diagonal mates of each on every core, and plots the
distribution of the transversal counts with its mean, the random squares that have mates, and
for comparison the catalogue's special squares (which all have mates but one).

    PYTHONPATH=build/python /usr/bin/python3 examples/diagonal_transversals.py \
        [--count 100000] [--output docs/diagonal_transversals.png]
"""
import argparse
import time

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import dlslab  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--first-seed", type=int, default=1)
    parser.add_argument("--output", default="docs/diagonal_transversals.png")
    args = parser.parse_args()

    start = time.monotonic()
    squares = dlslab.generate(args.first_seed, args.count)
    made = time.monotonic()
    transversals = dlslab.transversals_counts(squares, diagonal=True)
    mates = dlslab.mates_counts(squares)
    done = time.monotonic()
    print(f"{args.count} squares made in {made - start:.1f} s, "
          f"transversals and mates counted in {done - made:.1f} s")

    mean = transversals.mean()
    with_mates = np.flatnonzero(mates > 0)
    print(f"diagonal transversals: mean {mean:.2f}, min {transversals.min()}, "
          f"max {transversals.max()}; squares with mates: {len(with_mates)}")
    for i in with_mates:
        print(f"  seed {args.first_seed + i}: {transversals[i]} diagonal transversals, "
              f"{mates[i]} mates")

    names = dlslab.special_names()
    special = dlslab.transversals_counts([dlslab.special(n) for n in names])

    values, frequencies = np.unique(transversals, return_counts=True)
    fig, ax = plt.subplots(figsize=(10, 5.5), dpi=110)
    ax.bar(values, frequencies, width=1.0, color="#5b8fd1", edgecolor="#3d6ca8",
           linewidth=0.3, label=f"{args.count:,} random DLS (Random search v3)")
    ax.axvline(mean, color="#d14b3b", linewidth=1.5, label=f"mean {mean:.1f}")
    top = frequencies.max()
    if len(with_mates):
        ax.plot(transversals[with_mates], np.full(len(with_mates), top * 1.04), "v",
                color="#d14b3b", markersize=8,
                label=f"random squares with mates ({len(with_mates)})")
    else:
        ax.plot([], [], "v", color="#d14b3b", label="random squares with mates (none found)")
    lo, hi = values.min() - 5, values.max() + 5
    shown = (special >= lo) & (special <= hi)
    ax.plot(special[shown], np.full(shown.sum(), top * 0.02), "|", color="#222222",
            markersize=14, markeredgewidth=1.5,
            label="the special squares (all with mates but Bachelor)")
    far = [f"{name}: {count}" for name, count in zip(names, special) if count > hi]
    if far:
        ax.text(0.99, 0.62, "special squares off the scale:\n" + "\n".join(far),
                transform=ax.transAxes, ha="right", va="top", fontsize=9,
                bbox=dict(boxstyle="round", facecolor="white", edgecolor="#999999"))
    ax.set_xlabel("diagonal transversals of the square")
    ax.set_ylabel("squares")
    ax.set_title("Diagonal transversals of random diagonal Latin squares of order 10")
    ax.set_xlim(lo, hi)
    ax.set_ylim(0, top * 1.12)
    ax.legend(loc="upper right", fontsize=9)
    fig.tight_layout()
    fig.savefig(args.output)
    print(f"{args.output} written")


if __name__ == "__main__":
    main()
