% SiftSignal_WR  Forward multi-level periodized wavelet transform of signals.
%
%   w = SiftSignal_WR(x, level, h)
%
%   A row x is one signal; otherwise every column of x is a signal of
%   n = rows(x) samples, transformed on its own. n = 2^J. Each level, from
%   J-1 down to the coarse level L = floor(level(1) + 0.5), takes the
%   current coarse part c of a signal to SinkCoarse(c, h) and
%   SinkDetail(c, h), bit for bit. No level runs when L >= J; L < 0 acts
%   as 0.
%
%   x      a signal (row or column) or a matrix of signals in its columns;
%          an N-D array counts as rows-by-(the product of the rest).
%   level  only its first element is read.
%   h      the lowpass filter: every element in storage order, any shape.
%   w      x's rows and columns; each signal becomes
%            [c_L | d_L | d_L+1 | ... | d_J-1]
%          with 2^L coarse values first, then the 2^j detail values of each
%          level j, the finest last.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "SiftSignal_WR requires 3 input arguments."
%     "SiftSignal_WR requires one output argument."
%     "SiftSignal_WR requires dyadic length"
%
%   Example (the Haar filter without its scale, two levels of one row):
%     w = SiftSignal_WR([1 2 3 4], 0, [1 1])
%     w =
%        10    4    1    1
%
%   See also MeldSignal_WR, SinkCoarse, SinkDetail, SiftGrid_WR.
