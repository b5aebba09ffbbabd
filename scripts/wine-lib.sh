# Which Wine runs which build. Sourced by the scripts that start Windows programs.
#
# Debian's /usr/bin/wine picks the 32-bit loader whenever it is installed, even on a host
# that cannot run it, so each build gets its own loader, called directly, and a prefix
# of its own kind.

# WINE32_LOADER stands in for the 32-bit loader, e.g. to try a host without one.
wine32_loader=${WINE32_LOADER:-/usr/lib/wine/wine}
wine64_loader=/usr/lib/wine/wine64

# Whether this host runs 32-bit code: a fact to try, never a guess from the kernel's name.
# On failure, `wine32_missing` says why, in a few words.
host_runs_32bit() {
  wine32_missing=""
  if [ ! -x "$wine32_loader" ]; then
    wine32_missing="the 32-bit Wine loader ($wine32_loader, package wine32:i386) is not installed"
    return 1
  fi
  local out
  if ! out=$("$wine32_loader" --version 2>&1); then
    out=$(printf '%s' "$out" | tail -n 1)
    wine32_missing="this host runs no 32-bit code ($wine32_loader: ${out##*: })"
    return 1
  fi
  return 0
}

# Exports WINEARCH and WINELOADER for BUILD (win32 or win64) and sets `wine_cmd` to the
# loader that starts that build's programs.
use_wine_for() {
  case $1 in
  win32)
    export WINEARCH=win32
    unset WINELOADER
    wine_cmd=$wine32_loader
    ;;
  win64)
    export WINEARCH=win64 WINELOADER=$wine64_loader
    wine_cmd=$wine64_loader
    ;;
  *)
    echo "unknown build '$1' (win32 or win64)" >&2
    return 2
    ;;
  esac
}
