% Every command against the reference in wref_command, bit for bit
% (isequal), on random inputs: every dyadic length, filters of many lengths
% (empty, odd, even, longer than the signal) in several shapes, signals as
% rows, columns and matrices, and every coarse level of the grid commands;
% the signal commands against loops of the one-level commands.
wsetup();

filters = [0 1 2 3 4 5 6 8 9 12 20];
one_d = {'SinkCoarse', 'SinkDetail', 'RaiseCoarse', 'RaiseDetail'};
checked = 0;
for c = 1:numel(one_d)
  name = one_d{c};
  fn = str2func(name);
  for n = 2 .^ (0:9)
    for m = filters
      h = randn(1, m);
      shapes = {randn(1, n), randn(n, 1)};
      if n > 1
        shapes{end + 1} = randn(n, 3);
      end
      for s = 1:numel(shapes)
        x = shapes{s};
        want = wref_command(name, x, h);
        got = fn(x, h);
        wcheck(isequal(size(got), size(want)), '%s: n=%d m=%d shape %d: size %s, expected %s', ...
               name, n, m, s, mat2str(size(got)), mat2str(size(want)));
        wcheck(isequal(got, want), '%s: n=%d m=%d shape %d: values differ by up to %g', ...
               name, n, m, s, max(abs(got(:) - want(:))));
        checked = checked + 1;
      end
    end
    % The filter is all of its elements in storage order, whatever its shape.
    h = randn(2, 3);
    x = randn(1, n);
    wcheck(isequal(fn(x, h), fn(x, h(:)'), fn(x, h(:))), '%s: filter shape changes the result', name);
  end
end

for c = {'SiftGrid_WR', 'MeldGrid_WR'}
  name = c{1};
  fn = str2func(name);
  for J = 0:6
    n = 2 ^ J;
    for m = [0 1 2 4 6 8 9]
      h = randn(m, 1);
      x = randn(n);
      % Every level from beyond the finest down to below zero, given as
      % values that round to it and as a vector whose first element counts.
      for L = -2:J + 1
        for level = {L, L - 0.5, L + 0.49, [L, 99]}
          want = wref_command(name, x, level{1}, h);
          got = fn(x, level{1}, h);
          wcheck(isequal(got, want), '%s: n=%d m=%d level=%s: differs by up to %g', name, n, m, ...
                 mat2str(level{1}), max(abs(got(:) - want(:))));
          checked = checked + 1;
        end
      end
    end
  end
end
% The signal commands against the loop a user would write with the one-level
% commands, column by column: rows, columns and matrices, filters up to
% longer than the signal, every level.
for J = 0:8
  n = 2 ^ J;
  for m = [0 1 4 7 20 n + 3]
    h = randn(1, m);
    shapes = {[1 n], [n 1]};
    if n > 1
      shapes{end + 1} = [n 3];
    end
    for shape = shapes
      x = randn(shape{1});
      for L = -2:J + 1
        w = SiftSignal_WR(x, L, h);
        back = MeldSignal_WR(x, L, h);
        if rows(x) == 1
          want_w = wsift_loop(x.', L, h).';
          want_back = wmeld_loop(x.', L, h).';
        else
          want_w = wsift_loop(x, L, h);
          want_back = wmeld_loop(x, L, h);
        end
        wcheck(isequal(w, want_w), 'SiftSignal_WR: %s m=%d L=%d: differs from the loop', ...
               mat2str(size(x)), m, L);
        wcheck(isequal(back, want_back), 'MeldSignal_WR: %s m=%d L=%d: differs from the loop', ...
               mat2str(size(x)), m, L);
        checked = checked + 2;
      end
    end
  end
end
printf('%d results equal to the reference\n', checked);

