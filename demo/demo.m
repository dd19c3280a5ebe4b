% The demo in GNU Octave: a 512-by-512 test image through SiftGrid_WR and
% MeldGrid_WR with the 8-tap Daubechies filter down to coarse level 3.
% Writes <build>/demo/decomposition.png (the coefficient layout, each band
% scaled for display) and <build>/demo/reconstruction.png (the image rebuilt
% from the largest 5% of the coefficients, beside the original), each with a
% caption that says what it shows, and prints
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
% A caption band of the given width: the text in capitals of a 5-by-7
% pixel font, each pixel a scale-by-scale square, black on white.
function band = caption(text, width, scale)
  glyphs = containers.Map();
  rows7 = {'A', [14 17 17 31 17 17 17]; 'B', [30 17 17 30 17 17 30]; 'C', [14 17 16 16 16 17 14];
           'D', [28 18 17 17 17 18 28]; 'E', [31 16 16 30 16 16 31]; 'F', [31 16 16 30 16 16 16];
           'G', [14 17 16 23 17 17 15]; 'H', [17 17 17 31 17 17 17]; 'I', [14 4 4 4 4 4 14];
           'J', [7 2 2 2 2 18 12]; 'K', [17 18 20 24 20 18 17]; 'L', [16 16 16 16 16 16 31];
           'M', [17 27 21 21 17 17 17]; 'N', [17 17 25 21 19 17 17]; 'O', [14 17 17 17 17 17 14];
           'P', [30 17 17 30 16 16 16]; 'Q', [14 17 17 17 21 18 13]; 'R', [30 17 17 30 20 18 17];
           'S', [15 16 16 14 1 1 30]; 'T', [31 4 4 4 4 4 4]; 'U', [17 17 17 17 17 17 14];
           'V', [17 17 17 17 17 10 4]; 'W', [17 17 17 21 21 21 10]; 'X', [17 17 10 4 10 17 17];
           'Y', [17 17 10 4 4 4 4]; 'Z', [31 1 2 4 8 16 31]; '0', [14 17 19 21 25 17 14];
           '1', [4 12 4 4 4 4 14]; '2', [14 17 1 2 4 8 31]; '3', [31 2 4 2 1 17 14];
           '4', [2 6 10 18 31 2 2]; '5', [31 16 30 1 1 17 14]; '6', [6 8 16 30 17 17 14];
           '7', [31 1 2 4 8 8 8]; '8', [14 17 17 14 17 17 14]; '9', [14 17 17 15 1 2 12];
           ',', [0 0 0 0 12 4 8]; '.', [0 0 0 0 0 12 12]; ':', [0 12 12 0 12 12 0];
           '%', [24 25 2 4 8 19 3]; '-', [0 0 0 31 0 0 0]; '(', [2 4 8 8 8 4 2];
           ')', [8 4 2 2 2 4 8]; '/', [0 1 2 4 8 16 0]; ' ', [0 0 0 0 0 0 0]};
  for k = 1:rows(rows7)
    glyphs(rows7{k, 1}) = rows7{k, 2};
  end
  ink = zeros(7, 0);
  for ch = upper(text)
    bits = bitand(glyphs(ch)' * ones(1, 5), ones(7, 1) * 2 .^ (4:-1:0)) > 0;
    ink = [ink, bits, zeros(7, 1)];
  end
  ink = kron(ink, ones(scale));
  band = 255 * ones(rows(ink) + 2 * scale * 3, width);
  left = max(floor((width - columns(ink)) / 2), 0) + 1;
  cols = left:min(left + columns(ink) - 1, width);
  band(3 * scale + (1:rows(ink)), cols) = 255 * (1 - ink(:, 1:numel(cols)));
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
% Each picture says what it shows in a caption band above it.
view = [caption(sprintf('Decomposition, levels %d to %d', log2(n) - 1, level), n, 2);
        caption('coarse block top left, finest details outside', n, 1); 255 * view];
imwrite(uint8(round(view)), fullfile(out, 'decomposition.png'));
pair = [img, 255 * ones(n, 4), min(max(approx, 0), 255)];
left = caption('Original', n, 2);
labels = [left, 255 * ones(rows(left), 4), ...
          caption(sprintf('Largest 5%%: PSNR %.2f dB', psnr), n, 2)];
imwrite(uint8(round([labels; pair])), fullfile(out, 'reconstruction.png'));

printf('Test image %d-by-%d, 8-tap Daubechies filter, coarse level %d\n', n, n, level);
printf('  perfect reconstruction, max abs error:  %.3g\n', pr_error);
printf('  largest %g%% of coefficients kept:       %d of %d\n', 100 * keep_share, nnz(kept_w), numel(w));
printf('  PSNR of the 5%% reconstruction:          %.2f dB\n', psnr);
printf('  share of energy in kept coefficients:   %.4f%%\n', 100 * energy);
printf('  time per call (best of 5): SiftGrid_WR %.2f ms, MeldGrid_WR %.2f ms, MeldGrid_WR on the 5%% %.2f ms\n', ...
       1e3 * t_sift, 1e3 * t_meld, 1e3 * t_meld5);
printf('  wrote %s and %s\n', fullfile(out, 'decomposition.png'), fullfile(out, 'reconstruction.png'));
