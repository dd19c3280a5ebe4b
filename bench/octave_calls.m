% Whole command calls in one Octave process: the native functions
% (build/octave) and the MEX form (build/octave/mex), interleaved round by
% round with Octave's own floor for a result of the same size (z = x + 1 on
% an array of the result's shape; abs(x) for the short call; for the signal
% transforms of many columns, the loop over columns and levels that the
% one-level commands need). Prints a markdown table of medians and ratios.
%
%   octave-cli --no-gui --norc bench/octave_calls.m BUILD_DIR [ROUNDS]
args = argv();
build = args{1};
rounds = 9;
if numel(args) > 1
  rounds = str2double(args{2});
end
% The MEX form under other names, so that both forms can be called here.
scratch = tempname();
mkdir(scratch);
cleanup = onCleanup(@() confirm_recursive_rmdir(false) || rmdir(scratch, 's'));
names = {'SinkCoarse', 'SinkDetail', 'RaiseCoarse', 'RaiseDetail', 'SiftGrid_WR', 'MeldGrid_WR', ...
         'SiftSignal_WR', 'MeldSignal_WR'};
for k = 1:numel(names)
  copyfile(fullfile(build, 'octave', 'mex', [names{k} '.mex']), fullfile(scratch, [names{k} '_mex.mex']));
end
addpath(fullfile(build, 'octave'));
addpath(scratch);

d4 = [0.48296291314453416 0.8365163037378079 0.2241438680420134 -0.12940952255126037];
d8 = [0.2303778133088965 0.7148465705529157 0.6308807679298589 -0.027983769416859854 ...
      -0.18703481171909309 0.030841381835560764 0.0328830116668852 -0.010597401785069032];

% Each case: a label, the native and MEX calls, the floor, and how many
% calls one timing makes (short calls are timed in batches).
cases = {};
for n = [2048 4096]
  x = rand(n);
  for f = {{'D4', d4}, {'D8', d8}}
    h = f{1}{2};
    cases(end + 1, :) = {sprintf('SiftGrid_WR, %d^2, %s', n, f{1}{1}), @() SiftGrid_WR(x, 0, h), ...
                         @() SiftGrid_WR_mex(x, 0, h), @() x + 1, 1};
    cases(end + 1, :) = {sprintf('MeldGrid_WR, %d^2, %s', n, f{1}{1}), @() MeldGrid_WR(x, 0, h), ...
                         @() MeldGrid_WR_mex(x, 0, h), @() x + 1, 1};
  end
end
s = rand(1, 2^24);
half = rand(1, 2^23);
twice = rand(1, 2^25);
cases(end + 1, :) = {'SinkCoarse, 2^24, D4', @() SinkCoarse(s, d4), @() SinkCoarse_mex(s, d4), @() half + 1, 1};
cases(end + 1, :) = {'SinkDetail, 2^24, D4', @() SinkDetail(s, d4), @() SinkDetail_mex(s, d4), @() half + 1, 1};
cases(end + 1, :) = {'RaiseCoarse, 2^24, D4', @() RaiseCoarse(s, d4), @() RaiseCoarse_mex(s, d4), @() twice + 1, 1};
cases(end + 1, :) = {'RaiseDetail, 2^24, D4', @() RaiseDetail(s, d4), @() RaiseDetail_mex(s, d4), @() twice + 1, 1};
for f = {{'D4', d4}, {'D8', d8}}
  h = f{1}{2};
  for J = [20 24]
    v = rand(2^J, 1);
    cases(end + 1, :) = {sprintf('SiftSignal_WR, 2^%d, %s', J, f{1}{1}), @() SiftSignal_WR(v, 0, h), ...
                         @() SiftSignal_WR_mex(v, 0, h), @() v + 1, 1};
    cases(end + 1, :) = {sprintf('MeldSignal_WR, 2^%d, %s', J, f{1}{1}), @() MeldSignal_WR(v, 0, h), ...
                         @() MeldSignal_WR_mex(v, 0, h), @() v + 1, 1};
  end
end

% The loops a user writes without the signal commands: every column, every
% level, one call per branch.
function w = sift_loop(x, h)
  w = zeros(size(x));
  for c = 1:columns(x)
    s = x(:, c);
    for len = 2 .^ (log2(rows(x)):-1:1)
      w(len / 2 + 1:len, c) = SinkDetail(s, h);
      s = SinkCoarse(s, h);
    end
    w(1, c) = s;
  end
end
function x = meld_loop(w, h)
  x = w;
  for c = 1:columns(w)
    for e = 2 .^ (0:log2(rows(w)) - 1)
      x(1:2 * e, c) = RaiseCoarse(x(1:e, c), h) + RaiseDetail(x(e + 1:2 * e, c), h);
    end
  end
end
many = rand(1024);
cases(end + 1, :) = {'SiftSignal_WR, 1024 columns of 1024, D4 (floor: the loop)', ...
                     @() SiftSignal_WR(many, 0, d4), @() SiftSignal_WR_mex(many, 0, d4), ...
                     @() sift_loop(many, d4), 1};
cases(end + 1, :) = {'MeldSignal_WR, 1024 columns of 1024, D4 (floor: the loop)', ...
                     @() MeldSignal_WR(many, 0, d4), @() MeldSignal_WR_mex(many, 0, d4), ...
                     @() meld_loop(many, d4), 1};
short = rand(1, 8);
cases(end + 1, :) = {'SinkCoarse, length 8, D4 (floor: abs(x))', @() SinkCoarse(short, d4), ...
                     @() SinkCoarse_mex(short, d4), @() abs(short), 2000};

function ms = timed(f, batch)
  tic;
  for b = 1:batch
    z = f();
  end
  ms = toc * 1e3 / batch;
end

printf('| call | native ms | MEX ms | floor ms | native/floor | MEX/floor | MEX/native |\n');
printf('|---|---|---|---|---|---|---|\n');
for c = 1:rows(cases)
  [label, native, mexform, floor_call, batch] = cases{c, :};
  t = zeros(rounds, 3);
  calls = {native, mexform, floor_call};
  for f = 1:3
    timed(calls{f}, batch);   % warm up: first call, pages of the result
  end
  for r = 1:rounds
    order = circshift(1:3, r);
    for f = order
      t(r, f) = timed(calls{f}, batch);
    end
  end
  m = median(t);
  unit = 1;
  if batch > 1
    unit = 1e3;   % microseconds for the short call
    label = [label ' (us)'];
  end
  printf('| %s | %.4g | %.4g | %.4g | %.2fx | %.2fx | %.2fx |\n', label, m(1) * unit, m(2) * unit, ...
         m(3) * unit, m(1) / m(3), m(2) / m(3), m(2) / m(1));
end
