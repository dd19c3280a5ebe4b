% The Octave demo runs to the end, rebuilds the image exactly to rounding,
% and writes the two images at their sizes, each with a caption band above
% (dark text on white) and the picture below it.
[modules, sources, build] = wsetup();
scratch = getenv('WAVELET_SCRATCH_DIR');
setenv('WAVELET_DEMO_OUT', scratch);
text = evalc('run(fullfile(sources, ''demo'', ''demo.m''))');
error_shown = str2double(regexp(text, 'max abs error:\s*(\S+)', 'tokens', 'once'){1});
psnr = str2double(regexp(text, 'PSNR of the 5% reconstruction:\s*(\S+) dB', 'tokens', 'once'){1});
wcheck(error_shown < 1e-11, 'perfect reconstruction error %g', error_shown);
wcheck(psnr > 25 && psnr < 100, 'PSNR %g dB', psnr);
wcheck(! isempty(strfind(text, 'SinkCoarse: SinkCoarse requires dyadic length')), 'no bad-call message');
for file = {{'decomposition.png', 512}, {'reconstruction.png', 1028}}
  [name, width] = file{1}{:};
  img = imread(fullfile(scratch, name));
  band = img(1:end - 512, :);
  wcheck(columns(img) == width && rows(img) > 512 + 10, '%s is %s', name, mat2str(size(img)));
  wcheck(any(band(:) == 0) && mean(band(:)) > 200, '%s has no caption', name);
end
disp(text);
