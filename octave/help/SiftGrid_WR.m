% SiftGrid_WR  Forward periodized 2-D wavelet transform of a square grid.
%
%   w = SiftGrid_WR(x, level, h)
%
%   x is n-by-n with n = 2^J. Each level, from J-1 down to the coarse level
%   L = floor(level(1) + 0.5), filters every column of the current top-left
%   block of side s and then every row of it: lowpass with h as in
%   SinkCoarse, highpass with the mirror g(j+1) = (-1)^j * h(j+1) as in
%   SinkDetail. The block then holds four quarters of side s/2: top-left
%   lowpass-lowpass (the next level's block), top-right lowpass down the
%   columns and highpass along the rows, bottom-left highpass then lowpass,
%   bottom-right highpass then highpass. No level runs when L >= J; L < 0
%   acts as 0.
%
%   x      a square n-by-n grid, n = 1, 2, 4, 8, ...
%   level  only its first element is read.
%   h      the lowpass filter: every element in storage order, any shape.
%   w      n-by-n: the coarse block of side 2^L in the top-left corner, each
%          ring around it the three detail quarters of one level.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "SiftGrid_WR requires 3 input arguments."
%     "SiftGrid_WR requires one output argument."
%     "SiftGrid_WR requires a square array"
%     "SiftGrid_WR requires dyadic length sides"
%
%   Example (the Haar filter, one level):
%     w = SiftGrid_WR([1 2; 3 4], 0, [1 1] / sqrt(2))
%     w =
%        5   1
%        2   0
%
%   See also MeldGrid_WR, SinkCoarse, SinkDetail.
