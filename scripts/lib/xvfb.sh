# shellcheck shell=bash
# A private X display for the scripts that show windows without one.
#
# Source scripts/lib/wine-sandbox.sh first (for sandbox_at_exit), then this file, then:
#   start_xvfb WxHxD   starts Xvfb with a screen of that size and depth on the first free display
#                      from :99 on, exports DISPLAY and stops the server when the script exits.
#                      Its log is build/xvfb.log.

start_xvfb() {
  local screen="$1" build="$SANDBOX_REPO/build" n fd_file pid i num
  mkdir -p "$build" || return 1
  fd_file="$(mktemp "$build/xvfb-display.XXXXXX")" || return 1
  for ((n = 99; n < 160; n++)); do
    [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
    : >"$fd_file"
    num=""
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -displayfd 3 3>"$fd_file" \
      </dev/null >"$build/xvfb.log" 2>&1 &
    pid=$!
    # Xvfb writes the display number to the descriptor once it accepts clients.
    for ((i = 0; i < 100; i++)); do
      num="$(head -n1 "$fd_file" 2>/dev/null)"
      [[ -n "$num" ]] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [[ -n "$num" ]] && kill -0 "$pid" 2>/dev/null; then
      rm -f "$fd_file"
      sandbox_at_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
      export DISPLAY=":$num"
      echo "Xvfb started on $DISPLAY"
      return 0
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -f "$fd_file"
  echo "could not start Xvfb (see build/xvfb.log)" >&2
  return 1
}
