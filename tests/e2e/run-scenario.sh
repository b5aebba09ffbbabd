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

# The driver runs in the background so that a TERM to this script reaches it (and its
# job object then ends the program); its output is followed live for screenshot requests.
limit=${E2E_SCENARIO_TIMEOUT:-120}
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
    import -display "$DISPLAY" -window root "$shots/$name.png" && echo "   screenshot: $shots/$name.png"
    : >"$game/.screenshot-$name.done"
    ;;
  esac
done &
follower=$!
status=0
wait "$drv" || status=$?
while kill -0 "$drv" 2>/dev/null; do wait "$drv" || status=$?; done
wait "$follower"
[ "$status" = 124 ] && echo "e2e: the driver did not finish within $limit s"
exit "$status"
