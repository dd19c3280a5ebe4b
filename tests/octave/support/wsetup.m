% [modules, source, build, ext] = wsetup(): the folders a test works with,
% from the environment CTest gives it, and the extension of the modules
% under test (oct: native functions, mex: the MEX form); puts the Octave
% modules on the path.
function [modules, source, build, ext] = wsetup()
  modules = getenv('WAVELET_OCTAVE_MODULES');
  source = getenv('WAVELET_SOURCE_DIR');
  build = getenv('WAVELET_BUILD_DIR');
  ext = getenv('WAVELET_OCTAVE_EXT');
  if isempty(modules) || ! exist(fullfile(modules, ['SinkCoarse.' ext]), 'file')
    error('no Octave modules (.%s) in "%s"', ext, modules);
  end
  addpath(modules);
  rand('state', 20261208);
  randn('state', 20261208);
end
