% y = wref_command(name, varargin): what the named command returns, computed
% by the reference: the orientation rule of the one-dimensional commands
% (a one-row argument is the signal, anything else gives its first column,
% and the result takes the signal's orientation) and the multi-level grid
% transforms built from wref_down and wref_up.
function y = wref_command(name, varargin)
  switch name
    case {'SinkCoarse', 'SinkDetail', 'RaiseCoarse', 'RaiseDetail'}
      [x, h] = varargin{:};
      is_row = rows(x) == 1;
      if is_row
        v = x(1, :)';
      else
        v = x(:, 1);
      end
      branch = 'lo';
      if any(strcmp(name, {'SinkDetail', 'RaiseDetail'}))
        branch = 'hi';
      end
      if strncmp(name, 'Sink', 4)
        y = wref_down(v, h, branch);
      else
        y = wref_up(v, h, branch);
      end
      if is_row
        y = y.';
      end
    case 'SiftGrid_WR'
      y = sift(varargin{:});
    case 'MeldGrid_WR'
      y = meld(varargin{:});
    otherwise
      error('wref_command: no reference for %s', name);
  end
end

% Levels J-1 down to L: columns of the top-left block first, then its rows.
function w = sift(x, level, h)
  n = rows(x);
  J = round(log2(max(n, 1)));
  L = max(floor(level(1) + 0.5), 0);
  w = x;
  s = n;
  for lev = J - 1:-1:L
    b = w(1:s, 1:s);
    b = [wref_down(b, h, 'lo'); wref_down(b, h, 'hi')];
    b = [wref_down(b.', h, 'lo').', wref_down(b.', h, 'hi').'];
    w(1:s, 1:s) = b;
    s = s / 2;
  end
end

% Levels L up to J-1: rows of the doubled block first, then its columns; each
% is the coarse half raised with h plus the detail half raised with the mirror.
function x = meld(w, level, h)
  n = rows(w);
  J = round(log2(max(n, 1)));
  L = max(floor(level(1) + 0.5), 0);
  x = w;
  if L >= J
    return;
  end
  e = 2 ^ L;
  for lev = L:J - 1
    s = 2 * e;
    b = x(1:s, 1:s).';
    b = (wref_up(b(1:e, :), h, 'lo') + wref_up(b(e + 1:s, :), h, 'hi')).';
    b = wref_up(b(1:e, :), h, 'lo') + wref_up(b(e + 1:s, :), h, 'hi');
    x(1:s, 1:s) = b;
    e = s;
  end
end
