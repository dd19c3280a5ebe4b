#!/usr/bin/env bash
# The worked example and a round of bad calls through the command-line front
# end: what a MATLAB user sees, without MATLAB.
set -u
build=${1:-build}
mexcall="$build/bin/mexcall"
mod="$build/glnxa64"

run() {
    printf '>> %s\n' "$*"
    "$mexcall" "$@" 2>&1
    printf '\n'
}

run "$mod/SinkCoarse.mexa64" '[3 1 4 1 5 9 2 6]' '[1 2 3 4]'
run "$mod/SinkDetail.mexa64" '[3 1 4 1 5 9 2 6]' '[1 2 3 4]'
run "$mod/RaiseCoarse.mexa64" '[1 2 3 4]' '[1 2 3]'
run "$mod/RaiseDetail.mexa64" '[1 2 3 4]' '[1 2 3]'
run "$mod/SiftGrid_WR.mexa64" '[0 4 8 12; 1 5 9 13; 2 6 10 14; 3 7 11 15]' 1 '[0.5 0.5]'
echo "Bad calls:"
run "$mod/SinkCoarse.mexa64" '[1 2 3 4 5 6]' '[1 1]'
run "$mod/SinkCoarse.mexa64" '[1 2 3 4]'
run --nargout 0 "$mod/SinkDetail.mexa64" '[1 2 3 4]' '[1 1]'
run "$mod/SiftGrid_WR.mexa64" '[1 2 3 4; 5 6 7 8]' 0 '[1 1]'
exit 0
