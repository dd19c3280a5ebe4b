% MeldGrid_WR  Inverse periodized 2-D wavelet transform of a square grid.
%
%   x = MeldGrid_WR(w, level, h)
%
%   w is n-by-n with n = 2^J, laid out as SiftGrid_WR leaves it. Starting
%   from the coarse block of side 2^L, L = floor(level(1) + 0.5), each level
%   doubles the block: every row of the doubled block becomes
%   RaiseCoarse(coarse half) + RaiseDetail(detail half), then every column
%   the same. With an orthonormal h, MeldGrid_WR(SiftGrid_WR(x, L, h), L, h)
%   returns x to within rounding. No level runs when L >= J; L < 0 acts as 0.
%
%   w      a square n-by-n grid, n = 1, 2, 4, 8, ...
%   level  only its first element is read.
%   h      the lowpass filter: every element in storage order, any shape.
%   x      n-by-n: the rebuilt grid.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "MeldGrid_WR requires 3 input arguments."
%     "MeldGrid_WR requires one output argument."
%     "MeldGrid_WR requires a square array"
%     "MeldGrid requires dyadic length sides"
%
%   Example (the Haar filter, two levels):
%     x = MeldGrid_WR([4 0 0 0; 0 0 0 0; 0 0 0 0; 0 0 0 0], 0, [1 1] / sqrt(2))
%     x =
%        1   1   1   1
%        1   1   1   1
%        1   1   1   1
%        1   1   1   1
%
%   See also SiftGrid_WR, RaiseCoarse, RaiseDetail.
