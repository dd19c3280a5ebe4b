% The build script for users with only the sources: build_modules compiles
% the six commands with Octave's own mex into a fresh folder, puts the help
% beside them and adds the folder to the path; the modules it makes give the
% same bits as the CMake-built Octave modules.
[modules, source, build, ext] = wsetup();
scratch = getenv('WAVELET_SCRATCH_DIR');
if exist(scratch, 'dir')
  confirm_recursive_rmdir(false);
  rmdir(scratch, 's');
end
folder = fullfile(scratch, 'modules');
rmpath(modules);
clear functions;

addpath(fullfile(source, 'octave'));
setenv('CXXFLAGS', '-O1');
made = build_modules(folder);
wcheck(strcmp(made, folder), 'build_modules returned %s', made);
wcheck(strcmp(getenv('CXXFLAGS'), '-O1'), 'build_modules left CXXFLAGS as "%s"', getenv('CXXFLAGS'));
unsetenv('CXXFLAGS');

names = wcommands();
for k = 1:numel(names)
  wcheck(isfile(fullfile(folder, [names{k} '.mex'])), 'no module %s', names{k});
  wcheck(isfile(fullfile(folder, [names{k} '.m'])), 'no help file for %s', names{k});
  wcheck(strcmp(which(names{k}), fullfile(folder, [names{k} '.mex'])), '%s is not on the path', names{k});
  wcheck(! isempty(strfind(evalc(['help ' names{k}]), 'Example')), 'help %s is missing', names{k});
end

% The same calls through both sets of modules.
h = randn(1, 8);
x = randn(1, 256);
g = randn(64);
calls = {
  @() SinkCoarse(x, h)
  @() SinkDetail(x', h)
  @() RaiseCoarse(x, h)
  @() RaiseDetail(x', h)
  @() SiftGrid_WR(g, 2, h)
  @() MeldGrid_WR(g, 1, h)
};
built = cellfun(@(f) f(), calls, 'UniformOutput', false);
message = wcall_message(@SinkCoarse, {1:6, [1 1]}, 1);
wcheck(strcmp(message, 'SinkCoarse: SinkCoarse requires dyadic length'), 'message "%s"', message);

rmpath(folder);
clear functions;
addpath(modules);
wcheck(strcmp(which('SinkCoarse'), fullfile(modules, ['SinkCoarse.' ext])), 'cannot switch modules');
reference = cellfun(@(f) f(), calls, 'UniformOutput', false);
for k = 1:numel(calls)
  wcheck(isequal(built{k}, reference{k}), '%s: the script-built module differs', func2str(calls{k}));
end
printf('build_modules made %d commands that agree with the CMake build\n', numel(names));
