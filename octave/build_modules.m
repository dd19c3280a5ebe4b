% build_modules  Compile the eight commands with this host's own mex command.
%
%   folder = build_modules()
%   folder = build_modules(folder)
%
%   For users who have the sources but not the CMake build. Run it from
%   MATLAB or GNU Octave, in any folder: it compiles SinkCoarse, SinkDetail,
%   RaiseCoarse, RaiseDetail, SiftGrid_WR, MeldGrid_WR, SiftSignal_WR and
%   MeldSignal_WR into folder
%   (by default <sources>/build/<host>), copies the help files beside them
%   and adds folder to the path. The source files of each command are read
%   from cmake/sources.txt, the list every other build uses. Every file is
%   compiled with -ffp-contract=off: results must not depend on fused
%   multiply-add.
%
%   Example:
%     build_modules();
%     y = SinkCoarse([3 1 4 1 5 9 2 6], [1 2 3 4])
function folder = build_modules(folder)
  here = fileparts(mfilename('fullpath'));
  root = fileparts(here);
  in_octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  if nargin < 1 || isempty(folder)
    if in_octave
      folder = fullfile(root, 'build', 'octave-mex');
    else
      folder = fullfile(root, 'build', 'matlab-mex');
    end
  end
  if ~exist(folder, 'dir')
    [ok, why] = mkdir(folder);
    if ~ok
      error('build_modules: cannot make %s: %s', folder, why);
    end
  end

  [lists, commands] = read_source_lists(fullfile(root, 'cmake', 'sources.txt'), root);
  % Kernels share files (the vector variants, the strided helpers): each
  % source is compiled once, into a scratch folder, and each module links
  % the objects of its own sources.
  objdir = tempname();
  mkdir(objdir);
  cleanup = onCleanup(@() remove_folder(objdir));
  objects = struct();
  for k = 1:numel(commands)
    name = commands{k};
    sources = lists.(name);
    linked = cell(size(sources));
    for s = 1:numel(sources)
      [~, base] = fileparts(sources{s});
      if ~isfield(objects, base)
        objects.(base) = compile_object(sources{s}, root, objdir, in_octave);
      end
      linked{s} = objects.(base);
    end
    link_module(name, linked, folder, in_octave);
    [ok, why] = copyfile(fullfile(here, 'help', [name '.m']), fullfile(folder, [name '.m']));
    if ~ok
      error('build_modules: cannot copy the help of %s: %s', name, why);
    end
  end
  addpath(folder);
  fprintf('build_modules: %d commands in %s\n', numel(commands), folder);
end

% One source, compiled against the host's own mex.h (WAVELET_HOST_MEX_H)
% into objdir; returns the object's path.
function object = compile_object(source, root, objdir, in_octave)
  defines = {'-DWAVELET_HOST_MEX_H', ['-I' root]};
  [~, base] = fileparts(source);
  if in_octave
    % Octave's mex takes compiler flags from CXXFLAGS: its own, plus ours.
    old = getenv('CXXFLAGS');
    cleanup = onCleanup(@() restore_cxxflags(old));
    setenv('CXXFLAGS', [strtrim(mkoctfile('-p', 'CXXFLAGS')) ' -ffp-contract=off']);
    object = fullfile(objdir, [base '.o']);
    mex(defines{:}, '-c', source, '-o', object);
  else
    mex(defines{:}, 'CXXFLAGS=$CXXFLAGS -ffp-contract=off', 'CFLAGS=$CFLAGS -ffp-contract=off', ...
        '-c', '-outdir', objdir, source);
    found = dir(fullfile(objdir, [base '.o*']));   % .o, or .obj on Windows
    object = fullfile(objdir, found(1).name);
  end
end

% One command's module from the objects of its sources.
function link_module(name, objects, folder, in_octave)
  if in_octave
    mex('-o', fullfile(folder, [name '.' mexext()]), objects{:});
  else
    mex('-outdir', folder, '-output', name, objects{:});
  end
end

function remove_folder(folder)
  if exist('confirm_recursive_rmdir', 'builtin') || exist('confirm_recursive_rmdir')
    confirm_recursive_rmdir(false);
  end
  rmdir(folder, 's');
end

function restore_cxxflags(old)
  if isempty(old)
    unsetenv('CXXFLAGS');
  else
    setenv('CXXFLAGS', old);
  end
end

% The lists of sources.txt: each line "[kind] name: words" gives lists.(name),
% its source files (each once), where a word with a slash is a file from the
% root and any other word stands for an earlier line's files; commands holds
% the names of the "command" lines.
function [lists, commands] = read_source_lists(file, root)
  lists = struct();
  commands = {};
  lines = strsplit(fileread(file), {"\n", "\r"});
  for k = 1:numel(lines)
    % "kind name" or "name" before the colon, the words after it.
    tok = regexp(lines{k}, '^([a-z]+ )?(\w+):(.*)$', 'tokens', 'once');
    if isempty(tok) || lines{k}(1) == '#'
      continue;
    end
    if numel(tok) == 2
      tok = {'', tok{:}};
    end
    tok{1} = strtrim(tok{1});
    files = {};
    words = strsplit(strtrim(tok{3}));
    for w = 1:numel(words)
      if any(words{w} == '/')
        files{end + 1} = fullfile(root, words{w});
      elseif isfield(lists, words{w})
        files = [files, lists.(words{w})];
      elseif ~isempty(words{w})
        error('build_modules: %s names %s before it is listed', tok{2}, words{w});
      end
    end
    [~, first] = unique(files, 'first');
    lists.(tok{2}) = files(sort(first));
    if strcmp(tok{1}, 'command')
      commands{end + 1} = tok{2};
    end
  end
  if isempty(commands)
    error('build_modules: no command in %s', file);
  end
end
