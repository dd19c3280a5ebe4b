% Periodized wavelet transforms
% Version 1.0.0
%
% One-dimensional analysis and synthesis (one level)
%   SinkCoarse  - Periodized lowpass analysis: filter, then keep every second sample.
%   SinkDetail  - Periodized highpass analysis with the quadrature mirror of h.
%   RaiseCoarse - Periodized lowpass synthesis: double the length, then filter.
%   RaiseDetail - Periodized highpass synthesis with the quadrature mirror of h.
%
% Signals and the columns of a matrix (many levels)
%   SiftSignal_WR - Forward multi-level periodized wavelet transform of signals.
%   MeldSignal_WR - Inverse multi-level periodized wavelet transform of signals.
%
% Two-dimensional transforms of square grids (many levels)
%   SiftGrid_WR - Forward periodized 2-D wavelet transform of a square grid.
%   MeldGrid_WR - Inverse periodized 2-D wavelet transform of a square grid.
%
% Filters
%   orthofilter - Lowpass filter of a standard orthonormal wavelet (haar, db, sym, coif).
%
% First steps: help orthofilter.
