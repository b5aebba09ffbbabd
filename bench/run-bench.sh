#!/usr/bin/env bash
# The performance budget, measured in one run under Wine on a private display:
#   1. start-up: median time from process start to the window being visible, over 10
#      runs each, the three programs taking turns: kestrane.exe against
#      bench/template_baseline.exe (a bare modeless sheet with kestrane.exe's five page
#      templates, no page code, nothing filled); budget: ratio at most 1.10; and, for
#      information, against bench/baseline.exe (the same sheet with one empty page);
#   2. page switches: median time of a switch to Basic Info and of a switch to
#      Resistance and Weakness, 300 of each, taking turns; budget: Basic Info at most
#      1.5 times Resistance and Weakness;
#   3. boxes: median time from the command to the Classes window shown and drawn, over
#      a folder of nineteen class files, against the About box's, 30 of each, taking
#      turns; budget: ratio at most 2.0;
#   4. kestrane.exe at most 300 KiB, importing only Windows system DLLs;
#   5. a long session (2,000 page switches, 5,001 arrow steps, 500 saves, then every step
#      undone): the bytes read back in the record and on disk, private memory within 2 MB
#      of where it was once every page had been shown, and the window count unchanged.
# Usage: bench/run-bench.sh [win32|win64]   (builds the preset when its programs are missing)
# Without an argument it measures the 32-bit build where this host runs 32-bit code,
# else the 64-bit one.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if [ $# -gt 1 ] || { [ $# = 1 ] && [ "$1" != win32 ] && [ "$1" != win64 ]; }; then
  echo "usage: bench/run-bench.sh [win32|win64]" >&2
  exit 2
fi
# shellcheck source=../scripts/wine-lib.sh
. scripts/wine-lib.sh
if [ $# = 1 ]; then
  preset=$1
elif host_runs_32bit; then
  preset=win32
else
  echo "bench: measuring the 64-bit build: $wine32_missing"
  preset=win64
fi
build=$root/build/$preset
case $preset in
  win32) objdump=i686-w64-mingw32-objdump ;;
  win64) objdump=x86_64-w64-mingw32-objdump ;;
