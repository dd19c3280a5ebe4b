% The demo in GNU Octave: a 512-by-512 test image through SiftGrid_WR and
% MeldGrid_WR with the 8-tap Daubechies filter down to coarse level 3.
% Writes <build>/demo/decomposition.png (the coefficient layout, each band
% scaled for display) and <build>/demo/reconstruction.png (the image rebuilt
% from the largest 5% of the coefficients, beside the original), and prints
% the perfect-reconstruction error, the PSNR and kept energy of the 5%
% reconstruction, and the time of each call.
build = getenv('WAVELET_BUILD_DIR');
if isempty(build)
  build = 'build';
end
addpath(fullfile(build, 'octave'));
out = getenv('WAVELET_DEMO_OUT');
if isempty(out)
  out = fullfile(build, 'demo');
end
if ! exist(out, 'dir')
  mkdir(out);
end

% The worked example, and bad calls with the messages Octave shows.
y = SinkCoarse([3 1 4 1 5 9 2 6], [1 2 3 4])
d = SinkDetail([3 1 4 1 5 9 2 6], [1 2 3 4])
w = SiftGrid_WR([0 4 8 12; 1 5 9 13; 2 6 10 14; 3 7 11 15], 1, [0.5 0.5])
disp('Bad calls:');
bad = {'y = SinkCoarse([1 2 3 4 5 6], [1 1])', 'y = SinkCoarse([1 2 3 4])', ...
       'SinkDetail([1 2 3 4], [1 1])', 'w = SiftGrid_WR([1 2 3 4; 5 6 7 8], 0, [1 1])'};
for k = 1:numel(bad)
  try
    eval([bad{k} ';']);
  catch err
    printf('>> %s\nerror: %s\n', bad{k}, err.message);
  end
end
printf('\n');

n = 512;
level = 3;
keep_share = 0.05;
% Daubechies' orthonormal lowpass filter with four vanishing moments.
h = [0.2303778133088965, 0.7148465705529157, 0.6308807679298589, -0.027983769416859854, ...
     -0.18703481171909309, 0.030841381835560764, 0.0328830116668852, -0.010597401785069032];

% Test image, grey levels 0..255: a smooth field, a bright disc and a dark
% rectangle with sharp edges, a checker texture and a fine diagonal grating.
[u, v] = meshgrid(((0:n - 1) + 0.5) / n);
img = 110 + 50 * sin(2 * pi * 1.5 * u) .* cos(2 * pi * v);
img += 70 * ((u - 0.32) .^ 2 + (v - 0.34) .^ 2 < 0.18 ^ 2);
img -= 60 * (u > 0.55 & u < 0.9 & v > 0.15 & v < 0.45);
texture = u > 0.5 & v > 0.6;
img += 40 * texture .* sign(sin(2 * pi * 24 * u) .* sin(2 * pi * 24 * v));
grating = u < 0.45 & v > 0.62;
img += 30 * grating .* sin(2 * pi * 40 * (u + v));
img = min(max(img, 0), 255);

% Each call is timed as the best of five runs, after a first call has
% loaded both modules, so that the figures show the transform itself.
function [result, best] = timed(fn, varargin)
  result = fn(varargin{:});
  best = Inf;
  for run = 1:5
    t0 = tic;
    result = fn(varargin{:});
    best = min(best, toc(t0));
  end
end
[w, t_sift] = timed(@SiftGrid_WR, img, level, h);
[back, t_meld] = timed(@MeldGrid_WR, w, level, h);
pr_error = max(abs(back(:) - img(:)));

% Keep the largest 5% of the coefficients by magnitude.
magnitudes = sort(abs(w(:)), 'descend');
kept = round(keep_share * numel(w));
kept_w = w .* (abs(w) >= magnitudes(kept));
[approx, t_meld5] = timed(@MeldGrid_WR, kept_w, level, h);
psnr = 10 * log10(255 ^ 2 / mean((approx(:) - img(:)) .^ 2));
energy = sumsq(kept_w(:)) / sumsq(w(:));

% The coefficient layout: the coarse block stretched to 0..1, each detail
% band's magnitudes scaled by its own largest (square root, so that small
% details show), white lines between the nested quarters.
view = zeros(n);
c = 2 ^ level;
coarse = w(1:c, 1:c);
view(1:c, 1:c) = (coarse - min(coarse(:))) / max(max(coarse(:)) - min(coarse(:)), eps);
for s = 2 .^ (level:log2(n) - 1)
  bands = {{1:s, s + 1:2 * s}, {s + 1:2 * s, 1:s}, {s + 1:2 * s, s + 1:2 * s}};
  for b = 1:3
    [r, k] = bands{b}{:};
    band = abs(w(r, k));
    view(r, k) = sqrt(band / max(max(band(:)), eps));
  end
  view(s + 1, 1:2 * s) = 1;
  view(1:2 * s, s + 1) = 1;
end
imwrite(uint8(round(255 * view)), fullfile(out, 'decomposition.png'));
imwrite(uint8(round([img, 255 * ones(n, 4), min(max(approx, 0), 255)])), ...
        fullfile(out, 'reconstruction.png'));

printf('Test image %d-by-%d, 8-tap Daubechies filter, coarse level %d\n', n, n, level);
printf('  perfect reconstruction, max abs error:  %.3g\n', pr_error);
printf('  largest %g%% of coefficients kept:       %d of %d\n', 100 * keep_share, nnz(kept_w), numel(w));
printf('  PSNR of the 5%% reconstruction:          %.2f dB\n', psnr);
printf('  share of energy in kept coefficients:   %.4f%%\n', 100 * energy);
printf('  time per call (best of 5): SiftGrid_WR %.2f ms, MeldGrid_WR %.2f ms, MeldGrid_WR on the 5%% %.2f ms\n', ...
       1e3 * t_sift, 1e3 * t_meld, 1e3 * t_meld5);
printf('  wrote %s and %s\n', fullfile(out, 'decomposition.png'), fullfile(out, 'reconstruction.png'));
