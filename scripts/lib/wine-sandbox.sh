# shellcheck shell=bash
# Private Wine prefixes for running Dustorix and its tests without exposing the host's files.
#
# Source this file, then:
#   sandbox_create DIR                     new sandbox in DIR (prefix copied from a cached template)
#   sandbox_open DIR                       use an existing sandbox made by sandbox_create
#   sandbox_add_drive LETTER TYPE HOSTDIR  drive LETTER: -> HOSTDIR (inside DIR), TYPE hd, floppy,
#                                          cdrom, network or ramdisk
#   sandbox_start / sandbox_stop           persistent wineserver for the sandbox (stopped on exit)
#   sandbox_wine ARGS...                   run wine (or with SANDBOX_CMD=..., another command) as the
#                                          sandbox's user
#   sandbox_own PATH...                    give files made for the sandbox to its user
#   sandbox_root                           folder under which new sandboxes may be made
#   sandbox_at_exit 'COMMAND'              run COMMAND when the script exits (last added runs first)
#   ensure_packages PKG...                 install missing Debian packages (as root) or explain
#   cmake_configure DIR ARGS...            configure a build folder with Ninja
#
# A fresh Wine prefix maps Z: to / and links the user's Desktop, Documents ... to $HOME. A sandbox
# has neither: no drive and no symlink inside the prefix leads outside DIR, HOME and the XDG folders
# lie inside DIR, and the recycle bin is DIR/home/.local/share/Trash. Its fonts are the same on
# every machine (SANDBOX_FONT_REPLACEMENTS).
#
# SANDBOX_UNPRIVILEGED=1 (set before sandbox_create): when the caller is root, Wine runs as the
# user nobody and DIR belongs to nobody. Wine run by root ignores the read-only attribute for
# writing (root may write any file), and a program run by nobody cannot harm the host's files even
# through a path that leaves the prefix.

SANDBOX_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
SANDBOX_OK_MARK=".dustorix-sandbox-ok"
SANDBOX_TEMPLATE_MARK=".dustorix-template-ok"
# Seconds the wineserver stays up once the last program has exited; a safety net for a wrapper
# that is killed before it can stop the server. sandbox_stop ends it at once.
SANDBOX_PERSIST="${SANDBOX_PERSIST:-120}"
SANDBOX_UNPRIVILEGED="${SANDBOX_UNPRIVILEGED:-0}"
SANDBOX_NOBODY_UID=65534
SANDBOX_NOBODY_GID=65534

sandbox_die() {
  echo "wine-sandbox: $*" >&2
  return 1
}

# --- packages -------------------------------------------------------------------------------------

_pkg_installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" == "install ok installed" ]]
}

# ensure_packages PKG...: installs the packages that are missing (one apt-get update first). Not
# being root with packages missing prints the command to run and fails.
ensure_packages() {
  local missing=() p
  if ! command -v dpkg-query >/dev/null 2>&1; then
    sandbox_die "dpkg-query not found: these scripts expect Debian 12"
    return 1
  fi
  for p in "$@"; do
    _pkg_installed "$p" || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  if [[ "$(id -u)" != 0 ]]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them as root:  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >&2 || return 1
  apt-get install -y -q --no-install-recommends "${missing[@]}" >&2 || return 1
}

# Packages both the run and the test command need (fonts and X libraries that Wine only recommends
# are listed so that windows look the same as with a full Wine install; fonts-liberation holds the
# faces that SANDBOX_FONT_REPLACEMENTS maps to; wixl, msitools and faketime build and inspect the
# installer).
# shellcheck disable=SC2034  # used by the scripts that source this file
DUSTORIX_PACKAGES=(cmake g++ ninja-build googletest g++-mingw-w64-x86-64 wine64 wine fonts-wine
  fonts-liberation
  xvfb x11-utils imagemagick clang-format libxrender1 libxrandr2 libxi6 libxcursor1
  libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  zip unzip
  wixl msitools faketime
  clang-14 libclang-rt-14-dev)