esac
for f in kestrane.exe bench/baseline.exe bench/template_baseline.exe tests/e2e/kdriver.exe; do
  if [ ! -f "$build/$f" ]; then
    { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$(nproc)" >/dev/null; } ||
      { echo "bench: cannot build the $preset preset" >&2; exit 1; }
    break
  fi
done
echo "bench: the $preset build ($build)"

work=$(mktemp -d /tmp/kestrane-bench.XXXXXX)
state=$work/state
cleanup() {
  bash tests/e2e/e2e-env.sh cleanup "$state" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
bash tests/e2e/e2e-env.sh setup "$state" "$preset" >/dev/null || { echo "bench: cannot start Xvfb and Wine" >&2; exit 1; }

# Our Lamplighter sample: every value fits its field, so the session must end on these bytes.
lamplighter=020000000104010000000100000100191718021b15121c140e0100104c616d706c696768746572000000000000000000000000000c00004001002d003c00370032002d00370032003200
fail=0
# judge WHAT A B BUDGET TEXT: prints TEXT, the ratio of A to B and whether it is
# within BUDGET; a ratio over it, or A or B not measured, fails the bench.
judge() {
  local ratio verdict what=$1
  shift
  if [ -z "$1" ] || [ -z "$2" ]; then
    echo "$what: not measured"
    fail=1
    return
  fi
  ratio=$(awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }')
  verdict=$(awk -v r="$ratio" -v m="$3" 'BEGIN { print (r <= m) ? "within" : "OVER" }')
  echo "$4: ratio ${ratio}, ${verdict} the budget of $3"
  [ "$verdict" = within ] || fail=1
}

run() {  # run SCENARIO_FILE: prints the driver's output; fails the bench when it fails
  E2E_SCENARIO_TIMEOUT=900 bash tests/e2e/run-scenario.sh "$state" "$build/kestrane.exe" \
    "$build/tests/e2e/kdriver.exe" "$1" | tee -a "$work/log"
  return "${PIPESTATUS[0]}"
}

# 1. Start-up. The three programs take turns, so that a change in the machine's load
#    falls on all alike; one run of each first, so all find the same warm caches.
{
  echo "timeout 30"
  echo "write-file arena2/class00.cfg $lamplighter"
  echo "copy-file $build/bench/baseline.exe baseline.exe"
  echo "copy-file $build/bench/template_baseline.exe template_baseline.exe"
  for ((i = 0; i <= 10; i++)); do
    [ "$i" = 1 ] && echo "echo measured"
    echo "bench-startup kestrane.exe KESTRANE 1"
    echo "bench-startup template_baseline.exe TEMPLATES 1"
    echo "bench-startup baseline.exe BASELINE 1"
  done
} >"$work/startup.txt"
run "$work/startup.txt" >"$work/startup.log" || fail=1
median() {  # median of the measured runs of one program
  sed -n '/measured/,$p' "$work/startup.log" | grep "^@@startup $1 " |
    sed 's/.*median_ms=\([0-9.]*\).*/\1/' | sort -n |
    awk '{ v[NR] = $1 } END { if (NR) print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
k=$(median kestrane.exe)
t=$(median template_baseline.exe)
b=$(median baseline.exe)
judge start-up "$k" "$t" 1.10 "start-up: kestrane.exe ${k} ms, same-template baseline ${t} ms (medians of 10, taking turns)"
if [ -n "$k" ] && [ -n "$b" ]; then
  echo "start-up: against the empty-page baseline ${b} ms: ratio $(awk -v k="$k" -v b="$b" 'BEGIN { printf "%.2f", k / b }') (for information)"
fi

# 2. Page switches, between Basic Info (tab 0) and Resistance and Weakness (tab 1).
{
  echo "timeout 30"
  echo "write-file arena2/class00.cfg $lamplighter"
  echo "start kestrane.exe"
  echo "wait-window KESTRANE"
  echo "bench-switch 0 1 300"
  echo "close-box"  # showing pages changes nothing, so nothing asks
  echo "wait-exit 0"
  echo "expect-file arena2/class00.cfg $lamplighter"
} >"$work/switch.txt"
run "$work/switch.txt" >"$work/switch.log" || fail=1
basic=$(sed -n 's/^@@switch to=0 median_ms=\([0-9.]*\).*/\1/p' "$work/switch.log")
resist=$(sed -n 's/^@@switch to=1 median_ms=\([0-9.]*\).*/\1/p' "$work/switch.log")
judge "page switch" "$basic" "$resist" 1.5 "page switch: to Basic Info ${basic} ms, to Resistance and Weakness ${resist} ms (medians of 300 each, taking turns)"

# 3. The Classes window over a whole game's nineteen class files, against the About box.
{
  echo "timeout 30"
  for ((i = 0; i < 19; i++)); do printf 'write-file arena2/CLASS%02d.CFG %s\n' "$i" "$lamplighter"; done
  echo "start kestrane.exe"
  echo "wait-window KESTRANE"
  echo "key ctrl+l"
  echo "wait-window Classes"
  echo "expect-list-rows 1011 19"
  echo "key escape"
  echo "wait-window KESTRANE"
  echo "bench-boxes 0xE230 Classes 11 \"About kestrane \" 30"
  echo "close-box"
  echo "wait-exit 0"
} >"$work/boxes.txt"
run "$work/boxes.txt" >"$work/boxes.log" || fail=1
classes=$(sed -n 's/^@@box "Classes" median_ms=\([0-9.]*\).*/\1/p' "$work/boxes.log")
about=$(sed -n 's/^@@box "About kestrane " median_ms=\([0-9.]*\).*/\1/p' "$work/boxes.log")
judge boxes "$classes" "$about" 2.0 "boxes: the Classes window over 19 class files ${classes} ms, the About box ${about} ms (medians of 30 each, taking turns)"

# 4. Size and imports.
if out=$(cmake -DEXE="$build/kestrane.exe" -DOBJDUMP="$objdump" -P bench/check-exe.cmake 2>&1); then
  size=$(stat -c %s "$build/kestrane.exe")
  imports=$(printf '%s\n' "$out" | sed -n 's/^-- imports //p' | tr '\n' ' ')
  echo "size: kestrane.exe $size bytes ($((size / 1024)) KiB), within 300 KiB; imports: $imports"
else
  printf '%s\n' "$out" | sed 's/^/size: /'
  fail=1
fi

# 5. The long session: per round 4 page switches, 10 arrow clicks on STR, INT and WIL,
#    up and down, never twice in a row on one field, so each is a step of its own, and
#    one Save; 500 rounds, then one more step and every step undone (Undo sent as the
#    window's command). Memory and windows are marked once every page has been shown.
{
  echo "timeout 30"
  echo "write-file arena2/class00.cfg $lamplighter"
  echo "start kestrane.exe"
  echo "wait-window KESTRANE"
  printf 'select-tab %d\n' 1 2 3 4 0
  echo "usage-mark"
  for ((r = 0; r < 500; r++)); do
    a=$((1 + r % 4)) b=$((1 + (r + 2) % 4))
    printf 'select-tab %d\nselect-tab 0\nselect-tab %d\nselect-tab 0\n' "$a" "$b"
    printf 'scroll %s\n' "3178 0" "3179 0" "3178 1" "3179 1" "3180 0" "3178 0" "3179 0" "3178 1" "3179 1" "3180 1"
    echo "click 57603"
  done
  echo "scroll 3178 0"
  echo "expect-text 3170 46"
  for ((i = 0; i < 5001; i++)); do echo "command 57856"; done
  echo "expect-text 3170 45"
  echo "expect-caption \"class00.cfg - KESTRANE\""
  echo "expect-usage-near-mark 2048"
  echo "click 57603"
  echo "expect-file arena2/class00.cfg $lamplighter"
  echo "close-box"
  echo "wait-exit 0"
} >"$work/session.txt"
start=$(date +%s)
if run "$work/session.txt" >/dev/null; then
  verdict="the bytes read after undoing every step, memory within 2 MB"
else
  verdict="FAILED (see below)"
  fail=1
fi
mark=$(grep '^@@usage mark' "$work/log" | cut -d' ' -f3-)
now=$(grep '^@@usage now' "$work/log" | cut -d' ' -f3-)
echo "long session: 2000 page switches, 5001 arrow steps, 500 saves, 5001 undos in $(($(date +%s) - start)) s: $verdict"
echo "  at the start: $mark"
echo "  at the end:   $now"
[ "$fail" = 0 ] || grep -E '^FAIL|^  ' "$work/log" | head -20
exit "$fail"
