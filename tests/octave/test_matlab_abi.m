% The Octave modules and the MATLAB-interface modules of this platform,
% called through the stand-in host's command-line front end, give the same
% bits on the same inputs, and the same message after Octave's prefix.
[modules, source, build] = wsetup();
mexcall = fullfile(build, 'bin', 'mexcall');
wcheck(exist(mexcall, 'file') == 2, 'no %s', mexcall);

function [ok, values, text] = call_standin(mexcall, module, args)
  cmd = sprintf('"%s" "%s"', mexcall, module);
  for k = 1:numel(args)
    cmd = [cmd, ' ''', mat2str(args{k}, 17), ''''];
  end
  [status, out] = system([cmd ' 2>&1']);
  ok = status == 0;
  text = strtrim(out);
  values = [];
  if ok && ! strncmp(text, '[]', 2)
    lines = strsplit(text, "\n");
    values = reshape(sscanf(text, '%f'), [], numel(lines))';
  end
end

names = wcommands();
compared = 0;
for c = 1:numel(names)
  name = names{c};
  module = fullfile(build, 'glnxa64', [name '.mexa64']);
  grid = strcmp(name(end - 2:end), '_WR');
  cases = {};
  for m = [1 3 4 11]
    h = randn(1, m);
    if grid
      for J = 0:4
        for L = [-1, floor(J / 2), J]
          cases{end + 1} = {randn(2 ^ J), L, h};
        end
      end
    else
      for n = [2 4 16 64]
        cases{end + 1} = {randn(1, n), h};
        cases{end + 1} = {randn(n, 2), h};
      end
    end
  end
  % Failing calls: the message after Octave's "<Command>: " is the module's.
  if grid
    cases{end + 1} = {ones(2, 4), 0, [1 1]};
    cases{end + 1} = {ones(3), 0, [1 1]};
    cases{end + 1} = {ones(4), 0};
  else
    cases{end + 1} = {1:6, [1 1]};
    cases{end + 1} = {1:4};
  end
  for k = 1:numel(cases)
    args = cases{k};
    [ok, want, text] = call_standin(mexcall, module, args);
    try
      got = feval(name, args{:});
      wcheck(ok, '%s case %d: Octave succeeded, the stand-in host said "%s"', name, k, text);
      wcheck(isequal(got, want), '%s case %d: results differ by up to %g', name, k, ...
             max(abs(got(:) - want(:))));
    catch err
      if strncmp(err.message, 'check failed', 12)
        rethrow(err);
      end
      wcheck(! ok, '%s case %d: only Octave failed: %s', name, k, err.message);
      wcheck(strcmp(err.message, [name ': ' text]), '%s case %d: "%s" against "%s"', name, k, ...
             err.message, text);
    end
    compared = compared + 1;
  end
end
printf('%d calls agree with the MATLAB-interface modules\n', compared);
