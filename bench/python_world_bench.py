"""How long a world takes to reach Python's hands, against the build itself.

For each map size: Recommend (seed 1) and a headless build (seed 1) through the Python
package, then ``Builder.world()`` (the terrain rows, the cities and the masses), then the
two numpy arrays, each timed. Medians of the repetitions, wall-clock time.

    python3 bench/python_world_bench.py [--sizes 1000,4096] [--repetitions 3]

The package and library are found as the package finds them (LORVEX_LIBRARY, or build/lib
of this tree).
"""

import argparse
import pathlib
import statistics
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "python"))

import lorvex  # noqa: E402


def timed(work):
    start = time.perf_counter()
    result = work()
    return time.perf_counter() - start, result


def measure(side, repetitions):
    builds, reads, arrays = [], [], []
    for _ in range(repetitions):
        with lorvex.Builder() as builder:
            builder.set_seed(1)
            builder.recommend(side, side)
            seconds, built = timed(lambda: builder.build_headless(side, side, wrap=True, seed=1, yes=True))
            assert built, "the world was not built"
            builds.append(seconds)
            seconds, world = timed(builder.world)
            reads.append(seconds)
            try:
                seconds, _ = timed(lambda: (world.terrain_array(), world.mass_array()))
                arrays.append(seconds)
            except lorvex.LorvexError:  # no numpy
                pass
    build, read = statistics.median(builds), statistics.median(reads)
    line = (f"{side} x {side}: build {build * 1e3:.0f} ms, then world() {read * 1e3:.1f} ms: "
            f"in Python's hands at {(build + read) / build:.3f} x the build")
    if arrays:
        line += f"; the two numpy arrays {statistics.median(arrays) * 1e3:.1f} ms more"
    print(line, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sizes", default="1000,4096")
    parser.add_argument("--repetitions", type=int, default=3)
    options = parser.parse_args()
    for side in (int(s) for s in options.sizes.split(",")):
        measure(side, options.repetitions)


if __name__ == "__main__":
    main()