# cmake_configure DIR ARGS...: configures DIR (from the repository root) with Ninja; a cache made by
# another generator is dropped first.
cmake_configure() {
  local dir="$1"
  shift
  if [[ -f "$dir/CMakeCache.txt" ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
    rm -rf -- "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  fi
  cmake -S "$SANDBOX_REPO" -B "$dir" -G Ninja "$@"
}

# --- exit handling --------------------------------------------------------------------------------

_SANDBOX_EXIT_CMDS=()

_sandbox_run_exit() {
  local c
  for c in "${_SANDBOX_EXIT_CMDS[@]}"; do
    eval "$c" || true
  done
  _SANDBOX_EXIT_CMDS=()
}

sandbox_at_exit() {
  _SANDBOX_EXIT_CMDS=("$1" "${_SANDBOX_EXIT_CMDS[@]}")
  trap _sandbox_run_exit EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
}

# --- user -----------------------------------------------------------------------------------------

# True when Wine runs as nobody rather than as the caller.
_sandbox_drops() {
  [[ "$SANDBOX_UNPRIVILEGED" == 1 && "$(id -u)" == 0 ]]
}

# sandbox_wine ARGS...: runs wine ARGS (or SANDBOX_CMD ARGS) as the sandbox's user.
sandbox_wine() {
  _sandbox_as "${SANDBOX_CMD:-wine}" "$@"
}

_sandbox_as() {
  if _sandbox_drops; then
    setpriv --reuid="$SANDBOX_NOBODY_UID" --regid="$SANDBOX_NOBODY_GID" --clear-groups -- \
      env USER=nobody LOGNAME=nobody "$@"
  else
    "$@"
  fi
}

# sandbox_own PATH...: gives PATH (recursively; links themselves, not their targets) to the
# sandbox's user. Anything a script puts into a sandbox for the program should pass through here.
sandbox_own() {
  _sandbox_drops || return 0
  chown -R -h "$SANDBOX_NOBODY_UID:$SANDBOX_NOBODY_GID" -- "$@"
}

# Folder for the cached template: build/ of the repository, or a folder in /tmp when Wine runs as
# nobody and nobody cannot reach build/.
_sandbox_cache_dir() {
  local base="$SANDBOX_REPO/build"
  mkdir -p "$base" || return 1
  if _sandbox_drops; then
    if ! _sandbox_as test -x "$base" -a -r "$base"; then
      base="/tmp/dustorix-cache-$(printf '%s' "$SANDBOX_REPO" | md5sum | cut -c1-12)"
      mkdir -p "$base" && chmod 755 "$base" || return 1
    fi
    echo "$base/wine-template-nobody"
  else
    echo "$base/wine-template"
  fi
}

# Folder under which a script may put new sandboxes (reachable by the sandbox's user).
sandbox_root() {
  local t r
  t="$(_sandbox_cache_dir)" || return 1
  r="$(dirname "$t")/sandboxes"
  mkdir -p "$r" || return 1
  if _sandbox_drops; then chmod 755 "$r" || return 1; fi
  echo "$r"
}

# --- environment ----------------------------------------------------------------------------------

# Points Wine and the XDG folders at DIR (an absolute, resolved path).
_sandbox_env() {
  local dir="$1"
  # The X authority file is looked up in $HOME, which moves into the sandbox.
  if [[ -n "${DISPLAY:-}" && -z "${XAUTHORITY:-}" && -n "${HOME:-}" && -f "$HOME/.Xauthority" ]]; then
    export XAUTHORITY="$HOME/.Xauthority"
  fi
  export SANDBOX_DIR="$dir"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export HOME="$dir/home"
  export XDG_DATA_HOME="$dir/home/.local/share"
  export XDG_CONFIG_HOME="$dir/home/.config"
  export XDG_CACHE_HOME="$dir/home/.cache"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset WINELOADER WINESERVER
}

# nobody cannot read root's X authority file: give it a copy.
_sandbox_xauth() {
  if _sandbox_drops && [[ -n "${XAUTHORITY:-}" && -r "$XAUTHORITY" && "$XAUTHORITY" != "$HOME"/* ]]; then
    cp -- "$XAUTHORITY" "$HOME/.Xauthority" && sandbox_own "$HOME/.Xauthority" &&
      export XAUTHORITY="$HOME/.Xauthority"
  fi
}

# _sandbox_inside PATH DIR: true if PATH (resolved) is DIR or lies below it.
_sandbox_inside() {
  local p
  p="$(realpath -m -- "$1")"
  [[ "$p" == "$2" || "$p" == "$2"/* ]]
}

# --- fonts ----------------------------------------------------------------------------------------

# Debian's Wine does not find its own fonts (it looks for them beside /usr/share/fonts), so each face
# a window asks for falls to what fontconfig lists first: DejaVu Sans on a bare machine, another
# font on the next one, and captions change width from machine to machine. Instead, every face the
# program asks for (the system's message font, which Wine names "MS Shell Dlg", substituted by
# Tahoma, while it finds none of its default sans faces; Arial) or Wine's own windows do is mapped
# to a Liberation font, which fonts-liberation installs everywhere alike.
# Liberation Sans has Arial's widths and also covers Greek; for Tahoma, MS Sans Serif and Segoe UI,
# which have no free metric twin with Greek (Wine's Tahoma has none), it is the nearest face of
# their class. Wine maps only faces it cannot find, and looks up a name before its substitute: "MS
# Shell Dlg" is mapped itself, so that a Wine that does load its own Tahoma draws the same.
SANDBOX_FONT_REPLACEMENTS=(
  "MS Shell Dlg=Liberation Sans" "MS Shell Dlg 2=Liberation Sans" "Tahoma=Liberation Sans"
  "Segoe UI=Liberation Sans" "MS Sans Serif=Liberation Sans" "Microsoft Sans Serif=Liberation Sans"
  "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono")
# Marlett's glyphs are the title bar's buttons and other frame marks; it comes from Wine's fonts.
SANDBOX_MARLETT=/usr/share/wine/fonts/marlett.ttf

# Gives the sandbox's prefix the font mapping (imported by the next sandbox_start) and Marlett,
# unless it has them.
_sandbox_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" pair lines=() absent=0
  if [[ ! -f "$fonts/marlett.ttf" ]]; then
    mkdir -p -- "$fonts" && cp -- "$SANDBOX_MARLETT" "$fonts/" && sandbox_own "$fonts" || return 1
  fi
  lines=('[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]')
  for pair in "${SANDBOX_FONT_REPLACEMENTS[@]}"; do
    lines+=("\"${pair%%=*}\"=\"${pair#*=}\"")
    grep -qF -- "${lines[-1]}" "$WINEPREFIX/user.reg" || absent=1
  done
  ((absent == 0)) || _sandbox_queue_reg "${lines[@]}"
}

# --- template -------------------------------------------------------------------------------------

# Creates the template prefix once (wineboot -i), under a lock so parallel callers do not race;
# prints its path.
_sandbox_template() {
  local template lockfd tmp rc=0
  template="$(_sandbox_cache_dir)" || return 1
  exec {lockfd}>"$template.lock" || return 1
  if ! flock -w 900 "$lockfd"; then
    exec {lockfd}>&-
    sandbox_die "timed out waiting for the Wine template lock"
    return 1
  fi
  if [[ ! -f "$template/$SANDBOX_TEMPLATE_MARK" || ! -f "$template/system.reg" ]]; then
    echo "wine-sandbox: creating the Wine template prefix at $template (once) ..." >&2
    rm -rf -- "$template"
    tmp="$(mktemp -d "$template.tmp.XXXXXX")" || rc=1
    if ((rc == 0)); then
      sandbox_own "$tmp"
      (
        _sandbox_env "$tmp"
        _sandbox_as mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
        cd "$tmp" || exit 1
        _sandbox_as wineboot -i </dev/null >"$tmp/wineboot.log" 2>&1 || exit 1
        _sandbox_as wineserver -w
        # Windows close at once without a window manager.
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' \
          >"$WINEPREFIX/drive_c/windows/temp/dustorix-x11.reg"
        cd "$WINEPREFIX/drive_c" || exit 1
        _sandbox_as wine regedit /S 'C:\windows\temp\dustorix-x11.reg' </dev/null \
          >>"$tmp/wineboot.log" 2>&1 || exit 1
        _sandbox_as wineserver -w
        rm -f "$WINEPREFIX/drive_c/windows/temp/dustorix-x11.reg"
        grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" || exit 1
      ) || rc=1
      if ((rc == 0)); then
        mv -- "$tmp/prefix" "$template" && touch "$template/$SANDBOX_TEMPLATE_MARK" || rc=1
      else
        sed 's/^/  wineboot: /' "$tmp/wineboot.log" >&2 2>/dev/null || true
      fi
      rm -rf -- "$tmp"
    fi
  fi
  exec {lockfd}>&-
  if ((rc != 0)); then
    sandbox_die "could not create the Wine template prefix at $template"
    return 1
  fi
  echo "$template"
}

# --- sandbox --------------------------------------------------------------------------------------

# Fails loudly if a drive or a symlink inside the prefix leads outside the sandbox.
sandbox_verify() {
  local dir="${SANDBOX_DIR:-}" bad=0 l
  if [[ -z "$dir" || ! -d "$WINEPREFIX/dosdevices" ]]; then
    sandbox_die "no sandbox prefix to verify"
    return 1
  fi
  while IFS= read -r -d '' l; do
    if ! _sandbox_inside "$l" "$dir"; then
      echo "wine-sandbox: LEAK: $l -> $(readlink -- "$l")" >&2
      bad=1
    fi
  done < <(find "$WINEPREFIX" -type l -print0)
  if ((bad)); then
    sandbox_die "the sandbox at $dir reaches outside itself; refusing to go on"
    return 1
  fi
}

# Removes every way out of the prefix: drives that point outside DIR and the links to $HOME.
_sandbox_seal() {
  local dir="$SANDBOX_DIR" l
  for l in "$WINEPREFIX"/dosdevices/*; do
    [[ -L "$l" ]] || continue
    _sandbox_inside "$l" "$dir" || rm -f -- "$l"
  done
  while IFS= read -r -d '' l; do
    rm -f -- "$l" && mkdir -p -- "$l" && sandbox_own "$l"
  done < <(find "$WINEPREFIX/drive_c/users" -type l -print0)
  _sandbox_as mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME/Trash/files" \
    "$XDG_DATA_HOME/Trash/info"
}

# sandbox_create DIR: a new sandbox in DIR (created if needed; must not hold one yet).
sandbox_create() {
  local dir="$1" template
  if [[ -z "$dir" ]]; then
    sandbox_die "usage: sandbox_create DIR"
    return 1
  fi
  mkdir -p -- "$dir" || return 1
  dir="$(realpath -- "$dir")" || return 1
  if [[ "$dir" == "/" ]]; then
    sandbox_die "refusing / as a sandbox"
    return 1
  fi
  if [[ -e "$dir/prefix" ]]; then
    sandbox_die "$dir already holds a prefix"
    return 1
  fi
  template="$(_sandbox_template)" || return 1
  sandbox_own "$dir"
  _sandbox_env "$dir"
  cp -a -- "$template" "$WINEPREFIX" || return 1
  rm -f -- "$WINEPREFIX/$SANDBOX_TEMPLATE_MARK"
  _sandbox_seal
  _sandbox_xauth
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    _sandbox_queue_reg '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"'
  fi
  _sandbox_fonts || return 1
  sandbox_verify || return 1
  touch "$dir/$SANDBOX_OK_MARK"
}

# sandbox_open DIR: sets the environment for an existing sandbox and checks it again.
sandbox_open() {
  local dir
  dir="$(realpath -e -- "$1" 2>/dev/null)" || dir=""
  if [[ -z "$dir" || ! -f "$dir/$SANDBOX_OK_MARK" || ! -d "$dir/prefix" ]]; then
    sandbox_die "no complete sandbox at $1"
    return 1
  fi
  _sandbox_env "$dir"
  _sandbox_seal
  _sandbox_xauth
  _sandbox_fonts || return 1
  sandbox_verify
}

# Appends a key and its values to the .reg file imported by the next sandbox_start.
_sandbox_queue_reg() {
  local f="$SANDBOX_DIR/pending.reg" line
  [[ -f "$f" ]] || printf 'REGEDIT4\r\n' >"$f"
  printf '\r\n' >>"$f"
  for line in "$@"; do
    printf '%s\r\n' "$line" >>"$f"
  done
}

# sandbox_add_drive LETTER TYPE HOSTDIR
sandbox_add_drive() {
  local letter="${1,,}" type="$2" host="$3"
  if [[ -z "${SANDBOX_DIR:-}" ]]; then
    sandbox_die "sandbox_add_drive: no sandbox (call sandbox_create first)"
    return 1
  fi
  letter="${letter%:}"
  if [[ ! "$letter" =~ ^[a-y]$ || "$letter" == c ]]; then
    sandbox_die "sandbox_add_drive: bad drive letter '$1'"
    return 1
  fi
  case "$type" in
    hd | floppy | cdrom | network | ramdisk) ;;
    *)
      sandbox_die "sandbox_add_drive: bad drive type '$type' (hd, floppy, cdrom, network, ramdisk)"
      return 1
      ;;
  esac
  host="$(realpath -m -- "$host")" || return 1
  if ! _sandbox_inside "$host" "$SANDBOX_DIR" || [[ "$host" == "$SANDBOX_DIR" ]]; then
    sandbox_die "sandbox_add_drive: $host is not inside the sandbox $SANDBOX_DIR"
    return 1
  fi
  mkdir -p -- "$host" || return 1
  sandbox_own "$host"
  rm -f -- "$WINEPREFIX/dosdevices/$letter:"
  ln -s -- "$host" "$WINEPREFIX/dosdevices/$letter:" || return 1
  _sandbox_queue_reg '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]' "\"$letter:\"=\"$type\""
  # Drive types are read when the server starts: a running server must be restarted.
  if [[ "${_SANDBOX_STARTED:-}" == "$SANDBOX_DIR" ]]; then
    sandbox_stop
    sandbox_start
  fi
}

# Imports the queued .reg file; Wine reads it from inside the prefix since Z: is gone.
_sandbox_import_pending() {
  local f="$SANDBOX_DIR/pending.reg" win="$WINEPREFIX/drive_c/windows/temp/dustorix-pending.reg"
  [[ -f "$f" ]] || return 0
  cp -- "$f" "$win" && sandbox_own "$win" || return 1
  if ! (cd "$WINEPREFIX/drive_c" &&
    sandbox_wine regedit /S 'C:\windows\temp\dustorix-pending.reg' </dev/null >/dev/null 2>&1); then
    sandbox_die "importing $f failed"
    return 1
  fi
  # Let the server write the registry and go, so that the next one reads the new drive types.
  _sandbox_as wineserver -w >/dev/null 2>&1
  rm -f -- "$win" "$f"
}

sandbox_start() {
  if [[ -z "${SANDBOX_DIR:-}" ]]; then
    sandbox_die "sandbox_start: no sandbox"
    return 1
  fi
  _sandbox_import_pending || return 1
  _sandbox_seal
  sandbox_verify || return 1
  # A server started from a pipe would keep the pipe open: start it on its own, output to /dev/null.
  _sandbox_as wineserver -p"$SANDBOX_PERSIST" </dev/null >/dev/null 2>&1
  (cd "$WINEPREFIX/drive_c" && sandbox_wine wineboot </dev/null >/dev/null 2>&1) || true
  _SANDBOX_STARTED="$SANDBOX_DIR"
  sandbox_at_exit "WINEPREFIX='$WINEPREFIX' sandbox_stop"
  # Wine links serial ports (com1 -> /dev/ttyS0 ...) in dosdevices each time it starts: drop them.
  _sandbox_seal
  sandbox_verify
}

sandbox_stop() {
  [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]] || return 0
  _sandbox_as wineserver -k </dev/null >/dev/null 2>&1 || true
  _sandbox_as wineserver -w </dev/null >/dev/null 2>&1 || true
  _SANDBOX_STARTED=""
}
