#!/usr/bin/env bash
# Makes the release packages dist/kestrane-<version>-win32.zip and -win64.zip, each with
# kestrane.exe, classcfg.exe, README.txt, LICENSE.txt and our sample classes as .cfg files.
# The packages are reproducible: the same sources give byte-identical zips (no link time
# in the executables, fixed file times and order in the zip).
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

version=$(sed -n 's/^project(kestrane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for build in win32 win64; do
  out=dist/kestrane-$version-$build.zip
  # name-in-zip=file. The samples sit in a folder of their own under names the game never
  # uses, so that unpacking the package in a game's directory replaces no class of its own.
  entries=(
    "kestrane.exe=build/$build/kestrane.exe"
    "classcfg.exe=build/$build/tools/classcfg/classcfg.exe"
    "README.txt=README.md"
    "LICENSE.txt=LICENSE"
  )
  for txt in samples/*.txt; do
    name=$(basename "$txt" .txt)
    build/native/tools/classcfg/classcfg build "$txt" -o "$work/class-$name.cfg"
    entries+=("samples/class-$name.cfg=$work/class-$name.cfg")
  done
  python3 - "$out" "${entries[@]}" <<'PY'
import sys, zipfile
out, entries = sys.argv[1], sys.argv[2:]
# One fixed time for every entry, the entries sorted, fixed permissions, and text files
# with Windows line ends so that Notepad shows them right.
stamp = (2026, 1, 1, 0, 0, 0)
with zipfile.ZipFile(out + ".tmp", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name, path in sorted(e.split("=", 1) for e in entries):
        data = open(path, "rb").read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        info = zipfile.ZipInfo(name, stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        info.external_attr = 0
        z.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
import os
os.replace(out + ".tmp", out)
PY
  echo "$out: $(stat -c %s "$out") bytes, sha256 $(sha256sum "$out" | cut -d' ' -f1)"
done
