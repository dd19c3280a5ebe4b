% msg = wcall_message(fn, args, nout): call fn(args{:}) asking for nout
% results and return the error message, or '' when the call succeeded.
function msg = wcall_message(fn, args, nout)
  msg = '';
  try
    switch nout
      case 0
        fn(args{:});
      case 1
        r1 = fn(args{:});
      otherwise
        [r1, r2] = fn(args{:});
    end
  catch err
    msg = err.message;
  end
end
