#!/bin/sh
# Runs a Windows program of the nested Windows tree under Wine, in the
# tree's own Wine prefix, with the stand-in host's DLLs on the search path.
#   run_under_wine.sh WINE PREFIX DLL_DIR PROGRAM ARG...
wine=$1 prefix=$2 dlls=$3
shift 3
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH="Z:$dlls" \
    exec "$wine" "$@"
