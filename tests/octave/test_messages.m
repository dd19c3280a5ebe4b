% Failed calls: Octave shows "<Command>: " and then exactly the command's own
% message. One row per case: command, arguments, results asked for, message.
% Add a row to cover a new check.
wsetup();

x4 = [1 2 3 4];
g4 = magic(4);
cases = {
  'SinkCoarse',  {x4},                 1, 'SinkCoarse requires two input arguments.'
  'SinkCoarse',  {x4, [1 1], 1},       1, 'SinkCoarse requires two input arguments.'
  'SinkCoarse',  {x4},                 0, 'SinkCoarse requires two input arguments.'
  'SinkCoarse',  {x4, [1 1]},          0, 'SinkCoarse requires one output argument.'
  'SinkCoarse',  {x4, [1 1]},          2, 'SinkCoarse requires one output argument.'
  'SinkCoarse',  {1:6, [1 1]},         1, 'SinkCoarse requires dyadic length'
  'SinkCoarse',  {[], [1 1]},          1, 'SinkCoarse requires dyadic length'
  'SinkCoarse',  {zeros(1, 0), [1 1]}, 1, 'SinkCoarse requires dyadic length'
  'SinkCoarse',  {zeros(0, 5), [1 1]}, 1, 'SinkCoarse requires dyadic length'
  'SinkDetail',  {x4},                 1, 'SinkDetail requires two input arguments.'
  'SinkDetail',  {x4, [1 1]},          0, 'SinkDetail requires one output argument.'
  'SinkDetail',  {(1:6)', [1 1]},      1, 'SinkDetail requires dyadic length'
  'RaiseCoarse', {x4, 1, 1},           1, 'RaiseCoarse requires two input arguments.'
  'RaiseCoarse', {x4, [1 1]},          2, 'RaiseCoarse requires one output argument.'
  'RaiseCoarse', {ones(3, 4), [1 1]},  1, 'RaiseCoarse requires dyadic length'
  'RaiseDetail', {},                   1, 'RaiseDetail requires two input arguments.'
  'RaiseDetail', {x4, [1 1]},          0, 'RaiseDetail requires one output argument.'
  'RaiseDetail', {1:6, [1 1]},         1, 'RaiseDetail requires dyadic length'
  'SiftGrid_WR', {g4, 0},              1, 'SiftGrid_WR requires 3 input arguments.'
  'SiftGrid_WR', {g4, 0, [1 1], 1},    0, 'SiftGrid_WR requires 3 input arguments.'
  'SiftGrid_WR', {g4, 0, [1 1]},       0, 'SiftGrid_WR requires one output argument.'
  'SiftGrid_WR', {g4, 0, [1 1]},       2, 'SiftGrid_WR requires one output argument.'
  'SiftGrid_WR', {ones(2, 4), 0, [1 1]}, 1, 'SiftGrid_WR requires a square array'
  'SiftGrid_WR', {ones(3), 0, [1 1]},  1, 'SiftGrid_WR requires dyadic length sides'
  'SiftGrid_WR', {[], 0, [1 1]},       1, 'SiftGrid_WR requires dyadic length sides'
  'MeldGrid_WR', {g4},                 1, 'MeldGrid_WR requires 3 input arguments.'
  'MeldGrid_WR', {g4, 0, [1 1]},       0, 'MeldGrid_WR requires one output argument.'
  'MeldGrid_WR', {ones(4, 2), 0, [1 1]}, 1, 'MeldGrid_WR requires a square array'
  'MeldGrid_WR', {ones(6), 0, [1 1]},  1, 'MeldGrid requires dyadic length sides'
  'MeldGrid_WR', {[], 0, [1 1]},       1, 'MeldGrid requires dyadic length sides'
  'SiftSignal_WR', {x4, 0},            1, 'SiftSignal_WR requires 3 input arguments.'
  'SiftSignal_WR', {x4, 0, [1 1]},     0, 'SiftSignal_WR requires one output argument.'
  'SiftSignal_WR', {ones(6, 2), 0, [1 1]}, 1, 'SiftSignal_WR requires dyadic length'
  'SiftSignal_WR', {zeros(1, 0), 0, [1 1]}, 1, 'SiftSignal_WR requires dyadic length'
  'MeldSignal_WR', {x4, 0, [1 1], 1},  1, 'MeldSignal_WR requires 3 input arguments.'
  'MeldSignal_WR', {x4, 0, [1 1]},     2, 'MeldSignal_WR requires one output argument.'
  'MeldSignal_WR', {1:6, 0, [1 1]},    1, 'MeldSignal_WR requires dyadic length'
  % Input the commands cannot compute on, as Octave hands it over: other
  % classes, complex and sparse arrays, a signal with no samples, a level
  % that is empty or not a number.
  'SinkCoarse',  {single(x4), [1 1]},  1, 'SinkCoarse requires a real double signal'
  'SinkDetail',  {x4 + 1i, [1 1]},     1, 'SinkDetail requires a real double signal'
  'RaiseCoarse', {sparse(x4), [1 1]},  1, 'RaiseCoarse requires a real double signal'
  'RaiseDetail', {x4 > 2, [1 1]},      1, 'RaiseDetail requires a real double signal'
  'SinkCoarse',  {x4, int8([1 1])},    1, 'SinkCoarse requires a real double filter'
  'RaiseDetail', {x4, [1 1i]},         1, 'RaiseDetail requires a real double filter'
  'SinkDetail',  {zeros(4, 0), [1 1]}, 1, 'SinkDetail requires a nonempty signal'
  'SiftGrid_WR', {single(g4), 0, [1 1]}, 1, 'SiftGrid_WR requires a real double array'
  'MeldGrid_WR', {sparse(g4), 0, [1 1]}, 1, 'MeldGrid_WR requires a real double array'
  'SiftGrid_WR', {g4, int32(0), [1 1]}, 1, 'SiftGrid_WR requires a real double level'
  'MeldGrid_WR', {g4, [], [1 1]},      1, 'MeldGrid_WR requires a nonempty level'
  'SiftGrid_WR', {g4, NaN, [1 1]},     1, 'SiftGrid_WR requires a level that rounds to a 32-bit integer'
  'MeldGrid_WR', {g4, 2^31, [1 1]},    1, 'MeldGrid_WR requires a level that rounds to a 32-bit integer'
  'SiftGrid_WR', {g4, 0, 'ab'},        1, 'SiftGrid_WR requires a real double filter'
  'SiftSignal_WR', {single(x4), 0, [1 1]}, 1, 'SiftSignal_WR requires a real double signal'
  'MeldSignal_WR', {x4, NaN, [1 1]},   1, 'MeldSignal_WR requires a level that rounds to a 32-bit integer'
};

for k = 1:rows(cases)
  [name, args, nout, text] = cases{k, :};
  got = wcall_message(str2func(name), args, nout);
  want = [name ': ' text];
  wcheck(strcmp(got, want), 'case %d (%s, %d arguments, %d results): got "%s", expected "%s"', ...
         k, name, numel(args), nout, got, want);
end

% A failed call unwinds out of the module and leaves Octave able to call it
% again; the variable that would have received the result is not touched.
y = 'untouched';
try
  y = SinkCoarse(1:6, [1 1]);
catch
end
wcheck(strcmp(y, 'untouched'), 'a failed call assigned its result');
wcheck(isequal(SinkCoarse([1 2 3 4], [1 1]), [3 7]), 'no result after a failed call');
% A bare call at the prompt asks for no result and fails with the result
% message, for every command.
names = wcommands();
for k = 1:numel(names)
  args = {[1 2 3 4], [1 1]};
  if strcmp(names{k}(end - 2:end), '_WR')
    args = {g4, 0, [1 1]};
  end
  got = wcall_message(str2func(names{k}), args, 0);
  want = sprintf('%s: %s requires one output argument.', names{k}, names{k});
  wcheck(strcmp(got, want), 'bare call: got "%s", expected "%s"', got, want);
end

printf('%d messages as expected\n', rows(cases));
