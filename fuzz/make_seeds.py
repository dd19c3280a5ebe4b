#!/usr/bin/env python3
"""Writes the fuzzers' seed corpus (fuzz/corpus/<Command>/), one file per
call, in the byte layout gateway_fuzzer.cpp decodes: result-count code,
argument-count code, then per argument a class code, a mode code (0 plain,
1 complex, 2 sparse, 3 reported shape without storage), two size codes and,
for a plain double array, one value code per element."""
import os
import sys

SMALL = [0, 1, 2, 4, 8, 16, 32, 64, 128, 256, 1024, 4096]
WIDE = [0, 1, 2, 3, 4, 2**15, 2**16, 2**30, 2**31 - 1, 2**31, 2**31 + 2, 2**32 - 1,
        2**32, 2**32 + 4, 2**40, 2**62, 2**64 - 1]
SPECIAL = {"nan": 224, "inf": 226, "-inf": 227, "1e300": 234, "2^31-0.5": 237,
           "-2^31-1": 241, "0.5": 229, "2.49": 233}


def value(v):
    if isinstance(v, str):
        return SPECIAL[v]
    code = int(round(112 + 16 * v))
    assert 0 <= code < 224, v
    return code


def size(s):
    return SMALL.index(s) if s in SMALL else 192 + s


def plain(rows, cols, values=None, cls=0, mode=0):
    values = values if values is not None else [((3 * k) % 11) / 4 - 1 for k in range(rows * cols)]
    assert len(values) == rows * cols
    out = [cls, mode, size(rows), size(cols)]
    return out + ([value(v) for v in values] if cls == 0 else [])


def wide(rows, cols, cls=0):
    return [cls, 3, WIDE.index(rows), WIDE.index(cols)]


def call(*args, nlhs=0, nrhs=0):
    return bytes([nlhs, nrhs] + [b for a in args for b in a])


SINGLE = 18  # first class code after double: single

signal = {
    "worked_row": call(plain(1, 8, [3, 1, 4, 1, 5, 6, 2, 6]), plain(1, 4, [1, 2, 3, 4])),
    "column": call(plain(8, 1), plain(1, 2, [0.5, 0.5])),
    "matrix": call(plain(4, 4), plain(2, 2, [1, 2, 3, 4])),
    "scalar_long_filter": call(plain(1, 1, [3]), plain(8, 1)),
    "empty_filter": call(plain(1, 4), plain(0, 0)),
    "four_by_zero": call(plain(4, 0), plain(1, 2)),
    "single_signal": call(plain(1, 4, cls=SINGLE), plain(1, 2)),
    "complex_filter": call(plain(1, 4), plain(1, 2, mode=1)),
    "sparse_signal": call(plain(4, 1, mode=2), plain(1, 2)),
    "wide_signal": call(wide(2**31, 1), plain(1, 2)),
    "wide_columns": call(wide(4, 2**32 + 4), plain(1, 2)),
    "wide_filter": call(plain(1, 4), wide(2**16, 2**16)),
    "nonfinite_values": call(plain(1, 4, ["nan", "inf", "-inf", "1e300"]), plain(1, 3)),
    "no_result": call(plain(1, 4), plain(1, 2), nlhs=3),
    "three_arguments": call(plain(1, 4), plain(1, 2), plain(1, 1), nrhs=5),
}

grid = {
    "grid4": call(plain(4, 4), plain(1, 1, [0]), plain(1, 4, [0.5, 0.5, 0.25, -0.25])),
    "grid16_level1": call(plain(16, 16), plain(1, 1, [1]), plain(1, 2, [0.5, 0.5])),
    "grid8_negative": call(plain(8, 8), plain(1, 1, [-3]), plain(1, 8)),
    "long_filter": call(plain(2, 2), plain(1, 1, [0]), plain(1, 16)),
    "level_nan": call(plain(4, 4), plain(1, 1, ["nan"]), plain(1, 2)),
    "level_huge": call(plain(4, 4), plain(1, 1, ["1e300"]), plain(1, 2)),
    "level_edge": call(plain(4, 4), plain(1, 1, ["2^31-0.5"]), plain(1, 2)),
    "level_empty": call(plain(4, 4), plain(0, 0), plain(1, 2)),
    "level_single": call(plain(4, 4), plain(1, 1, cls=SINGLE), plain(1, 2)),
    "grid_complex": call(plain(4, 4, mode=1), plain(1, 1, [0]), plain(1, 2)),
    "grid_wide": call(wide(2**16, 2**16), plain(1, 1, [0]), plain(1, 2)),
    "grid_not_square": call(wide(2**32 + 4, 4), plain(1, 1, [0]), plain(1, 2)),
    "filter_wide": call(plain(4, 4), plain(1, 1, [0]), wide(2**31, 0)),
    "no_result": call(plain(4, 4), plain(1, 1, [0]), plain(1, 2), nlhs=3),
}

signals = {
    "row8": call(plain(1, 8), plain(1, 1, [0]), plain(1, 4, [0.5, 0.5, 0.25, -0.25])),
    "columns": call(plain(16, 3), plain(1, 1, [1]), plain(1, 2, [0.5, 0.5])),
    "no_columns": call(plain(4, 0), plain(1, 1, [0]), plain(1, 2)),
    "long_filter": call(plain(2, 2), plain(1, 1, [-3]), plain(1, 16)),
    "level_nan": call(plain(4, 1), plain(1, 1, ["nan"]), plain(1, 2)),
    "level_empty": call(plain(1, 4), plain(0, 0), plain(1, 2)),
    "signal_complex": call(plain(4, 2, mode=1), plain(1, 1, [0]), plain(1, 2)),
    "too_many": call(wide(2**30, 2), plain(1, 1, [0]), plain(1, 2)),
    "no_result": call(plain(8, 1), plain(1, 1, [0]), plain(1, 2), nlhs=3),
}


def main(root):
    for command, seeds in [("SinkCoarse", signal), ("SinkDetail", signal),
                           ("RaiseCoarse", signal), ("RaiseDetail", signal),
                           ("SiftGrid_WR", grid), ("MeldGrid_WR", grid),
                           ("SiftSignal_WR", signals), ("MeldSignal_WR", signals)]:
        folder = os.path.join(root, command)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus"))
