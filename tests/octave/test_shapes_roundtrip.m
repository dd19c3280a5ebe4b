% Worked examples with their shapes, and analysis followed by synthesis
% returning the input for orthonormal filters.
wsetup();

r2 = 1 / sqrt(2);
d4 = [1 + sqrt(3), 3 + sqrt(3), 3 - sqrt(3), 1 - sqrt(3)] / (4 * sqrt(2));
db4 = [0.2303778133088965, 0.7148465705529157, 0.6308807679298589, -0.027983769416859854, ...
       -0.18703481171909309, 0.030841381835560764, 0.0328830116668852, -0.010597401785069032];

% Command, arguments, expected result (its size is checked too).
examples = {
  'SinkCoarse',  {[3 1 4 1 5 9 2 6], [1 2 3 4]}, [21 57 53 27]
  'SinkCoarse',  {[1 2 3 4], [1 1]},             [3 7]
  'SinkCoarse',  {[1; 2; 3; 4], [1 1]},          [3; 7]
  'SinkCoarse',  {[(1:4)', ones(4, 2)], [1 1]},  [3; 7]
  'SinkCoarse',  {5, [1 1]},                     zeros(1, 0)
  'SinkCoarse',  {[1 2], [1 1 1 1 1]},           7
  'SinkCoarse',  {[1 2 3 4], []},                [0 0]
  'SinkDetail',  {[1 2 3 4], [1 2 3]},           [12 4]
  'SinkDetail',  {[1 2 3 4], [1 1]},             [1 1]
  'RaiseCoarse', {[1 2 3 4], [1 2 3]},           [13 2 5 4 9 6 13 8]
  'RaiseCoarse', {[1; 2; 3; 4], [1 3; 2 4]},     [13; 18; 5; 8; 9; 14; 13; 20]
  'RaiseCoarse', {5, [1 2 3 4 5]},               [45 30]
  'RaiseDetail', {[1 2 3 4], [1 2 3]},           [-2 7 -4 11 -6 15 -8 7]
  'RaiseDetail', {5, [1 2 3 4 5]},               [-30 45]
  'RaiseDetail', {ones(4, 3), []},               zeros(8, 1)
  'SiftGrid_WR', {[1 2; 3 4], 0, [r2 r2]},       [5 1; 2 0]
  'SiftGrid_WR', {7, 0, [1 2 3]},                7
  'MeldGrid_WR', {[5 1; 2 0], 0, [r2 r2]},       [1 2; 3 4]
  'MeldGrid_WR', {[4 zeros(1, 3); zeros(3, 4)], 0, [r2 r2]}, ones(4)
};
for k = 1:rows(examples)
  [name, args, want] = examples{k, :};
  got = feval(name, args{:});
  wcheck(isequal(size(got), size(want)), 'example %d (%s): size %s, expected %s', k, name, ...
         mat2str(size(got)), mat2str(size(want)));
  wcheck(max(abs(got(:) - want(:))) <= 1e-12 || isempty(want), 'example %d (%s): got %s', k, name, ...
         mat2str(got));
end

% One level of analysis and synthesis, every length and orientation.
for h = {[r2 r2], d4, db4}
  for n = 2 .^ (1:10)
    for x = {randn(1, n), randn(n, 1)}
      v = x{1};
      back = RaiseCoarse(SinkCoarse(v, h{1}), h{1}) + RaiseDetail(SinkDetail(v, h{1}), h{1});
      % A column of two gives one coefficient, which is a row of one, so the
      % rebuilt pair comes back as a row.
      if n > 2
        wcheck(isequal(size(back), size(v)), '1-D round trip, n=%d: size %s', n, mat2str(size(back)));
      end
      err = max(abs(back(:) - v(:)));
      wcheck(err < 1e-12, '1-D round trip, n=%d, %d taps: error %g', n, numel(h{1}), err);
    end
  end
end

% The grid transforms, every level, with the energy kept by the forward one.
for h = {[r2 r2], d4, db4}
  for J = 0:7
    n = 2 ^ J;
    x = randn(n);
    for L = 0:J
      w = SiftGrid_WR(x, L, h{1});
      back = MeldGrid_WR(w, L, h{1});
      err = max(abs(back(:) - x(:)));
      wcheck(isequal(size(w), [n n]) && err < 1e-12, '2-D round trip n=%d L=%d: error %g', n, L, err);
      wcheck(abs(sumsq(w(:)) - sumsq(x(:))) <= 1e-10 * sumsq(x(:)), 'energy n=%d L=%d', n, L);
    end
  end
end
disp('shapes and round trips as expected');
