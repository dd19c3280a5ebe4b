#!/usr/bin/env python3
"""Runs the benchmark and prints the table of median times and ratios.

The C++ harness (wavelet_bench) times the vector path, the plain loops, a
literal scalar implementation, GSL, memcpy, the 2-D memory floor and the
command modules called through the stand-in host. This script adds
PyWavelets (same process run, right after) and, where Octave and the Octave
modules are present, the commands called from Octave. Every harness (C++,
PyWavelets, Octave) evicts the caches (an untimed read of a 128 MiB buffer)
before every timed call, so that each implementation starts from the same
cache state. Everything goes to OUT/results.json, and the table to
OUT/results.md and the terminal.

    python3 bench/run.py --bench build/bin/wavelet_bench --modules build --out build/bench
"""
import argparse
import json
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import warnings


def run_harness(args):
    cmd = [args.bench, "--rounds", str(args.rounds)]
    if args.quick:
        cmd.append("--quick")
    cmd.append(args.modules)
    print("running", " ".join(cmd), file=sys.stderr)
    out = subprocess.run(cmd, check=True, stdout=subprocess.PIPE, text=True).stdout
    return [json.loads(line) for line in out.splitlines() if line.startswith("{")]


def cases_of(records):
    seen = {}
    for r in records:
        if r["kind"] not in ("1d", "2d"):
            continue
        key = (r["kind"], r["dir"], r["n"], r["m"], r.get("L"))
        seen.setdefault(key, r)
    return list(seen.values())


EVICT_BYTES = 128 << 20
_evict_buffer = []


