#!/usr/bin/python3
"""Writes octave/orthofilter.m: the lowpass filters of the standard
orthonormal wavelets, each tap the correctly rounded double of the true
coefficient.

    make_orthofilter.py [--check [--taps M]] [OUTPUT]

Every filter solves its family's defining equations in 60-digit arithmetic:
orthonormality (sum_k h(k) h(k+2j) = delta_j), sum sqrt(2), and vanishing
moments of the wavelet (sum_k (-1)^k k^p h(k) = 0, p < N) and, for the
coiflets, of the scaling function (sum_k (k - 2N)^p h(k) = 0, 0 < p < 2N).
Those equations have several solutions of each length (Daubechies' and the
symlets share theirs), so Newton's method (least squares, the system being
consistent but overdetermined) starts from PyWavelets' table, which fixes
the filter and its orientation (PyWavelets' rec_lo), and converges to the
exact solution beside it. With --check the file is regenerated and
compared with OUTPUT instead of written (about a minute, most of it the
longest coiflets); --taps M checks only the filters of at most M taps.
"""
import re
import sys

import mpmath
from mpmath import mp, mpf

mp.dps = 60

NAMES = (["haar"] + ["db%d" % n for n in range(1, 21)] + ["sym%d" % n for n in range(2, 21)]
         + ["coif%d" % n for n in range(1, 18)])
FAMILIES = {"haar": "Haar", "db": "Daubechies", "sym": "symlet", "coif": "coiflet"}


def family(name):
    if name == "haar":
        return "db", 1
    fam, n = re.match(r"([a-z]+)(\d+)$", name).groups()
    return fam, int(n)


