#!/usr/bin/env bash
# The installer under Wine: scripts/package builds the package and one of the next patch version
# (for the upgrade), scripts/wine-test runs the installer tests with both beside them.
#   tests/win32/msi_install_test.sh PATH/TO/dustorix.exe PATH/TO/dustorix_msi_test.exe
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if (($# != 2)); then
  echo "usage: tests/win32/msi_install_test.sh DUSTORIX_EXE MSI_TEST_EXE" >&2
  exit 2
fi
out="$(mktemp -d)"
trap 'rm -rf -- "$out"' EXIT
version="$(sed -n 's/^project(dustorix VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")"
next="${version%.*}.$((${version##*.} + 1))"
bash "$repo/scripts/package" "$1" "$out/zip.zip" "$out/dustorix-$version-x64.msi"
bash "$repo/scripts/package" "$1" "$out/zip.zip" "$out/dustorix-$next-x64.msi" "$next"
WINE_TEST_FILES="$out/dustorix-$version-x64.msi:$out/dustorix-$next-x64.msi:$repo/data" \
  bash "$repo/scripts/wine-test" "$2"