def evict_caches():
    """Reads a buffer larger than any last-level cache (untimed), as the C++
    harness does before each timed call, so that no call finds its data left
    in the caches by the one before; reading leaves only clean lines behind."""
    import numpy as np

    if not _evict_buffer:
        _evict_buffer.append(np.ones(EVICT_BYTES // 8))
    _evict_buffer[0].sum()


def median_interleaved(fns, rounds):
    times = [[] for _ in fns]
    for f in fns:
        f()
    for _ in range(rounds):
        for k, f in enumerate(fns):
            evict_caches()
            t0 = time.perf_counter()
            f()
            times[k].append((time.perf_counter() - t0) * 1e3)
    return [statistics.median(t) for t in times]


def run_pywt(cases, rounds):
    try:
        import numpy as np
        import pywt
    except ImportError:
        print("PyWavelets not found (install python3-pywt): skipped", file=sys.stderr)
        return []
    warnings.simplefilter("ignore")
    rng = np.random.default_rng(12345)
    # idwt builds the summed signal: its one timing serves the synthesis row
    # and the summed synthesis row of the same length and filter.
    summed = {(c["n"], c["m"]) for c in cases if c["kind"] == "1d" and c["dir"] == "synthesis_sum"}
    out = []
    for c in cases:
        if c["kind"] == "1d" and c["dir"] == "synthesis_sum":
            continue
        # The filter of the same length: Daubechies up to 20 taps, then the
        # coiflets (6 taps each).
        m = c["m"]
        wavelet = pywt.Wavelet("db%d" % (m // 2) if m <= 20 else "coif%d" % (m // 6))
        n = c["n"]
        if c["kind"] == "1d":
            x = rng.uniform(-1, 1, n)
            if c["dir"] == "analysis":
                fn = lambda: pywt.dwt(x, wavelet, mode="periodization")
            else:
                ca, cd = pywt.dwt(x, wavelet, mode="periodization")
                fn = lambda: pywt.idwt(ca, cd, wavelet, mode="periodization")
        else:
            x = rng.uniform(-1, 1, (n, n))
            levels = c["J"] - c["L"]
            if c["dir"] == "forward":
                fn = lambda: pywt.wavedec2(x, wavelet, mode="periodization", level=levels)
            else:
                coeffs = pywt.wavedec2(x, wavelet, mode="periodization", level=levels)
                fn = lambda: pywt.waverec2(coeffs, wavelet, mode="periodization")
        k = max(3, rounds - 2) if n * (n if c["kind"] == "2d" else 1) >= 1 << 24 else rounds
        (ms,) = median_interleaved([fn], k)
        rec = {key: c[key] for key in ("kind", "dir", "n", "m", "J") if key in c}
        if "L" in c:
            rec["L"] = c["L"]
        rec.update(impl="pywt", ms=round(ms, 4))
        recs = [rec]
        if c["kind"] == "1d" and c["dir"] == "synthesis" and (n, c["m"]) in summed:
            recs.append(dict(rec, dir="synthesis_sum"))
        for r in recs:
            out.append(r)
            print(json.dumps(r), file=sys.stderr)
    return out


OCTAVE_SCRIPT = r"""
addpath('%(dir)s');
cases = %(cases)s;
filters = %(filters)s;
rounds = %(rounds)d;
evict = ones(%(evict)d, 1);  %% read before each timed call, as in the other harnesses
for k = 1:rows(cases)
  n = cases(k, 1); m = cases(k, 2); L = cases(k, 3); fwd = cases(k, 4);
  h = filters{cases(k, 5)};
  x = rand(n) * 2 - 1;
  t = zeros(rounds, 1);
  if fwd, y = SiftGrid_WR(x, L, h); else, y = MeldGrid_WR(x, L, h); end
  for r = 1:rounds
    evict_sum = sum(evict);
    tic;
    if fwd, y = SiftGrid_WR(x, L, h); else, y = MeldGrid_WR(x, L, h); end
    t(r) = toc * 1e3;
  end
  printf('%%d %%d %%d %%d %%.4f\n', n, m, L, fwd, median(t));
end
"""


def run_octave(cases, filters, modules, rounds):
    octave = shutil.which("octave-cli")
    mexdir = os.path.join(modules, "octave")
    if not octave or not os.path.exists(os.path.join(mexdir, "SiftGrid_WR.oct")):
        print("Octave or the Octave modules not found: skipped", file=sys.stderr)
        return []
    grid = [c for c in cases if c["kind"] == "2d"]
    lengths = sorted({c["m"] for c in grid})
    rows = "; ".join(f"{c['n']} {c['m']} {c['L']} {1 if c['dir'] == 'forward' else 0} "
                     f"{lengths.index(c['m']) + 1}" for c in grid)
    cells = ", ".join("[" + " ".join(repr(x) for x in filters[m]) + "]" for m in lengths)
    script = OCTAVE_SCRIPT % {"dir": mexdir, "cases": f"[{rows}]", "filters": "{" + cells + "}",
                              "rounds": rounds, "evict": EVICT_BYTES // 8}
    with tempfile.NamedTemporaryFile("w", suffix=".m", delete=False) as f:
        f.write(script)
        path = f.name
    try:
        res = subprocess.run([octave, "--no-gui", "--quiet", "--norc", path], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, text=True, timeout=3600)
    finally:
        os.unlink(path)
    out = []
    for line in res.stdout.splitlines():
        parts = line.split()
        if len(parts) != 5:
            continue
        n, m, L, fwd = (int(p) for p in parts[:4])
        for c in grid:
            if (c["n"], c["m"], c["L"], c["dir"] == "forward") == (n, m, L, bool(fwd)):
                rec = {k: c[k] for k in ("kind", "dir", "n", "m", "J", "L")}
                rec.update(impl="octave_call", ms=float(parts[4]))
                out.append(rec)
    if res.returncode != 0:
        print(res.stderr, file=sys.stderr)
    return out


def fmt(x):
    if x is None:
        return "-"
    return f"{x:.3f}" if x < 1 else f"{x:.2f}" if x < 100 else f"{x:.0f}"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def table(records):
    by = {}
    rate = None
    for r in records:
        if r["kind"] == "rate":
            rate = r
        if r["kind"] not in ("1d", "2d"):
            continue
        key = (r["kind"], r["dir"], r["n"], r["m"], r.get("L"))
        by.setdefault(key, {})[r["impl"]] = r["ms"]
    lines = []
    head = ("| case | fast ms | plain | literal | GSL | PyWavelets | memcpy | floor | bound "
            "| stand-in call | Octave call | literal/fast | GSL/fast | PyWavelets/fast "
            "| fast/memcpy | fast/floor | fast/limit |")
    lines.append(head)
    lines.append("|" + "---|" * (head.count("|") - 1))
    for key in sorted(by, key=lambda k: (k[0], k[2], k[3], k[1], -(k[4] or 0))):
        kind, d, n, m, L = key
        t = by[key]
        if kind == "1d":
            what = "synthesis, summed (as idwt)" if d == "synthesis_sum" else d
            name = f"1-D {what}, n = 2^{int(math.log2(n))}, {m} taps"
        else:
            J = int(math.log2(n))
            depth = "full depth" if L == 0 else f"L = J-{J - L}"
            name = f"2-D {d}, {n}x{n}, {m} taps, {depth}"
        gsl = t.get("gsl", t.get("gsl_full_depth"))
        gsl_note = "*" if "gsl_full_depth" in t else ""
        # The two-output synthesis writes twice the bytes of its input: it
        # is compared with a memcpy of what it writes.
        copy = t.get("memcpy_written", t.get("memcpy"))
        limit = None
        if t.get("floor") is not None:
            limit = max(t["floor"], t.get("bound") or 0)
        cells = [t.get("fast"), t.get("plain"), t.get("literal"), gsl, t.get("pywt"), copy,
                 t.get("floor"), t.get("bound"), t.get("standin_call"), t.get("octave_call")]
        ratios = [ratio(t.get("literal"), t.get("fast")),
                  None if gsl_note else ratio(gsl, t.get("fast")),
                  ratio(t.get("pywt"), t.get("fast")), ratio(t.get("fast"), copy),
                  ratio(t.get("fast"), t.get("floor")), ratio(t.get("fast"), limit)]
        row = [name] + [fmt(c) for c in cells]
        row[4] += gsl_note if gsl is not None else ""
        row[6] += "†" if "memcpy_written" in t else ""
        row += [fmt(r) + ("x" if r is not None else "") for r in ratios]
        lines.append("| " + " | ".join(row) + " |")
    lines.append("")
    if rate:
        lines.append(f"Vector multiply-and-add rate of the variant in use ({rate['lanes']} lanes), "
                     f"measured in this run: {rate['gflops']:.1f} GFLOP/s.")
        lines.append("")
    lines.append("Median milliseconds of interleaved rounds, one thread. Every timed call of every "
                 "implementation, memcpy and floor included, starts from evicted caches (an untimed "
                 "read of a 128 MiB buffer just before it). * GSL's 1-D transform always runs "
                 "to full depth, so it is shown for scale only (no ratio). The 2-D GSL column is "
                 "gsl_wavelet2d_nstransform (full depth only, Daubechies filters of 4 to 20 taps). "
                 "The 2-D filters are GSL's Daubechies filters and, at 30 taps, the coiflet; the "
                 "plain and literal loops are timed at 4 and 8 taps only. \"1-D synthesis\" makes "
                 "the coarse and detail signals separately (uplo, uphi); \"summed (as idwt)\" makes "
                 "their sum in one pass (upsum), the work of PyWavelets' idwt, whose one timing "
                 "fills both rows. fast/memcpy compares with one memcpy of the grid (2-D), of the n "
                 "input samples (1-D), or (\u2020) of the 2n samples the two-output synthesis "
                 "writes. floor (2-D only) is one copy of the grid plus, for each level, one read "
                 "and write of that level's block per pass (two passes per level), with no "
                 "arithmetic. bound (2-D only, not timed) is the arithmetic: every output of every "
                 "pass and level takes m products and m sums, at the rate above. The limit of a "
                 "row is the larger of floor and bound. The stand-in and Octave calls are timed in "
                 "rounds of their own: the host's fresh arrays fault in their pages on every call.")
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bench", required=True)
    ap.add_argument("--modules", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--rounds", type=int, default=7)
    ap.add_argument("--quick", action="store_true")
    args = ap.parse_args()
    records = run_harness(args)
    cases = cases_of(records)
    filters = {r["m"]: r["h"] for r in records if r["kind"] == "filter"}
    records += run_pywt(cases, args.rounds)
    records += run_octave(cases, filters, args.modules, args.rounds)
    os.makedirs(args.out, exist_ok=True)
    with open(os.path.join(args.out, "results.json"), "w") as f:
        json.dump({"time": time.strftime("%Y-%m-%d %H:%M:%S"), "records": records}, f, indent=1)
    text = table(records)
    with open(os.path.join(args.out, "results.md"), "w") as f:
        f.write(text + "\n")
    print(text)


if __name__ == "__main__":
    main()
