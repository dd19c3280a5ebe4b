% w = wsift_loop(x, L, h): the forward transform of every column of x as a
% user writes it, SinkCoarse and SinkDetail level by level down to max(L, 0).
function w = wsift_loop(x, L, h)
  w = x;
  for c = 1:columns(x)
    len = rows(x);
    while len >= 2 && len > 2 ^ max(L, 0)
      part = w(1:len, c);
      w(1:len, c) = [SinkCoarse(part, h); SinkDetail(part, h)];
      len = len / 2;
    end
  end
end
