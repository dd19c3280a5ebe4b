% help <Command> prints the usage text of the same-named comment-only .m
% file beside the MEX module (built into a native function), and the example
% in it gives the output it shows.
[modules, source, build, ext] = wsetup();

names = wcommands();
for k = 1:numel(names)
  name = names{k};
  % Shipped beside the modules of this platform and the Octave modules,
  % holding nothing but comments, so it never runs in place of the module.
  folders = {fullfile(build, 'glnxa64')};
  if strcmp(ext, 'mex')
    folders{end + 1} = modules;
  end
  for folder = folders
    file = fullfile(folder{1}, [name '.m']);
    wcheck(exist(file, 'file') == 2, 'no help file %s', file);
    lines = strsplit(fileread(file), "\n");
    code = lines(! cellfun(@(t) isempty(strtrim(t)) || strtrim(t)(1) == '%', lines));
    wcheck(isempty(code), '%s holds more than comments: %s', file, strjoin(code, ' | '));
  end
  wcheck(strcmp(which(name), fullfile(modules, [name '.' ext])), '%s does not resolve to the module', name);

  text = evalc(sprintf('help %s', name));
  wcheck(! isempty(strfind(text, sprintf('= %s(', name))), 'help %s shows no usage', name);
  wcheck(! isempty(strfind(text, 'Example')), 'help %s shows no example', name);

  % The example: "var = Command(...)", then "var =" and the rows it prints.
  lines = strtrim(strsplit(text, "\n"));
  example = find(strncmp(lines, 'Example', 7), 1);
  at = find(! cellfun(@isempty, regexp(lines(example:end), ['^\w+ = ' name '\(.*\)$'])), 1);
  at = at + example - 1;
  wcheck(! isempty(at), 'help %s: no example call', name);
  call = lines{at};
  wcheck(strcmp(lines{at + 1}, [strtok(call) ' =']), 'help %s: the example shows no output', name);
  shown = [];
  for r = at + 2:numel(lines)
    row = str2num(lines{r});
    if isempty(row)
      break;
    end
    shown = [shown; row];
  end
  result = eval(call(find(call == '=', 1) + 1:end));
  wcheck(isequal(size(result), size(shown)) && max(abs(result(:) - shown(:))) < 1e-12, ...
         'help %s: the example gives %s, the help shows %s', name, mat2str(result, 5), mat2str(shown));
end
printf('help of %d commands checked\n', numel(names));
