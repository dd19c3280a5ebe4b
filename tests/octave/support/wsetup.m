% [modules, source, build] = wsetup(): the folders a test works with, from
% the environment CTest gives it; puts the Octave modules on the path.
function [modules, source, build] = wsetup()
  modules = getenv('WAVELET_OCTAVE_MODULES');
  source = getenv('WAVELET_SOURCE_DIR');
  build = getenv('WAVELET_BUILD_DIR');
  if isempty(modules) || ! exist(fullfile(modules, 'SinkCoarse.mex'), 'file')
    error('no Octave modules in "%s"', modules);
  end
  addpath(modules);
  rand('state', 20261208);
  randn('state', 20261208);
end
