#!/usr/bin/env bash
# The demo: the worked example and a round of bad calls, as a user sees them,
# then a 512-by-512 test image through SiftGrid_WR and MeldGrid_WR.
#
# With GNU Octave and the Octave modules present, everything runs in Octave
# (demo/demo.m) and the images are PNG. Otherwise the same steps run through
# the stand-in host: the worked examples through build/bin/mexcall, the image
# through build/bin/wavelet_demo, and the images are PGM.
set -u
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
octave=$(command -v octave-cli || true)

if [ -n "$octave" ] && [ -f "$build/octave/SiftGrid_WR.oct" ]; then
    echo "== GNU Octave $("$octave" --version | head -n 1 | sed 's/.*version //'), modules in $build/octave"
    WAVELET_BUILD_DIR="$build" exec "$octave" --no-gui --norc --no-history "$here/demo.m"
fi

echo "== No Octave here: the stand-in host and the MATLAB-interface modules"
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

exec "$build/bin/wavelet_demo" "$build"
