#!/bin/sh
# Fills the Windows tree's Wine prefix with Wine's first start, which every
# other Windows test waits for, and keeps the Wine server up for them. Wine
# hangs without a tmpfs at /dev/shm (a bare chroot has none): that is said
# at once instead.
#   wine_prefix.sh WINE PREFIX DLL_DIR WINESERVER
if [ "$(stat -f -c %T /dev/shm 2>/dev/null)" != tmpfs ]; then
    echo 'Wine needs a tmpfs at /dev/shm (mount -t tmpfs tmpfs /dev/shm)'
    exit 1
fi
"$(dirname "$0")/run_under_wine.sh" "$1" "$2" "$3" cmd /c exit 0 || exit 1
WINEPREFIX=$2 "$4" -p30 >/dev/null 2>&1 </dev/null
exit 0
