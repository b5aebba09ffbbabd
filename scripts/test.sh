#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, then the Windows
# build's tests (the end-to-end suite under Wine on a private Xvfb display),
# then a short run of each fuzz target.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh --gui || exit 1
jobs=$(nproc 2>/dev/null || echo 2)

status=0
for preset in native sanitize win32; do
  echo "== build ($preset)"
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" -j "$jobs" || exit 1
done
for preset in native sanitize win32; do
  echo "== test ($preset)"
  ctest --preset "$preset" -j "$jobs" || status=1
done

# The libFuzzer targets, about a minute each.
echo "== build (fuzz)"
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j "$jobs" || exit 1
echo "== fuzz"
bash tests/fuzz/run-fuzzers.sh || status=1
exit $status
