% SinkDetail  Periodized highpass analysis with the quadrature mirror of h.
%
%   d = SinkDetail(x, h)
%
%   The mirror of h is g(j+1) = (-1)^j * h(j+1). For a signal x of n samples
%   (n a power of two), d(i+1) is the sum over j = 0..m-1 of
%   g(j+1) * x(mod(2*i + 1 - j, n) + 1), for i = 0..n/2-1: the window of
%   output i starts at the odd sample 2i+1 and runs backward, wrapping around
%   the start of the signal.
%
%   x  a row (1-by-n) gives the signal; anything else gives its first column
%      (n = number of rows). n must be 1, 2, 4, 8, ...
%   h  the lowpass filter: every element in storage order, any shape.
%   d  n/2 values: a 1-by-n/2 row when x is a row, else an n/2-by-1 column.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "SinkDetail requires two input arguments."
%     "SinkDetail requires one output argument."
%     "SinkDetail requires dyadic length"        (n is not a power of two)
%
%   Example:
%     d = SinkDetail([1 2 3 4], [1 2 3])
%     d =
%        12    4
%
%   See also SinkCoarse, RaiseDetail, SiftGrid_WR.
