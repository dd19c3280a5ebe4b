% g = wref_mirror(h): the quadrature mirror g(k+1) = (-1)^k * h(k+1), as a
% column; odd taps are negated, so a zero there becomes -0.
function g = wref_mirror(h)
  g = h(:);
  g(2:2:end) = -g(2:2:end);
end
