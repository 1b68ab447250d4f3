#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest and the scripts:
#   wine-run.sh <win32|win64> <prefix dir> <program.exe> [args...]
# The prefix is made on first use (Japanese locale, so the ANSI code page is 932).
# Without a DISPLAY, an Xvfb screen is started once per prefix and reused.
# ZV_WINE_VERSION (win95, winxp, ...) makes Wine report that Windows version to this program.
set -euo pipefail

arch=$1 prefix=$2 program=$3
shift 3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

export WINEARCH=$arch WINEPREFIX=$prefix
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Debian's wine script always takes the 32-bit loader when wine32 is installed, which cannot
# start where the kernel runs no 32-bit programs: name the loader the prefix needs.
if [ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
else
  export WINELOADER=$(command -v wine)
fi

if [ -z "${DISPLAY:-}" ]; then
  DISPLAY=$("$here/xvfb.sh" ensure "$prefix.display")
  export DISPLAY
fi

# ctest may start several programs at once: only one of them makes the prefix.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$WINELOADER" wineboot -i 9>&- >/dev/null 2>&1
    wineserver -w 9>&-
  fi
  flock -u 9
fi

# reg has failed once, at random, in a long parallel run: it gets three tries, and a failure
# says what reg said instead of ending the test without a word.
if [ -n "${ZV_WINE_VERSION:-}" ]; then
  exe=$(basename "$program")
  for try in 1 2 3; do
    if said=$(WINEDEBUG=err+all "$WINELOADER" reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" \
                /v Version /d "$ZV_WINE_VERSION" /f 2>&1); then
      break
    fi
    if [ $try = 3 ]; then
      echo "wine-run.sh: could not make Wine report $ZV_WINE_VERSION to $exe: $said" >&2
      exit 1
    fi
    sleep 1
  done
fi

exec "$WINELOADER" "$program" "$@"
