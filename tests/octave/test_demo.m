% The Octave demo runs to the end, rebuilds the image exactly to rounding,
% and writes the two images at their sizes.
[modules, sources, build] = wsetup();
scratch = getenv('WAVELET_SCRATCH_DIR');
setenv('WAVELET_DEMO_OUT', scratch);
text = evalc('run(fullfile(sources, ''demo'', ''demo.m''))');
error_shown = str2double(regexp(text, 'max abs error:\s*(\S+)', 'tokens', 'once'){1});
psnr = str2double(regexp(text, 'PSNR of the 5% reconstruction:\s*(\S+) dB', 'tokens', 'once'){1});
wcheck(error_shown < 1e-11, 'perfect reconstruction error %g', error_shown);
wcheck(psnr > 25 && psnr < 100, 'PSNR %g dB', psnr);
wcheck(! isempty(strfind(text, 'SinkCoarse: SinkCoarse requires dyadic length')), 'no bad-call message');
wcheck(isequal(size(imread(fullfile(scratch, 'decomposition.png'))), [512 512]), 'decomposition.png');
wcheck(isequal(size(imread(fullfile(scratch, 'reconstruction.png'))), [512 1028]), 'reconstruction.png');
disp(text);
