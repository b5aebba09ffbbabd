#!/usr/bin/env bash
# The performance budget, measured in one run under Wine on a private display:
#   1. start-up: median time from process start to the window being visible, over 10
#      runs, kestrane.exe against bench/baseline.exe (one modeless sheet, one empty page);
#      budget: ratio at most 1.25;
#   2. kestrane.exe at most 300 KiB, importing only Windows system DLLs;
#   3. a long session (2,000 page switches, 5,000 arrow clicks, 500 saves): the right bytes
#      on disk at the end, and private memory and window count where they were after the
#      first hundred actions.
# Usage: bench/run-bench.sh   (after scripts/test.sh or cmake --build --preset win32)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/win32
for f in kestrane.exe bench/baseline.exe tests/e2e/kdriver.exe; do
  [ -f "$build/$f" ] || { cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$(nproc)" >/dev/null; break; }
done

work=$(mktemp -d /tmp/kestrane-bench.XXXXXX)
state=$work/state
cleanup() {
  bash tests/e2e/e2e-env.sh cleanup "$state" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
bash tests/e2e/e2e-env.sh setup "$state" >/dev/null || { echo "bench: cannot start Xvfb and Wine" >&2; exit 1; }

# Our Lamplighter sample: every value fits its field, so the session must end on these bytes.
lamplighter=020000000104010000000100000100191718021b15121c140e0100104c616d706c696768746572000000000000000000000000000c00004001002d003c00370032002d00370032003200
fail=0

run() {  # run SCENARIO_FILE: prints the driver's output; fails the bench when it fails
  E2E_SCENARIO_TIMEOUT=900 bash tests/e2e/run-scenario.sh "$state" "$build/kestrane.exe" \
    "$build/tests/e2e/kdriver.exe" "$1" | tee -a "$work/log"
  return "${PIPESTATUS[0]}"
}

# 1. Start-up. The two programs take turns, so that a change in the machine's load
#    falls on both alike; one run of each first, so both find the same warm caches.
{
  echo "timeout 30"
  echo "write-file arena2/class00.cfg $lamplighter"
  echo "copy-file $build/bench/baseline.exe baseline.exe"
  echo "bench-startup kestrane.exe KESTRANE 1"
  echo "bench-startup baseline.exe BASELINE 1"
  for ((i = 0; i < 10; i++)); do
    echo "echo measured"
    echo "bench-startup kestrane.exe KESTRANE 1"
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
b=$(median baseline.exe)
if [ -n "$k" ] && [ -n "$b" ]; then
  ratio=$(awk -v k="$k" -v b="$b" 'BEGIN { printf "%.2f", k / b }')
  verdict=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.25) ? "within" : "OVER" }')
  echo "start-up: kestrane.exe ${k} ms, baseline ${b} ms (medians of 10, taking turns): ratio ${ratio}, ${verdict} the budget of 1.25"
  [ "$verdict" = within ] || fail=1
else
  echo "start-up: not measured"
  fail=1
fi

# 2. Size and imports.
if out=$(cmake -DEXE="$build/kestrane.exe" -DOBJDUMP=i686-w64-mingw32-objdump -P bench/check-exe.cmake 2>&1); then
  size=$(stat -c %s "$build/kestrane.exe")
  imports=$(printf '%s\n' "$out" | sed -n 's/^-- imports //p' | tr '\n' ' ')
  echo "size: kestrane.exe $size bytes ($((size / 1024)) KiB), within 300 KiB; imports: $imports"
else
  printf '%s\n' "$out" | sed 's/^/size: /'
  fail=1
fi

# 3. The long session: per round 4 page switches, 10 arrow clicks on STR (5 up, 5 down)
#    and one Save; 500 rounds. The mark is taken after the first 7 rounds (105 actions).
{
  echo "timeout 30"
  echo "write-file arena2/class00.cfg $lamplighter"
  echo "start kestrane.exe"
  echo "wait-window KESTRANE"
  for ((r = 0; r < 500; r++)); do
    a=$((1 + r % 4)) b=$((1 + (r + 2) % 4))
    printf 'select-tab %d\nselect-tab 0\nselect-tab %d\nselect-tab 0\n' "$a" "$b"
    for ((i = 0; i < 5; i++)); do echo "scroll 3178 0"; done
    for ((i = 0; i < 5; i++)); do echo "scroll 3178 1"; done
    echo "click 57603"
    [ "$r" = 6 ] && echo "usage-mark"
  done
  echo "expect-text 3170 45"
  echo "expect-file arena2/class00.cfg $lamplighter"
  echo "expect-usage-near-mark 1024"
  echo "close-box"
  echo "wait-exit 0"
} >"$work/session.txt"
start=$(date +%s)
if run "$work/session.txt" >/dev/null; then
  verdict="right bytes on disk, no growth"
else
  verdict="FAILED (see below)"
  fail=1
fi
mark=$(grep '^@@usage mark' "$work/log" | cut -d' ' -f3-)
now=$(grep '^@@usage now' "$work/log" | cut -d' ' -f3-)
echo "long session: 2000 page switches, 5000 arrow clicks, 500 saves in $(($(date +%s) - start)) s: $verdict"
echo "  after 105 actions: $mark"
echo "  at the end:        $now"
[ "$fail" = 0 ] || grep -E '^FAIL|^  ' "$work/log" | head -20
exit "$fail"
