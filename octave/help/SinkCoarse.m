% SinkCoarse  Periodized lowpass analysis: filter, then keep every second sample.
%
%   y = SinkCoarse(x, h)
%
%   For a signal x of n samples (n a power of two) and a filter h of m taps,
%   y(i+1) is the sum over j = 0..m-1 of h(j+1) * x(mod(2*i + j, n) + 1),
%   for i = 0..n/2-1: the window of output i starts at sample 2i and runs
%   forward, wrapping around the end of the signal.
%
%   x  a row (1-by-n) gives the signal; anything else gives its first column
%      (n = number of rows). n must be 1, 2, 4, 8, ...
%   h  every element of the argument in storage order, whatever its shape;
%      it may be empty or longer than the signal.
%   y  n/2 values: a 1-by-n/2 row when x is a row, else an n/2-by-1 column.
%
%   Assign the result: a call that asks for none fails. Arguments must be
%   real double arrays. The messages about counts and shape:
%     "SinkCoarse requires two input arguments."
%     "SinkCoarse requires one output argument."
%     "SinkCoarse requires dyadic length"        (n is not a power of two)
%
%   Example:
%     y = SinkCoarse([3 1 4 1 5 9 2 6], [1 2 3 4])
%     y =
%        21   57   53   27
%
%   See also SinkDetail, RaiseCoarse, SiftGrid_WR.
