#!/usr/bin/env bash
# Builds kestrane.exe and starts it under Wine in a demo game directory whose arena2
# holds nineteen classes of our own, CLASS00.CFG to CLASS18.CFG as the game names them:
# the 32-bit build where this host runs 32-bit code, else the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh

bash scripts/setup-deps.sh --gui
if host_runs_32bit; then
  build=win32
  echo "Using the 32-bit build (build/win32)"
else
  build=win64
  echo "Using the 64-bit build (build/win64): $wine32_missing"
fi
jobs=$(nproc 2>/dev/null || echo 2)
for preset in native "$build"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

demo=build/demo
mkdir -p "$demo/arena2"
cp "build/$build/kestrane.exe" "$demo/"
# A demo made before the game's upper-case names would leave a second class00.cfg beside CLASS00.CFG.
rm -f "$demo"/arena2/class*.cfg
cp build/native/demo/arena2/CLASS*.CFG "$demo/arena2/"  # our samples/, built by classcfg (target demo_classes)

use_wine_for "$build"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix-$build}"
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  # No screen here: run on a private virtual display and say how to look.
  exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  read -r _ xvfb_pid <&3
  read -r num <&3
  export DISPLAY=":$num"
  echo "No DISPLAY: running on the virtual display $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
  trap 'kill "$xvfb_pid" 2>/dev/null' EXIT
  trap 'exit 130' INT TERM
fi
if [ ! -d "$WINEPREFIX" ]; then
  "$wine_cmd" wineboot.exe -i >/dev/null 2>&1
  # Wine's own fonts, so dialogs get the real "MS Sans Serif" metrics.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
cd "$demo"
echo "Starting kestrane.exe in $PWD"
# In the background, so that an interrupt reaches this script and its clean-up at once.
"$wine_cmd" kestrane.exe &
wait $!
