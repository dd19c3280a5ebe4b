% x = wmeld_loop(w, L, h): the inverse transform of every column of w as a
% user writes it, RaiseCoarse + RaiseDetail level by level from max(L, 0).
function x = wmeld_loop(w, L, h)
  x = w;
  for c = 1:columns(w)
    e = 2 ^ max(L, 0);
    while e < rows(w)
      x(1:2 * e, c) = RaiseCoarse(x(1:e, c), h) + RaiseDetail(x(e + 1:2 * e, c), h);
      e = 2 * e;
    end
  end
end
