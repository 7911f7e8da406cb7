#!/bin/sh
# tools/wine-env sourced as tools/test-all does, once per width in one shell: each width gets
# its own prefix, architecture and loader, whatever the earlier sourcing exported, and
# VQ_WINEPREFIX names another prefix for a run.
# usage: wine_env_test.sh SOURCE_DIR
set -u
root=$1
unset VQ_WINEPREFIX VQ_WINE_BITS WINEPREFIX WINEARCH WINELOADER
failures=0
expect() {  # WHAT PREFIX ARCH LOADER WINE
  if [ "$WINEPREFIX|$WINEARCH|${WINELOADER:-}|$WINE" != "$2|$3|$4|$5" ]; then
    echo "FAILED: $1: $WINEPREFIX|$WINEARCH|${WINELOADER:-}|$WINE, expected $2|$3|$4|$5"
    failures=$((failures + 1))
  fi
}
. "$root/tools/wine-env"
expect "32-bit first" "$root/build/wine-prefix" win32 "" wine
VQ_WINE_BITS=64
. "$root/tools/wine-env"
expect "64-bit after 32-bit" "$root/build/wine64-prefix" win64 /usr/lib/wine/wine64 \
  /usr/lib/wine/wine64
VQ_WINE_BITS=32
. "$root/tools/wine-env"
expect "32-bit after 64-bit" "$root/build/wine-prefix" win32 "" wine
VQ_WINEPREFIX=/elsewhere/prefix
. "$root/tools/wine-env"
expect "a prefix named for the run" /elsewhere/prefix win32 "" wine
[ "$failures" -eq 0 ] && echo "wine-env: each width in its own prefix"
