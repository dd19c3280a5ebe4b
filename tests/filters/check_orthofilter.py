#!/usr/bin/python3
"""The tabulated filters of orthofilter.m against their claims:

    check_orthofilter.py ORTHOFILTER_M MEXCALL SINKCOARSE_MODULE

- each is PyWavelets' rec_lo for its name, within 1e-10 (the same filter,
  the same orientation);
- its sum is sqrt(2) within 1e-14 and it is orthonormal within 2e-14, both
  judged exactly on the doubles (in 60-digit arithmetic);
- SinkCoarse with it is PyWavelets' periodized approximation of the signal
  shifted circularly by m/2 - 1 samples (m taps).
"""
import os
import subprocess
import sys

import mpmath
import numpy
import pywt

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "octave", "filters"))
from make_orthofilter import NAMES, tabulated  # noqa: E402

mpmath.mp.dps = 60
failures = []


def fail(text):
    failures.append(text)


def check_numbers(name, h):
    want = pywt.Wavelet(name).rec_lo
    if len(h) != len(want):
        return fail("%s: %d taps, PyWavelets has %d" % (name, len(h), len(want)))
    far = max(abs(a - b) for a, b in zip(h, want))
    if far > 1e-10:
        fail("%s: %.3g from PyWavelets' rec_lo" % (name, far))
    exact = [mpmath.mpf(x) for x in h]
    off = abs(mpmath.fsum(exact) - mpmath.sqrt(2))
    if off > 1e-14:
        fail("%s: sum is sqrt(2) %s" % (name, mpmath.nstr(off, 3)))
    for j in range(len(h) // 2):
        dot = mpmath.fsum(exact[k] * exact[k + 2 * j] for k in range(len(h) - 2 * j))
        if abs(dot - (1 if j == 0 else 0)) > 2e-14:
            fail("%s: shift %d product %s" % (name, j, mpmath.nstr(dot, 3)))


def check_orientation(name, h, mexcall, module):
    x = numpy.random.default_rng(len(h)).standard_normal(256)
    want = pywt.dwt(x, name, mode="periodization")[0]
    shifted = numpy.roll(x, len(h) // 2 - 1)
    literal = lambda v: "[" + " ".join(repr(float(e)) for e in v) + "]"
    out = subprocess.run([mexcall, module, literal(shifted), literal(h)], capture_output=True,
                         text=True)
    if out.returncode != 0:
        return fail("%s: SinkCoarse fails: %s" % (name, out.stderr))
    got = numpy.array([float(w) for w in out.stdout.split()])
    if got.shape != want.shape or numpy.max(numpy.abs(got - want)) > 1e-10:
        fail("%s: SinkCoarse of the shifted signal is not PyWavelets' approximation" % name)


def main(path, mexcall, module):
    table = tabulated(path)
    if sorted(table) != sorted(NAMES):
        fail("names: %s" % sorted(set(table) ^ set(NAMES)))
    for name in NAMES:
        if name in table:
            check_numbers(name, table[name])
    for name in ("haar", "db2", "db7", "sym8", "coif3"):
        check_orientation(name, table[name], mexcall, module)
    for f in failures:
        print(f)
    print("%d filters checked, %d failures" % (len(table), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
