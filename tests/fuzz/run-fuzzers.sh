#!/usr/bin/env bash
# Runs each libFuzzer target of the fuzz preset for a while (60 s each unless
# FUZZ_SECONDS says otherwise), or for a number of inputs each when FUZZ_RUNS
# says so (the long run: FUZZ_RUNS=10000000), from a seed corpus made here
# from our sample texts and a few byte patterns. Each target's line says how
# many inputs it ran, and how many a second. A crash, a failed invariant, a
# timeout or a sanitizer report fails the run; libFuzzer leaves the input as
# crash-*, timeout-* or oom-* in the run's artifacts directory, to be kept in
# tests/fuzz/regressions once the fault is fixed.
# Usage: tests/fuzz/run-fuzzers.sh   (after: cmake --preset fuzz && cmake --build --preset fuzz)
#        FUZZ_RUNS=10000000 tests/fuzz/run-fuzzers.sh   (the long run, in build/fuzz/fuzz-long)
#        FUZZ_TARGETS=class_file ...   (one target only)
set -uo pipefail
cd "$(dirname "$0")/../.."

seconds=${FUZZ_SECONDS:-60}
runs_wanted=${FUZZ_RUNS:-}
build=build/fuzz
bin=$build/tests/fuzz
if [ -n "$runs_wanted" ]; then
  # Its own directory, so a short run meanwhile does not share its corpus.
  work=$build/fuzz-long
  limit=(-runs="$runs_wanted")
else
  work=$build/fuzz-run
  limit=(-max_total_time="$seconds")
fi
classcfg=$build/tools/classcfg/classcfg

for f in "$bin/fuzz_class_file" "$bin/fuzz_classcfg_text" "$classcfg"; do
  if [ ! -x "$f" ]; then
    echo "missing $f: build the fuzz preset first" >&2
    echo "fuzz: 0 passed, 2 failed"
    exit 1
  fi
done

mkdir -p "$work/artifacts"

# Seeds, made afresh each run; what the fuzzer adds stays in the corpus
# directories between runs.
seeds_file=$work/seeds-class_file
seeds_text=$work/seeds-classcfg_text
rm -rf "$seeds_file" "$seeds_text"
mkdir -p "$seeds_file" "$seeds_text" "$work/corpus-class_file" "$work/corpus-classcfg_text"
cp samples/*.txt "$seeds_text"/
find tests/fuzz/regressions -type f ! -name README.md -exec cp {} "$seeds_text"/ \;
for txt in samples/*.txt; do
  name=$(basename "$txt" .txt)
  ASAN_OPTIONS=detect_leaks=0 "$classcfg" build "$txt" -o "$seeds_file/$name.cfg" >/dev/null || exit 1
done
find tests/fuzz/regressions -type f ! -name README.md -exec cp {} "$seeds_file"/ \;
: >"$seeds_file/empty"
head -c 74 /dev/zero >"$seeds_file/zeros-74"
head -c 74 /dev/zero | tr '\0' '\377' >"$seeds_file/ff-74"
head -c 80 /dev/zero | tr '\0' '\377' >"$seeds_file/ff-80"
# A name of 19 bytes with no NUL after 28 bytes of fields.
{ head -c 28 /dev/zero; printf 'NineteenLettersLong'; head -c 27 /dev/zero; } >"$seeds_file/name-19"
head -c 30 "$seeds_file/$(ls "$seeds_file" | grep '\.cfg$' | head -n 1)" >"$seeds_file/short-30"

passed=0
failed=0
for target in ${FUZZ_TARGETS:-class_file classcfg_text}; do
  log=$work/$target.log
  rm -f "$work/artifacts/"*-"$target"-* 2>/dev/null
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$bin/fuzz_$target" \
      "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
      "$work/corpus-$target" "$work/seeds-$target" >"$log" 2>&1
  rc=$?
  runs=$(grep -o '^stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  rate=$(awk -v n="${runs:-0}" -v s="${took:-0}" 'BEGIN { if (s > 0) printf "%d", n / s; else print "?" }')
  if [ $rc -eq 0 ] && ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant failed' "$log"; then
    echo "fuzz $target: PASS (${runs:-?} inputs in ${took:-?} s, $rate inputs/s, corpus $(ls "$work/corpus-$target" | wc -l) inputs)"
    passed=$((passed + 1))
  else
    echo "fuzz $target: FAIL (exit $rc); log $log, inputs in $work/artifacts:"
    grep -E 'ERROR:|runtime error:|invariant failed|^artifact_prefix|Test unit written' "$log" | head -n 5 | sed 's/^/  /'
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
