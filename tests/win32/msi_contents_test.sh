#!/usr/bin/env bash
# The installer as msiinfo and msiextract see it, without Wine: scripts/package packs the built
# program twice (the same bytes both times) and once as the next patch version; the tables say
# what the package does on a machine, and its files are the zip's.
#   tests/win32/msi_contents_test.sh PATH/TO/dustorix.exe
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if (($# != 1)); then
  echo "usage: tests/win32/msi_contents_test.sh DUSTORIX_EXE" >&2
  exit 2
fi
exe="$(realpath -e -- "$1")" || exit 2
out="$(mktemp -d)"
trap 'rm -rf -- "$out"' EXIT
version="$(sed -n 's/^project(dustorix VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")"
next="${version%.*}.$((${version##*.} + 1))"
upgrade_code="{8A639093-35B9-4EF9-B0FC-7FF62DB30920}"

for build in first second; do
  bash "$repo/scripts/package" "$exe" "$out/$build.zip" "$out/$build.msi" >/dev/null || exit 1
done
bash "$repo/scripts/package" "$exe" "$out/next.zip" "$out/next.msi" "$next" >/dev/null || exit 1
msi="$out/first.msi"

passed=0
failed=0
# check DESCRIPTION COMMAND...: runs COMMAND; it must succeed.
check() {
  if "${@:2}"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $1" >&2
    failed=$((failed + 1))
  fi
}
# The rows of a table, without its three header lines, sorted.
rows() {
  msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4 | LC_ALL=C sort
}
# same EXPECTED ACTUAL: the texts are equal; shows both when not.
same() {
  [[ "$1" == "$2" ]] && return 0
  diff <(printf '%s\n' "$1") <(printf '%s\n' "$2") | sed 's/^/  /' >&2
  return 1
}
property() {
  rows "$1" Property | sed -n "s/^$2\t//p"
}
summary() {
  msiinfo suminfo "$1" | sed -n "s/^$2: //p"
}

check "two builds give the same package" cmp -s "$out/first.msi" "$out/second.msi"
check "two builds give the same zip" cmp -s "$out/first.zip" "$out/second.zip"

check "a 64-bit package for Windows Installer 5" \
  same "x64;1033 500 (1f4)" "$(summary "$msi" Template) $(summary "$msi" Version)"
check "a package code of its own for each package" \
  [ "$(summary "$msi" 'Revision number (UUID)')" != "$(summary "$out/next.msi" 'Revision number (UUID)')" ]
check "no zero package code" [ "$(summary "$msi" 'Revision number (UUID)')" != "{00000000-0000-0000-0000-000000000000}" ]

check "per machine, with the version, the fixed upgrade code and the Add/Remove Programs entry" same \
  "ALLUSERS 1|ProductName Dustorix|ProductVersion $version|UpgradeCode $upgrade_code|ARPPRODUCTICON dustorix.ico|ARPNOMODIFY 1|Manufacturer The Dustorix authors" \
  "$(for p in ALLUSERS ProductName ProductVersion UpgradeCode ARPPRODUCTICON ARPNOMODIFY Manufacturer; do
    printf '%s %s|' "$p" "$(property "$msi" "$p")"
  done | sed 's/|$//')"
check "the next version keeps the upgrade code and has a product code of its own" same \
  "$next $upgrade_code different" \
  "$(property "$out/next.msi" ProductVersion) $(property "$out/next.msi" UpgradeCode) $(
    [[ "$(property "$msi" ProductCode)" != "$(property "$out/next.msi" ProductCode)" ]] && echo different)"
check "the Add/Remove Programs icon is the program's" \
  cmp -s <(msiinfo extract "$msi" Icon.dustorix.ico) "$repo/app/dustorix.ico"

# Older versions are removed; a newer one installed stops the package with its message.
check "the upgrade table" same \
  "$(printf '%s\t\t%s\t\t1\t\tWIX_UPGRADE_DETECTED\n%s\t%s\t\t\t2\t\tWIX_DOWNGRADE_DETECTED' \
    "$upgrade_code" "$version" "$upgrade_code" "$version")" "$(rows "$msi" Upgrade)"
check "a newer version refuses the package" same \
  "NOT WIX_DOWNGRADE_DETECTED	A newer version of Dustorix is already installed." \
  "$(rows "$msi" LaunchCondition)"
check "the old version goes before the new one comes" \
  grep -qx 'RemoveExistingProducts		1401' <(rows "$msi" InstallExecuteSequence)

check "into Program Files\\Dustorix" grep -qx 'INSTALLDIR	ProgramFiles64Folder	Dustorix' \
  <(rows "$msi" Directory)
check "the program with its version, in the next version's package too" same \
  "dustorix.exe	Program	dustorix.exe	$(stat -c %s "$exe")	$version.0	1033	512	1" \
  "$(rows "$out/next.msi" File | grep '^dustorix.exe	')"
check "the Start-menu shortcut starts the program in its folder" same \
  "StartMenuShortcut	ProgramMenuFolder	Dustorix	Program	[#dustorix.exe]		Dustorix junk file cleaner		dustorix.ico			INSTALLDIR				" \
  "$(rows "$msi" Shortcut)"
key='SYSTEM\CurrentControlSet\Services\EventLog\Application\Dustorix'
check "the event source, with the program as its message file" same \
  "$(printf '2\t%s\tEventMessageFile\t#%%[#dustorix.exe]\tProgram\n2\t%s\tTypesSupported\t#7\tProgram' \
    "$key" "$key")" "$(rows "$msi" Registry | cut -f2- | LC_ALL=C sort)"

# The files: exactly the zip's, folders included.
mkdir -p "$out/zip" "$out/msi"
unzip -q "$out/first.zip" -d "$out/zip"
msiextract -C "$out/msi" "$msi" >/dev/null
check "the files are the zip's" diff -r "$out/zip/dustorix-$version-win64" "$out/msi/Dustorix"

echo "$passed passed, $failed failed"
((failed == 0))
