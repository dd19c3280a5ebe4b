% Y = wref_up(X, h, branch): one periodized synthesis step up every column of
% X (e rows), giving 2e rows. With taps split by parity (even taps t(2j+1),
% odd taps t(2j+2)):
%   'lo' (t = h):        Y(2i+1) = sum_j t(2j+1) X(mod(i-j, e)+1),
%                        Y(2i+2) = sum_j t(2j+2) X(mod(i-j, e)+1);
%   'hi' (t = mirror h): Y(2i+2) = sum_j t(2j+1) X(mod(i+j, e)+1),
%                        Y(2i+1) = sum_j t(2j+2) X(mod(i+j, e)+1).
% Every sum starts at +0 and adds the taps in increasing order.
function Y = wref_up(X, h, branch)
  e = rows(X);
  t = h(:);
  step = -1;
  if strcmp(branch, 'hi')
    t = wref_mirror(h);
    step = 1;
  end
  i = (0:e - 1)';
  evens = zeros(e, columns(X));
  odds = zeros(e, columns(X));
  for j = 0:ceil(numel(t) / 2) - 1
    evens = evens + t(2 * j + 1) * X(mod(i + step * j, e) + 1, :);
  end
  for j = 0:floor(numel(t) / 2) - 1
    odds = odds + t(2 * j + 2) * X(mod(i + step * j, e) + 1, :);
  end
  Y = zeros(2 * e, columns(X));
  if strcmp(branch, 'lo')
    Y(1:2:end, :) = evens;
    Y(2:2:end, :) = odds;
  else
    Y(2:2:end, :) = evens;
    Y(1:2:end, :) = odds;
  end
end
