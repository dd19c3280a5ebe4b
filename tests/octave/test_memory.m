% Repeated calls, successful and failing, do not grow Octave's memory: the
% results are Octave's to free, and so are the mirror and work arrays that
% each call creates. Large filters and grids make any array left behind
% show up as megabytes.
wsetup();

function kb = resident_kb()
  status = fileread('/proc/self/status');
  kb = str2double(regexp(status, 'VmRSS:\s*(\d+)', 'tokens', 'once'){1});
end

x = randn(1, 64);
h = randn(1, 4096);     % a 32 KB mirror array per highpass call
grid = randn(128);      % 128 KB per result, 3-4 KB of work array
db = randn(1, 8);
calls = {
  @() SinkCoarse(x, h)
  @() SinkDetail(x, h)
  @() RaiseCoarse(x, h)
  @() RaiseDetail(x, h)
  @() SiftGrid_WR(grid, 0, db)
  @() MeldGrid_WR(grid, 0, db)
};
failing = {
  @() SinkDetail(1:6, h)
  @() SiftGrid_WR(ones(2, 4), 0, db)
  @() MeldGrid_WR(ones(6), 0, db)
};

function run_all(calls, failing, rounds)
  for r = 1:rounds
    for k = 1:numel(calls)
      y = calls{k}();
    end
    for k = 1:numel(failing)
      try
        y = failing{k}();
      catch
      end
    end
  end
end

run_all(calls, failing, 100);   % reach a steady state first
before = resident_kb();
rounds = 500;
run_all(calls, failing, rounds);
after = resident_kb();
growth = after - before;
printf('resident memory %d kB before, %d kB after %d rounds of %d calls\n', before, after, rounds, ...
       numel(calls) + numel(failing));
% Leaking one mirror array per highpass call alone would add 32 MB.
wcheck(growth < 8 * 1024, 'memory grew by %d kB over %d rounds', growth, rounds);
