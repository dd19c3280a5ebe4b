% RaiseCoarse  Periodized lowpass synthesis: double the length, then filter.
%
%   y = RaiseCoarse(x, h)
%
%   For a signal x of n samples (n a power of two) and a filter h of m taps,
%   for i = 0..n-1 the even outputs y(2i+1) are the sum over j of
%   h(2j+1) * x(mod(i - j, n) + 1) and the odd outputs y(2i+2) the sum over
%   j of h(2j+2) * x(mod(i - j, n) + 1). This is the transpose of
%   SinkCoarse: the zero-stuffed signal filtered with h, periodically.
%
%   x  a row (1-by-n) gives the signal; anything else gives its first column
%      (n = number of rows). n must be 1, 2, 4, 8, ...
%   h  every element of the argument in storage order, whatever its shape.
%   y  2n values: a 1-by-2n row when x is a row, else a 2n-by-1 column.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "RaiseCoarse requires two input arguments."
%     "RaiseCoarse requires one output argument."
%     "RaiseCoarse requires dyadic length"        (n is not a power of two)
%
%   Example:
%     y = RaiseCoarse([1 2 3 4], [1 2 3])
%     y =
%        13    2    5    4    9    6   13    8
%
%   With an orthonormal h, RaiseCoarse(SinkCoarse(x, h), h) +
%   RaiseDetail(SinkDetail(x, h), h) returns x to within rounding.
%
%   See also RaiseDetail, SinkCoarse, MeldGrid_WR.
