% wcheck(ok, fmt, ...): fail the test with the formatted message unless ok.
function wcheck(ok, varargin)
  if ! (islogical(ok) || isnumeric(ok)) || ! isscalar(ok) || ! ok
    error('check failed: %s', sprintf(varargin{:}));
  end
end
