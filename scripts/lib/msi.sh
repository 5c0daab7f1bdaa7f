# shellcheck shell=bash
# The Windows Installer package (packaging/dustorix.wxs), built with wixl. Source this file, then:
#   msi_build FOLDER VERSION STAMP MSI   packs FOLDER (dustorix.exe, README.txt and data\, as the
#                                        zip holds them) into MSI as version VERSION (X.Y.Z);
#                                        STAMP (seconds since 1970) dates the package
#
# The same inputs give the same bytes. wixl dates the package and its cabinet with the clock and
# the files' times, and gives every package a random package code; so it runs under faketime at
# STAMP on files dated STAMP, and the package code is then derived from the package itself. The
# product code is derived from the version: one per version, as a major upgrade needs.
# Needs the Debian packages in MSI_PACKAGES.

MSI_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck disable=SC2034  # used by the scripts that source this file
MSI_PACKAGES=(wixl msitools faketime binutils-mingw-w64-x86-64)

# A GUID made of the first 128 bits of the SHA-1 of the standard input, marked as name-based
# (version 5, RFC 4122 variant), upper case.
_msi_guid() {
  local h
  h="$(sha1sum | cut -c1-32)"
  h="${h:0:12}5${h:13:3}$(printf '%x' $((0x${h:16:1} & 0x3 | 0x8)))${h:17:15}"
  printf '%s-%s-%s-%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:12:4}" "${h:16:4}" "${h:20:12}" | tr a-f A-F
}

# The FILEVERSION of a program's version resource, as A.B.C.D.
_msi_file_version() {
  x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null |
    sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' |
    head -n 1
}

# The text of a constant in about/links.h.
_msi_link() {
  sed -n "s/.*$1 = \"\\([^\"]*\\)\".*/\\1/p" "$MSI_REPO/about/links.h"
}

# The text for an XML attribute.
_msi_xml() {
  sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"
}

# An identifier for the package's tables, the same for the same path.
_msi_id() {
  printf '%s%s' "$1" "$(printf '%s' "$2" | sha1sum | cut -c1-32 | tr a-f A-F)"
}

# The elements for the files below FOLDER/DIR (relative to FOLDER) and its subfolders, in sorted
# order; each file is a component of its own. The ids of the components go to the file REFS.
_msi_tree() {
  local folder="$1" dir="$2" refs="$3" indent="$4" entry name id
  while IFS= read -r -d '' entry; do
    name="$(_msi_xml "${entry##*/}")"
    if [[ -d "$folder/$dir/${entry##*/}" ]]; then
      printf '%s<Directory Id="%s" Name="%s">\n' "$indent" "$(_msi_id dir "$dir/${entry##*/}")" "$name"
      _msi_tree "$folder" "$dir/${entry##*/}" "$refs" "$indent  " || return 1
      printf '%s</Directory>\n' "$indent"
    else
      id="$(_msi_id cmp "$dir/${entry##*/}")"
      echo "$id" >>"$refs"
      printf '%s<Component Id="%s" Guid="*" Win64="yes">\n' "$indent" "$id"
      printf '%s  <File Id="%s" Name="%s" Source="files/%s" KeyPath="yes"/>\n' "$indent" \
        "$(_msi_id fil "$dir/${entry##*/}")" "$name" "$(_msi_xml "$dir/${entry##*/}")"
      printf '%s</Component>\n' "$indent"
    fi
  done < <(cd "$folder/$dir" && find . -mindepth 1 -maxdepth 1 -print0 | LC_ALL=C sort -z)
}

# The data folder as a fragment: the folders below DATADIR and the component group DataFiles.
_msi_data_fragment() {
  local folder="$1" refs="$2" id
  : >"$refs"
  printf '<?xml version="1.0" encoding="utf-8"?>\n'
  printf '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n  <Fragment>\n'
  printf '    <DirectoryRef Id="DATADIR">\n'
  _msi_tree "$folder" data "$refs" "      " || return 1
  printf '    </DirectoryRef>\n  </Fragment>\n  <Fragment>\n    <ComponentGroup Id="DataFiles">\n'
  while IFS= read -r id; do
    printf '      <ComponentRef Id="%s"/>\n' "$id"
  done <"$refs"
  printf '    </ComponentGroup>\n  </Fragment>\n</Wix>\n'
}

# The steps, in WORK: wixl resolves the package's files relative to the folder it runs in and
# takes no absolute path, so FOLDER is reached through the link WORK/files.
_msi_make() {
  local work="$1" folder="$2" version="$3" stamp="$4" file_version="$5"
  local product summary=(Dustorix "The Dustorix authors" "x64;1033") package_code
  product="$(printf 'Dustorix %s x64' "$version" | _msi_guid)"
  cd "$work" || return 1
  ln -s -- "$folder" files || return 1
  cp -- "$MSI_REPO/app/dustorix.ico" dustorix.ico && touch -d "@$stamp" dustorix.ico || return 1
  _msi_data_fragment "$folder" components.txt >data.wxs || return 1
  # faketime takes a fixed time as local time; the clock then stands still at it.
  TZ=UTC faketime "$(TZ=UTC date -d "@$stamp" '+%Y-%m-%d %H:%M:%S')" \
    wixl --arch x64 -o package.msi \
    -D Version="$version" -D ProductCode="$product" -D Program=files/dustorix.exe \
    -D Readme=files/README.txt -D Icon=dustorix.ico \
    -D HomePage="$(_msi_link kHomePage)" -D Forum="$(_msi_link kForum)" \
    "$MSI_REPO/packaging/dustorix.wxs" data.wxs || return 1
  # What wixl leaves out: the program's version (Windows Installer compares versions; a versioned
  # file has no hash), and the type of an expandable registry value ("#%" before the text).
  msibuild package.msi \
    -q "UPDATE \`File\` SET \`Version\` = '$file_version', \`Language\` = '1033' WHERE \`File\` = 'dustorix.exe'" \
    -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = 'dustorix.exe'" \
    -q "UPDATE \`Registry\` SET \`Value\` = '#%[#dustorix.exe]' WHERE \`Name\` = 'EventMessageFile'" ||
    return 1
  msibuild package.msi -s "${summary[@]}" "{00000000-0000-0000-0000-000000000000}" || return 1
  package_code="$(_msi_guid <package.msi)"
  msibuild package.msi -s "${summary[@]}" "{$package_code}" || return 1
}

msi_build() {
  local folder="$1" version="$2" stamp="$3" msi="$4" work file_version rc=0
  folder="$(realpath -e -- "$folder")" || return 1
  if [[ ! "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "msi: bad version '$version' (X.Y.Z)" >&2
    return 1
  fi
  file_version="$(_msi_file_version "$folder/dustorix.exe")"
  if [[ -z "$file_version" ]]; then
    echo "msi: $folder/dustorix.exe has no version resource" >&2
    return 1
  fi
  work="$(mktemp -d)" || return 1
  (_msi_make "$work" "$folder" "$version" "$stamp" "$file_version") || rc=$?
  if ((rc == 0)); then
    mkdir -p -- "$(dirname -- "$msi")" && mv -f -- "$work/package.msi" "$msi" || rc=1
  else
    echo "msi: building the package failed" >&2
  fi
  rm -rf -- "$work"
  return "$rc"
}
