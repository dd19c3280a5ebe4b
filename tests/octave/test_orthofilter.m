% orthofilter and the folder's contents as a user meets them: the list of
% names, a refusal that names them, the first-steps example of its help
% (run as it stands, each error at rounding), help on the folder listing
% every command; and the release zip, unpacked, calling its modules.
[modules, source, build] = wsetup();

names = orthofilter();
wcheck(iscellstr(names) && numel(names) == 57 && strcmp(names{1}, 'haar'), 'orthofilter() lists %d names', numel(names));
for k = 1:numel(names)
  h = orthofilter(names{k});
  wcheck(isrow(h) && isa(h, 'double') && abs(sum(h) - sqrt(2)) < 1e-14, '%s', names{k});
end
message = wcall_message(@orthofilter, {'db99'}, 1);
wcheck(strncmp(message, 'orthofilter', 11) && ! isempty(strfind(message, 'coif17')), 'message "%s"', message);

% The example of the help: the indented lines after "First steps:", run in
% this workspace.
text = help('orthofilter');
lines = strsplit(text, "\n");
first = find(! cellfun(@isempty, strfind(lines, 'First steps:')), 1);
wcheck(! isempty(first), 'help orthofilter has no first steps');
code = {};
for k = first + 1:numel(lines)
  if ! isempty(strtrim(lines{k})) && ! strncmp(lines{k}, '     ', 5)
    break;
  end
  code{end + 1} = regexprep(lines{k}, '%.*$', '');
end
% Results are named in the example; show nothing, check the two errors.
code = strjoin(code, "\n");
code = regexprep(code, 'max\(max\(abs\(MeldGrid_WR\(w, 3, h\) - x\)\)\)', 'err2 = max(max(abs(MeldGrid_WR(w, 3, h) - x)));');
code = regexprep(code, 'max\(abs\(MeldSignal_WR\(w, 6, h\) - s\)\)', ...
                'err1 = max(abs(MeldSignal_WR(w, 6, h) - s));');
eval(code);
wcheck(err2 < 1e-12 && err1 < 1e-12, 'first steps: errors %g and %g', err2, err1);

% help on the folder lists every command and orthofilter.
contents = evalc(sprintf('help(''%s'')', modules));
for c = [wcommands(), {'orthofilter'}]
  wcheck(! isempty(strfind(contents, [c{1} ' '])), 'help on the folder does not list %s', c{1});
end

% The release: unpacked into scratch, its Linux modules called from there.
zips = glob(fullfile(build, 'release', '*.zip'));
wcheck(numel(zips) == 1, 'no release zip');
scratch = getenv('WAVELET_SCRATCH_DIR');
confirm_recursive_rmdir(false);
if exist(scratch, 'dir')
  rmdir(scratch, 's');
end
mkdir(scratch);
unzip(zips{1}, scratch);
top = glob(fullfile(scratch, 'wavelet_mex-*'));
wcheck(numel(top) == 1, 'the zip holds no wavelet_mex-<version> folder');
top = top{1};
for f = {'README.md', 'LICENSE', 'glnxa64/Contents.m', 'glnxa64/orthofilter.m', ...
         'glnxa64/SinkCoarse.m', 'glnxa64/kernels/downlo.mexa64', 'glnx86/SinkCoarse.mexglx', ...
         'win64/SinkCoarse.mexw64', 'win64/orthofilter.m'}
  wcheck(exist(fullfile(top, f{1}), 'file') == 2, 'the release has no %s', f{1});
end
wcheck(! isempty(glob(fullfile(top, 'octave', '*.tar.gz'))), 'the release has no Octave package');
x = rand(1, 64);
h = orthofilter('db3');
[status, out] = system(sprintf('"%s" "%s" "%s" "%s"', fullfile(build, 'bin', 'mexcall'), ...
                               fullfile(top, 'glnxa64', 'SinkCoarse.mexa64'), mat2str(x, 17), mat2str(h, 17)));
wcheck(status == 0 && isequal(str2num(out), SinkCoarse(x, h)), 'the released module gives %s', out);
printf('orthofilter: %d filters, first steps, contents and the release checked\n', numel(names));