def equations(name, h):
    """The residuals of the defining equations and their Jacobian."""
    fam, n = family(name)
    m = len(h)
    rows, jac = [], []
    for j in range(m // 2):  # orthonormality
        rows.append(sum(h[k] * h[k + 2 * j] for k in range(m - 2 * j)) - (1 if j == 0 else 0))
        d = [mpf(0)] * m
        for k in range(m - 2 * j):
            d[k] += h[k + 2 * j]
            d[k + 2 * j] += h[k]
        jac.append(d)
    rows.append(sum(h) - mpmath.sqrt(2))
    jac.append([mpf(1)] * m)
    centre = mpf(m - 1) / 2
    wavelet_moments = 2 * n if fam == "coif" else n
    for p in range(wavelet_moments):
        d = [(-1) ** k * (k - centre) ** p for k in range(m)]
        rows.append(mpmath.fsum(a * b for a, b in zip(d, h)))
        jac.append(d)
    if fam == "coif":
        for p in range(1, 2 * n):
            d = [mpf(k - 2 * n) ** p for k in range(m)]
            rows.append(mpmath.fsum(a * b for a, b in zip(d, h)))
            jac.append(d)
    return rows, jac


def solve(name, start):
    """Newton's method from start: the normal equations of the scaled system,
    formed and factored in full precision, and solved again for each new
    residual (exact to 60 digits); the start is close, so one Jacobian
    serves many steps and is refreshed only when a step gains less than a
    digit."""
    h = [mpf(x) for x in start]
    factors = None
    last = None
    for _ in range(60):
        f, jac = equations(name, h)
        # Rows scaled to unit length keep the moment equations, whose
        # entries grow as k^p, from swamping the others.
        scales = [1 / mpmath.sqrt(mpmath.fsum(x * x for x in row)) for row in jac]
        residual = mpmath.matrix([x * s for x, s in zip(f, scales)])
        size = max(abs(x) for x in residual)
        if size < mpf(10) ** -50:
            return h
        # A step that gained less than a digit: the Jacobian is refreshed.
        if factors is None or size > last / 10:
            J = mpmath.matrix([[x * s for x in row] for row, s in zip(jac, scales)])
            Jt = J.T
            factors = mp.LU_decomp(Jt * J)
        rhs = -(Jt * residual)
        step = mp.U_solve(factors[0], mp.L_solve(factors[0], rhs, factors[1]))
        h = [a + b for a, b in zip(h, step)]
        last = size
    raise SystemExit("%s: Newton's method does not converge" % name)


def tabulated(path):
    """The filters of an existing orthofilter.m, by name."""
    text = open(path).read()
    return {m.group(1): [float(x) for x in m.group(2).replace("...", " ").split()]
            for m in re.finditer(r"case '(\w+)'\n\s+h = \[([^\]]*)\];", text)}


def render(filters):
    out = [HEAD]
    for name in NAMES:
        words = [repr(float(x)) for x in filters[name]]
        lines, line = [], "      h = ["
        for word in words:
            if len(line) + len(word) > 88:
                lines.append(line + " ...")
                line = "          "
            line += ("" if line.endswith("[") or not line.strip() else " ") + word
        lines.append(line + "];")
        out.append("    case '%s'\n%s\n" % (name, "\n".join(lines)))
    out.append(TAIL)
    return "".join(out)


def name_list():
    """The names as an Octave cell's elements, wrapped."""
    lines, line = [], ""
    for name in NAMES:
        word = "'%s'" % name
        if len(line) + len(word) > 80:
            lines.append(line + ", ...")
            line = "         "
        line += (", " if line.strip() else "") + word
    lines.append(line)
    return "\n".join(lines)


HEAD = """function h = orthofilter(name)
% orthofilter  Lowpass filter of a standard orthonormal wavelet.
%
%   h = orthofilter(name)
%   names = orthofilter()
%
%   Returns, as a row vector, the lowpass filter of the orthonormal wavelet
%   called name, in the orientation the commands take: h is PyWavelets'
%   rec_lo for that name, and SinkCoarse(circshift(x, m/2 - 1), h), for a
%   row x and m = numel(h), is the approximation that PyWavelets computes
%   with dwt(x, name, mode='periodization'). Names: 'haar', 'db1' to 'db20' (Daubechies, 2N
%   taps), 'sym2' to 'sym20' (symlets, 2N taps), 'coif1' to 'coif17'
%   (coiflets, 6N taps). Each tap is the correctly rounded double of the
%   true coefficient, so sum(h) is sqrt(2) and h is orthonormal to rounding.
%   With no argument, returns the names as a cell array.
%
%   First steps:
%     h = orthofilter('db4');
%     x = rand(256);
%     w = SiftGrid_WR(x, 3, h);              % 2-D, down to level 3
%     max(max(abs(MeldGrid_WR(w, 3, h) - x)))  % about 1e-15
%
%     s = rand(1, 1024);                     % 1-D, down to level 6
%     w = SiftSignal_WR(s, 6, h);            % [c_6 | d_6 | d_7 | d_8 | d_9]
%     max(abs(MeldSignal_WR(w, 6, h) - s))   % about 1e-15
%
%   This file is generated by filters/make_orthofilter.py; do not edit it.
  if nargin == 0
    h = {@NAMES@};
    return
  end
  if ~ischar(name) || ~isrow(name)
    error('orthofilter: the name must be a string such as ''db4''; orthofilter() lists them');
  end
  switch name
""".replace("@NAMES@", name_list())

TAIL = """    otherwise
      error('orthofilter: unknown filter ''%s''; the names are haar, db1 to db20, sym2 to sym20 and coif1 to coif17', name);
  end
end
"""


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    most = None
    if "--taps" in args:
        at = args.index("--taps")
        most = int(args[at + 1])
        del args[at:at + 2]
    path = args[0] if args else "orthofilter.m"
    if check:
        start = tabulated(path)
        names = [n for n in NAMES if most is None or len(start[n]) <= most]
        for name in names:
            got = [float(x) for x in solve(name, start[name])]
            if got != start[name]:
                raise SystemExit("%s: the table is not the rounded solution" % name)
        text = render(start)
        if open(path).read() != text:
            raise SystemExit("%s is not what the generator writes" % path)
        print("%s: %d filters reproduced" % (path, len(names)))
        return
    import pywt
    start = {name: pywt.Wavelet(name).rec_lo for name in NAMES}
    filters = {}
    for name in NAMES:
        filters[name] = [float(x) for x in solve(name, start[name])]
    text = render(filters)
    with open(path, "w") as f:
        f.write(text)
    print("wrote %s (%d filters)" % (path, len(NAMES)))


if __name__ == "__main__":
    main(sys.argv[1:])
