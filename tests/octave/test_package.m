% The Octave package: pkg install builds it with mkoctfile into a scratch
% prefix (never the user's or the system's package lists), pkg load puts
% the commands on the path, every command gives the same bits as the
% CMake-built module, and help finds the usage text.
[modules, source, build] = wsetup();
tarball = getenv('WAVELET_OCTAVE_PACKAGE');
name = getenv('WAVELET_OCTAVE_PACKAGE_NAME');
scratch = getenv('WAVELET_SCRATCH_DIR');
wcheck(isfile(tarball), 'no package at "%s"', tarball);
if exist(scratch, 'dir')
  confirm_recursive_rmdir(false);
  rmdir(scratch, 's');
end
mkdir(scratch);
pkg('prefix', fullfile(scratch, 'share'), fullfile(scratch, 'lib'));
pkg('local_list', fullfile(scratch, 'local_packages'));
pkg('global_list', fullfile(scratch, 'global_packages'));

% Results of the CMake-built modules first, to compare with.
names = wcommands();
h = randn(1, 6);
args = {{randn(1, 128), h}, {randn(128, 1), h}, {randn(1, 64), h}, {randn(64, 1), h}, ...
        {randn(32), 1, h}, {randn(32), 2, h}, {randn(64, 3), 2, h}, {randn(1, 64), 1, h}};
expected = cellfun(@(f, a) feval(f, a{:}), names, args, 'UniformOutput', false);
rmpath(modules);
clear functions;

% The build's flags do not change a bit of the results; -O1 halves its time.
setenv('CXXFLAGS', '-O1');
pkg('install', '-local', '-nodeps', tarball);
unsetenv('CXXFLAGS');
[installed, where] = pkg('list');
wcheck(numel(installed) == 1 && strcmp(installed{1}.name, name), 'the package is not listed');
wcheck(strncmp(installed{1}.dir, scratch, numel(scratch)), 'installed outside the scratch prefix: %s', ...
       installed{1}.dir);
pkg('load', name);

for k = 1:numel(names)
  where = which(names{k});
  wcheck(strncmp(where, scratch, numel(scratch)) && strcmp(where(end - 3:end), '.oct'), ...
         '%s resolves to %s', names{k}, where);
  got = feval(names{k}, args{k}{:});
  wcheck(isequal(got, expected{k}), '%s from the package differs from the CMake build', names{k});
  wcheck(! isempty(strfind(evalc(['help ' names{k}]), ['= ' names{k} '('])), 'no help for %s', names{k});
end
message = wcall_message(@SiftGrid_WR, {ones(3), 0, 1}, 1);
wcheck(strcmp(message, 'SiftGrid_WR: SiftGrid_WR requires dyadic length sides'), 'message "%s"', message);

pkg('unload', name);
pkg('uninstall', name);
wcheck(! exist(installed{1}.dir, 'dir'), 'pkg uninstall left %s', installed{1}.dir);
printf('package %s installed, loaded and called\n', name);
