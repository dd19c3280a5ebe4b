% Y = wref_down(X, h, branch): one periodized analysis step down every column
% of X (s rows), written as plain modular indexing and kept independent of
% the modules. branch 'lo': Y(i+1,:) = sum_j h(j+1) X(mod(2i+j, s)+1, :);
% branch 'hi': the mirror g of h and Y(i+1,:) = sum_j g(j+1) X(mod(2i+1-j, s)+1, :).
% Every sum starts at +0 and adds the taps in increasing order.
function Y = wref_down(X, h, branch)
  s = rows(X);
  f = h(:);
  if strcmp(branch, 'hi')
    f = wref_mirror(h);
  end
  i = (0:floor(s / 2) - 1)';
  Y = zeros(numel(i), columns(X));
  for j = 0:numel(f) - 1
    if strcmp(branch, 'lo')
      k = mod(2 * i + j, s) + 1;
    else
      k = mod(2 * i + 1 - j, s) + 1;
    end
    Y = Y + f(j + 1) * X(k, :);
  end
end
