#!/usr/bin/env bash
# Builds the tool (the primary win32 configuration) and runs it under Wine in Japanese.
# With no DISPLAY it runs on a virtual screen instead, saves a screenshot of its dialog under
# build/<preset> and ends it. Wine reports Windows XP to it unless ZV_WINE_VERSION names another
# version (win95, win98, win2k, win10, ...); ZV_DPI=144 shows it at 144 dots per inch.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
dpi=${ZV_DPI:-96}
preset=win32
if ! cmake/runs-32bit.sh; then
  preset=win64
  echo "This kernel cannot start 32-bit programs: running the 64-bit build instead."
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target ZorvelSetup

tool=$PWD/build/$preset/app/ZorvelSetup.exe
prefix=$PWD/build/$preset/run-prefix
screenshot=$PWD/build/$preset/ZorvelSetup-dialog-${dpi}dpi.png
caption="Zorvel インストール設定ツール"
version=${ZV_WINE_VERSION:-winxp}

wine_in_prefix() { ZV_WINE_VERSION= cmake/wine-run.sh $preset "$prefix" "$@"; }

# The dialog asks for ＭＳ Ｐゴシック, which Wine does not have: VL PGothic draws its Japanese.
# Wine draws the window frames itself, so they show without a window manager too.
prepare_prefix() {
  wine_in_prefix reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
    /d 'VL PGothic' /f >/dev/null 2>&1
  wine_in_prefix reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  # Wine takes the screen's dots per inch from here.
  wine_in_prefix reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
}

if [ -n "${DISPLAY:-}" ]; then
  prepare_prefix
  echo "Running $tool"
  ZV_WINE_VERSION=$version exec cmake/wine-run.sh $preset "$prefix" "$tool"
fi

state=$prefix.screen
DISPLAY=$(cmake/xvfb.sh start "$state" 24)
export DISPLAY
stop_all() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  cmake/xvfb.sh stop "$state"
}
trap stop_all EXIT

prepare_prefix
echo "No display: running $tool on a virtual screen ($DISPLAY)"
ZV_WINE_VERSION=$version cmake/wine-run.sh $preset "$prefix" "$tool" &

dialog_window() {
  xwininfo -root -tree 2>/dev/null | awk -v caption="\"$caption\":" 'index($0, caption) { print $1; exit }'
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window=
for _ in $(seq 120); do
  window=$(dialog_window)
  [ -n "$window" ] && viewable "$window" && break
  window=
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "The dialog did not appear." >&2
  exit 1
fi
sleep 1  # let it finish painting
import -window "$window" "$screenshot"
echo "Screenshot of the dialog: $screenshot"
