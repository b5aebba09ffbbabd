#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, only when something is missing.
# Usage: scripts/setup-deps.sh [--gui]   (--gui adds Wine, 32- and 64-bit, and Xvfb)
set -euo pipefail

want_gui=0
[ "${1:-}" = "--gui" ] && want_gui=1

missing=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || missing+=(cmake)
have g++ || missing+=(g++)
have make || missing+=(make)
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
[ -f /usr/include/nlohmann/json.hpp ] || missing+=(nlohmann-json3-dev)
have i686-w64-mingw32-g++-win32 || missing+=(g++-mingw-w64-i686-win32 mingw-w64-i686-dev)
have i686-w64-mingw32-windres || missing+=(binutils-mingw-w64-i686)
have x86_64-w64-mingw32-g++-win32 || missing+=(g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev)
have x86_64-w64-mingw32-windres || missing+=(binutils-mingw-w64-x86-64)
# The release packages are written by a Python script (fixed times and order).
have python3 || missing+=(python3)
# clang and its runtime (libFuzzer, the sanitizers) for the fuzz preset.
have clang++ || missing+=(clang)
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || missing+=(libclang-rt-14-dev)
if [ "$want_gui" = 1 ]; then
  have Xvfb || missing+=(xvfb)
  have import || missing+=(imagemagick)
  # Wine's own fonts give dialogs the real "MS Sans Serif" metrics.
  dpkg -s fonts-wine >/dev/null 2>&1 || missing+=(fonts-wine)
  # Both loaders: the 32-bit build needs wine32, the 64-bit one wine64. wine32 installs
  # even where the kernel runs no 32-bit code; the scripts find that out by running it.
  if ! have wine || ! dpkg -s wine32:i386 >/dev/null 2>&1 || ! dpkg -s wine64 >/dev/null 2>&1; then
    missing+=(wine wine32:i386 wine64)
  fi
fi

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" != 0 ]; then
  if have sudo; then sudo="sudo"; else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or install sudo) to install them." >&2
    exit 1
  fi
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$want_gui" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
