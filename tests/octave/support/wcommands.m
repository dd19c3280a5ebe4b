% names = wcommands(): every command the modules deliver, in the order of the
% help's Contents.
function names = wcommands()
  names = {'SinkCoarse', 'SinkDetail', 'RaiseCoarse', 'RaiseDetail', 'SiftGrid_WR', 'MeldGrid_WR', ...
           'SiftSignal_WR', 'MeldSignal_WR'};
end
