#!/usr/bin/env bash
# Runs one scenario: a fresh game directory holding a copy of kestrane.exe, the driver
# started there under Wine with a bounded time, the directory removed afterwards.
#   run-scenario.sh STATE_DIR KESTRANE_EXE KDRIVER_EXE SCENARIO_FILE
# Screenshots asked for by the scenario land in $E2E_SHOT_DIR (default: beside STATE_DIR).
set -uo pipefail

state=${1:?state directory} exe=${2:?kestrane.exe} driver=${3:?kdriver.exe} scenario=${4:?scenario}
if [ ! -f "$state/env" ]; then
  echo "e2e: no display or Wine prefix: the e2e.setup fixture has not run" >&2
  exit 1
fi
# shellcheck disable=SC1091
. "$state/env"
[ -f "$exe" ] || { echo "e2e: $exe has not been built" >&2; exit 1; }
scenario=$(cd "$(dirname "$scenario")" && pwd)/$(basename "$scenario")
shots=${E2E_SHOT_DIR:-$(dirname "$state")/e2e-shots}

game=$(mktemp -d /tmp/kestrane-e2e-game.XXXXXX)
log=$(mktemp /tmp/kestrane-e2e-log.XXXXXX)
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$game/$mounted" 2>/dev/null
  rm -rf "$game" "$log"
}
trap cleanup EXIT
cp "$exe" "$game/"

# "#! tmpfs DIR SIZE": DIR under the game directory is a small file system of its own,
# so a scenario can fill it. Mounting needs root; elsewhere the scenario is skipped.
while read -r _ directive dir size; do
  [ "$directive" = tmpfs ] || continue
  mkdir -p "$game/$dir"
  if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o "size=$size" tmpfs "$game/$dir" 2>/dev/null; then
    echo "e2e: skipped: mounting a $size tmpfs needs root, and it was refused here"
    exit 77
  fi
  mounted=$dir
done < <(grep '^#! ' "$scenario")
# "#! env NAME VALUE": the scenario's programs run with NAME set to VALUE.
while read -r _ directive name value; do
  [ "$directive" = env ] && export "$name=$value"
done < <(grep '^#! ' "$scenario")
cd "$game" || exit 1

# "#! dpi N...": the scenario runs once at each of these screen resolutions (Wine's
# LogPixels, read by a program when it starts), and the prefix is set back to 96 after.
# "#! plain-prefix": it runs once more in a prefix of its own, made as a Linux user's
# first `wine` makes one (no fonts copied in), removed afterwards.
dpis=$(sed -n 's/^#! dpi //p' "$scenario" | head -1)
plain=""
grep -q '^#! plain-prefix' "$scenario" && plain=yes
set_dpi() {
  timeout 60 "${E2E_WINE:-wine}" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1 || { echo "e2e: cannot set LogPixels to $1"; return 1; }
}
plain_prefix=""
restore() {
  [ -n "$dpis" ] && set_dpi 96
  if [ -n "$plain_prefix" ]; then
    WINEPREFIX=$plain_prefix wineserver -k >/dev/null 2>&1
    WINEPREFIX=$plain_prefix timeout 15 wineserver -w >/dev/null 2>&1
    rm -rf "$plain_prefix"
  fi
  cleanup
}
trap restore EXIT

# The driver runs in the background so that a TERM to this script reaches it (and its
# job object then ends the program); its output is followed live for screenshot requests.
limit=${E2E_SCENARIO_TIMEOUT:-120}
run_driver() {
  timeout -k 5 "$limit" "${E2E_WINE:-wine}" "$driver" "$scenario" >"$log" 2>&1 &
  drv=$!
  trap 'kill -TERM "$drv" 2>/dev/null' TERM INT HUP
  tail -s 0.1 -n +1 -f --pid="$drv" "$log" | while IFS= read -r line; do
    line=${line%$'\r'}
    printf '%s\n' "$line"
    case $line in
    '@@screenshot '*)
      name=${line#@@screenshot }
      name=${name%% *}
      mkdir -p "$shots"
      import -display "$DISPLAY" -window root "$shots/$name$shot_suffix.png" &&
        echo "   screenshot: $shots/$name$shot_suffix.png"
      : >"$game/.screenshot-$name.done"
      ;;
    esac
  done &
  follower=$!
  local status=0
  wait "$drv" || status=$?
  while kill -0 "$drv" 2>/dev/null; do wait "$drv" || status=$?; done
  wait "$follower"
  [ "$status" = 124 ] && echo "e2e: the driver did not finish within $limit s"
  return "$status"
}

status=0
shot_suffix=""
for dpi in ${dpis:-none}; do
  if [ "$dpi" != none ]; then
    echo "e2e: at $dpi dpi"
    set_dpi "$dpi" || exit 1
    shot_suffix="-$dpi"
  fi
  run_driver || { status=$?; break; }
done
if [ "$status" = 0 ] && [ -n "$plain" ]; then
  [ -n "$dpis" ] && set_dpi 96
  plain_prefix=$(mktemp -d /tmp/kestrane-e2e-plain.XXXXXX)
  echo "e2e: in a prefix without copied fonts, $plain_prefix"
  export WINEPREFIX=$plain_prefix
  if ! timeout 120 "${E2E_WINE:-wine}" wineboot.exe -i </dev/null >/dev/null 2>&1 ||
    ! timeout 60 "${E2E_WINE:-wine}" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
      </dev/null >/dev/null 2>&1; then
    echo "e2e: the plain prefix could not be made"
    exit 1
  fi
  shot_suffix="-plain"
  run_driver || status=$?
fi
exit "$status"
