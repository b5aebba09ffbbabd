#!/usr/bin/env bash
# The end-to-end suite's shared environment: one private Xvfb display and one private
# Wine prefix for all scenarios, of the kind the build under test needs.
#   e2e-env.sh setup STATE_DIR [win32|win64]   start both, write STATE_DIR/env
#   e2e-env.sh cleanup STATE_DIR               stop both, remove the prefix and STATE_DIR
set -uo pipefail

action=${1:?setup or cleanup}
state=${2:?state directory}
build=${3:-win32}
# shellcheck source=../../scripts/wine-lib.sh
. "$(dirname "$0")/../../scripts/wine-lib.sh"

stop_all() {
  [ -f "$state/env" ] || return 0
  # shellcheck disable=SC1091
  . "$state/env"
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1
    WINEPREFIX=$WINEPREFIX timeout 15 wineserver -w >/dev/null 2>&1
    case $WINEPREFIX in /tmp/kestrane-e2e-wine.*) rm -rf "$WINEPREFIX" ;; esac
  fi
  if [ -n "${E2E_XVFB_PID:-}" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
    kill "$E2E_XVFB_PID"
    for _ in $(seq 50); do kill -0 "$E2E_XVFB_PID" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -rf "$state"
}

case $action in
cleanup)
  stop_all
  exit 0
  ;;
setup) ;;
*)
  echo "unknown action $action" >&2
  exit 2
  ;;
esac

stop_all  # what a run that never reached its cleanup left behind
for tool in Xvfb wineserver; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed (scripts/setup-deps.sh --gui)" >&2; exit 1; }
done
use_wine_for "$build" || exit 1
[ -x "$wine_cmd" ] || { echo "e2e: $wine_cmd is not installed (scripts/setup-deps.sh --gui)" >&2; exit 1; }
mkdir -p "$state"

# A free display of our own; Xvfb writes its number once it listens. Its output goes to
# a file so that CTest does not wait for it to close our pipes. The screen holds the
# window at 192 dpi.
setsid Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$state/display" \
  </dev/null >"$state/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$state/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$state/display" ]; then
  echo "e2e: Xvfb did not start:" >&2
  cat "$state/xvfb.log" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi
display=":$(tr -dc 0-9 <"$state/display")"
prefix=$(mktemp -d /tmp/kestrane-e2e-wine.XXXXXX)
cat >"$state/env" <<ENV
export DISPLAY=$display
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=$WINEARCH
${WINELOADER:+export WINELOADER=$WINELOADER}
E2E_WINE=$wine_cmd
E2E_XVFB_PID=$xvfb_pid
ENV
. "$state/env"

# One wineserver for the whole suite, so each scenario does not pay for a new one.
wineserver -p </dev/null >/dev/null 2>&1
if ! timeout 120 "$E2E_WINE" wineboot.exe -i </dev/null >"$state/wineboot.log" 2>&1; then
  echo "e2e: wineboot failed:" >&2
  cat "$state/wineboot.log" >&2
  stop_all
  exit 1
fi
# Wine's own fonts (package fonts-wine) give dialogs the real "MS Sans Serif" metrics;
# without them Wine falls back to a much wider font and captions are cut off.
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
else
  echo "e2e: warning: /usr/share/wine/fonts is missing (install fonts-wine); captions may be cut off" >&2
fi
# Without a window manager Wine waits at every unmap unless its windows are unmanaged.
timeout 60 "$E2E_WINE" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 ||
  { echo "e2e: cannot set the X11 driver option" >&2; stop_all; exit 1; }
echo "e2e: display $DISPLAY, $WINEARCH Wine prefix $WINEPREFIX"
