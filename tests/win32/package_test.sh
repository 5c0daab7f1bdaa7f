#!/usr/bin/env bash
# The release zip end to end: scripts/package packs the built program, scripts/wine-test unpacks
# the zip onto T:\ of a fresh sandbox and runs the package tests against what it unpacked.
#   tests/win32/package_test.sh PATH/TO/dustorix.exe PATH/TO/dustorix_package_test.exe
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if (($# != 2)); then
  echo "usage: tests/win32/package_test.sh DUSTORIX_EXE PACKAGE_TEST_EXE" >&2
  exit 2
fi
out="$(mktemp -d)"
trap 'rm -rf -- "$out"' EXIT
version="$(sed -n 's/^project(dustorix VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")"
zip="$out/dustorix-$version-win64.zip"
bash "$repo/scripts/package" "$1" "$zip"
WINE_TEST_UNZIP="$zip" WINE_TEST_FILES="$repo/data" bash "$repo/scripts/wine-test" "$2"
