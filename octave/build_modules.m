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
%   from cmake/Sources.cmake, the lists every other build uses. Every file is
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

  lists = read_source_lists(fullfile(root, 'cmake', 'Sources.cmake'), root);
  commands = lists.WAVELET_COMMANDS;
  % Kernels share files (the vector variants, the strided helpers): each
  % source is compiled once, into a scratch folder, and each module links
  % the objects of its own sources.
  objdir = tempname();
  mkdir(objdir);
  cleanup = onCleanup(@() remove_folder(objdir));
  objects = struct();
  for k = 1:numel(commands)
    name = commands{k};
    sources = lists.(['WAVELET_' name '_SOURCES']);
    [~, first] = unique(sources, 'first');
    sources = sources(sort(first));
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

% The set(NAME value...) lists of a CMake file, with ${VAR} expanded, as a
% struct of cell arrays of strings.
function lists = read_source_lists(file, root)
  text = fileread(file);
  text = regexprep(text, '#[^\n]*', '');
  lists = struct('PROJECT_SOURCE_DIR', {{root}});
  calls = regexp(text, 'set\s*\(\s*(\w+)([^)]*)\)', 'tokens');
  for k = 1:numel(calls)
    name = calls{k}{1};
    words = regexp(calls{k}{2}, '"[^"]*"|[^\s"]+', 'match');
    values = {};
    for w = 1:numel(words)
      word = words{w};
      quoted = word(1) == '"';
      if quoted
        word = word(2:end - 1);
      end
      [word, parts] = expand(word, lists);
      if quoted || parts == 1
        values{end + 1} = word;
      else
        values = [values, strsplit(word, ';')];
      end
    end
    lists.(name) = values(~cellfun(@isempty, values));
  end
  if ~isfield(lists, 'WAVELET_COMMANDS')
    error('build_modules: no command list in %s', file);
  end
end

% Replaces each ${VAR} by its list joined with ';'. parts is 1 when the word
% names no list of more than one element.
function [word, parts] = expand(word, lists)
  parts = 1;
  while true
    [tok, at] = regexp(word, '\$\{(\w+)\}', 'tokens', 'start', 'once');
    if isempty(tok)
      return;
    end
    if ~isfield(lists, tok{1})
      error('build_modules: ${%s} is not set before it is used', tok{1});
    end
    value = lists.(tok{1});
    parts = max(parts, numel(value));
    word = [word(1:at - 1), strjoin(value, ';'), word(at + numel(tok{1}) + 3:end)];
  end
end
