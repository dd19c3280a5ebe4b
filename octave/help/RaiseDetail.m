% RaiseDetail  Periodized highpass synthesis with the quadrature mirror of h.
%
%   y = RaiseDetail(x, h)
%
%   The mirror of h is g(j+1) = (-1)^j * h(j+1). For a signal x of n samples
%   (n a power of two), for i = 0..n-1 the odd outputs y(2i+2) are the sum
%   over j of g(2j+1) * x(mod(i + j, n) + 1) and the even outputs y(2i+1)
%   the sum over j of g(2j+2) * x(mod(i + j, n) + 1). This is the transpose
%   of SinkDetail.
%
%   x  a row (1-by-n) gives the signal; anything else gives its first column
%      (n = number of rows). n must be 1, 2, 4, 8, ...
%   h  the lowpass filter: every element in storage order, any shape.
%   y  2n values: a 1-by-2n row when x is a row, else a 2n-by-1 column.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "RaiseDetail requires two input arguments."
%     "RaiseDetail requires one output argument."
%     "RaiseDetail requires dyadic length"        (n is not a power of two)
%
%   Example:
%     y = RaiseDetail([1 2 3 4], [1 2 3])
%     y =
%       -2    7   -4   11   -6   15   -8    7
%
%   See also RaiseCoarse, SinkDetail, MeldGrid_WR.
