% MeldSignal_WR  Inverse multi-level periodized wavelet transform of signals.
%
%   x = MeldSignal_WR(w, level, h)
%
%   A row w is one signal's coefficients; otherwise every column of w is,
%   laid out as SiftSignal_WR leaves them: [c_L | d_L | d_L+1 | ... | d_J-1]
%   with n = 2^J values. Each level j, from the coarse level
%   L = floor(level(1) + 0.5) up to J-1, rebuilds 2^(j+1) values as
%   RaiseCoarse(c, h) + RaiseDetail(d_j, h), bit for bit. No level runs
%   when L >= J; L < 0 acts as 0. With an orthonormal h,
%   MeldSignal_WR(SiftSignal_WR(x, L, h), L, h) returns x to within
%   rounding.
%
%   w      coefficients of one signal (row or column) or of many in the
%          columns of a matrix.
%   level  only its first element is read.
%   h      the lowpass filter: every element in storage order, any shape.
%   x      w's rows and columns.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "MeldSignal_WR requires 3 input arguments."
%     "MeldSignal_WR requires one output argument."
%     "MeldSignal_WR requires dyadic length"
%
%   Example (the Haar filter, two levels of one row):
%     x = MeldSignal_WR([2 0 0 0], 0, [1 1] / sqrt(2))
%     x =
%        1.0000   1.0000   1.0000   1.0000
%
%   See also SiftSignal_WR, RaiseCoarse, RaiseDetail, MeldGrid_WR.
