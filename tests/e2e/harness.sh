# End-to-end test harness: a display of its own, the program under test, its
# window, screenshots, keys, the close request and the exit status.
#
#   source tests/e2e/harness.sh          # E2E_X_CLIENT: path of the x_client tool
#   e2e_start_display [WxH]              # Xvfb on a free display; exports DISPLAY
#   e2e_start_wm openbox                 # a window manager on it, once it manages
#   e2e_start_program PROGRAM [ARGS...]  # in the background; E2E_PID
#   wid=$(e2e_wait_window NAME)          # its visible window, by exact title
#   e2e_screenshot "$wid" FILE           # PNG of the window
#   e2e_pixel FILE X Y                   # "R G B" of a screenshot pixel
#   e2e_wait_pixel "$wid" X Y "R G B"    # until the window shows that colour
#   e2e_keys "$wid" Up F1 a              # xdotool key names
#   e2e_geometry "$wid"                  # "X Y W H" of the client area on the screen
#   e2e_wait_geometry "$wid" "X Y W H"   # until it is that ("*" for any field)
#   e2e_close "$wid"                     # the close button (WM_DELETE_WINDOW)
#   e2e_wait_exit [SECONDS]              # E2E_STATUS: exit status, or 124 after the timeout
#   e2e_fail MESSAGE                     # one line on stderr, exit 1
#
# Everything started here is ended when the script exits.

E2E_TIMEOUT=${E2E_TIMEOUT:-10}
# In a build with the sanitizers the program checks for leaks at its end.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
E2E_DIR=$(mktemp -d)
E2E_XVFB_PID=""
E2E_PID=""
E2E_WM_PID=""

e2e_cleanup() {
  [ -n "$E2E_PID" ] && kill -9 "$E2E_PID" 2>/dev/null
  [ -n "$E2E_WM_PID" ] && kill -9 "$E2E_WM_PID" 2>/dev/null
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

e2e_start_display() {
  command -v Xvfb >/dev/null || e2e_fail "Xvfb is not installed"
  # Xvfb picks a free display number and writes it once it accepts clients.
  Xvfb -displayfd 5 -screen 0 "${1:-1024x768}x24" -nolisten tcp 5>"$E2E_DIR/display" 2>/dev/null &
  E2E_XVFB_PID=$!
  local waited=0
  until grep -q '[0-9]' "$E2E_DIR/display" 2>/dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    [ "$waited" -lt $((E2E_TIMEOUT * 20)) ] || e2e_fail "Xvfb did not start"
  done
  export DISPLAY=":$(tr -d '\n' <"$E2E_DIR/display")"
}

e2e_start_wm() {
  command -v "$1" >/dev/null || e2e_fail "$1 is not installed"
  # A window manager now and then dies while it starts on a loaded machine;
  # one that does is started again, twice at most.
  local attempt
  for attempt in 1 2 3; do
    e2e_try_wm "$1" && return 0
    kill -9 "$E2E_WM_PID" 2>/dev/null
    wait "$E2E_WM_PID" 2>/dev/null
    E2E_WM_PID=""
  done
  echo "--- $1's output:" >&2
  tail -n 20 "$E2E_DIR/wm.log" >&2
  e2e_fail "$1 did not start (three attempts)"
}

e2e_try_wm() {
  # Its settings go to the test's own folder, not the user's.
  HOME="$E2E_DIR" "$1" >"$E2E_DIR/wm.log" 2>&1 &
  E2E_WM_PID=$!
  # A window manager names its check window on the root once it manages.
  local tries=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$E2E_WM_PID" 2>/dev/null || return 1
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 20)) ] || return 1
    sleep 0.05
  done
}

e2e_start_program() {
  # A background job of a script starts with SIGINT ignored; the program
  # should meet it as it would from a terminal.
  env --default-signal=INT "$@" >"$E2E_DIR/stdout" 2>"$E2E_DIR/stderr" &
  E2E_PID=$!
}

e2e_wait_window() {
  timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

e2e_screenshot() {
  import -window "$1" "$2"
}

e2e_pixel() {
  convert "$1[1x1+$2+$3]" -depth 8 -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

e2e_wait_pixel() {
  local shot="$E2E_DIR/wait.png" tries=0
  while :; do
    e2e_screenshot "$1" "$shot" 2>/dev/null && [ "$(e2e_pixel "$shot" "$2" "$3")" = "$4" ] && return 0
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || return 1
    sleep 0.1
  done
}

e2e_keys() {
  local wid=$1
  shift
  xdotool windowfocus --sync "$wid" key --delay 20 "$@"
}

e2e_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /^ *Width/ {w = $NF} /^ *Height/ {h = $NF} END {print x, y, w, h}'
}

e2e_wait_geometry() {
  local tries=0 got want
  read -ra want <<<"$2"
  while :; do
    read -ra got <<<"$(e2e_geometry "$1")"
    local i same=1
    for i in 0 1 2 3; do
      [ "${want[$i]}" = "*" ] || [ "${want[$i]}" = "${got[$i]:-}" ] || same=0
    done
    [ "$same" = 1 ] && return 0
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || return 1
    sleep 0.1
  done
}

e2e_close() {
  "${E2E_X_CLIENT:?set E2E_X_CLIENT to the x_client tool}" close "$1"
}

e2e_wait_exit() {
  # Not in a subshell: only the shell that started the program can wait for it.
  local seconds=${1:-$E2E_TIMEOUT}
  E2E_STATUS=0
  if ! timeout "$seconds" tail --pid="$E2E_PID" -f /dev/null; then
    E2E_STATUS=124
    return
  fi
  wait "$E2E_PID" || E2E_STATUS=$?
  E2E_PID=""
}

# True when the region (ImageMagick geometry WxH+X+Y) of two pictures has the
# same pixels.
e2e_same_region() {
  local differing
  differing=$(compare -metric AE "$1[$3]" "$2[$3]" null: 2>&1) || true
  [ "$differing" = "0" ]
}

# Waits until the window shows the region of a reference picture.
e2e_wait_region() {
  local shot="$E2E_DIR/region.png" tries=0
  while :; do
    e2e_screenshot "$1" "$shot" 2>/dev/null && e2e_same_region "$shot" "$2" "$3" && return 0
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || return 1
    sleep 0.1
  done
}

# A reference picture as a window of WxH shows it: scaled by whole pixels
# (ImageMagick's -scale repeats them exactly at a whole factor), centred
# between black bars.
e2e_scaled_reference() {
  local file="${1%.png}-$2.png"
  convert "$1" -scale "$2" -background black -gravity center -extent "$2" "$file" ||
    e2e_fail "cannot scale $1"
  echo "$file"
}

# The region WxH+X+Y of the picture scaled by a whole FACTOR and moved by OX OY.
e2e_scaled_region() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$1"
  echo "$((w * $2))x$((h * $2))+$((x * $2 + $3))+$((y * $2 + $4))"
}

# The headless picture after FRAMES frames with KEYS typed, as a reference.
e2e_reference() {
  local file="$E2E_DIR/reference-$1-$2.png"
  "${E2E_SNAPSHOT:?set E2E_SNAPSHOT to mehrfachspalt-snapshot}" --frames "$1" --keys "$2" "$file" ||
    e2e_fail "no reference picture for $2"
  echo "$file"
}

# A reference picture of the snapshot tool in a language, as e2e_reference
# but with LANGUAGE and LANG (and the tests' locales):
#   e2e_reference_in LANGUAGE LANG FRAMES KEYS
e2e_reference_in() {
  local file="$E2E_DIR/reference-$1-$2-$4.png"
  env LANGUAGE="$1" LANG="$2" LOCPATH="$E2E_LOCPATH" "$E2E_SNAPSHOT" --frames "$3" --keys "$4" \
    "$file" || e2e_fail "no reference picture in $1 $2"
  echo "$file"
}

# Waits until window WID shows each REGION of the picture REFERENCE scaled:
#   e2e_shows_scaled WID REFERENCE SIZE FACTOR OX OY WHAT REGION...
# SIZE is what e2e_scaled_reference scales the reference to, FACTOR OX OY
# where e2e_scaled_region finds a region in it; WHAT names the case.
e2e_shows_scaled() {
  local wid=$1 reference=$2 size=$3 factor=$4 ox=$5 oy=$6 what=$7 scaled region
  shift 7
  scaled=$(e2e_scaled_reference "$reference" "$size")
  for region in "$@"; do
    e2e_wait_region "$wid" "$scaled" "$(e2e_scaled_region "$region" "$factor" "$ox" "$oy")" ||
      e2e_fail "$what: region $region of the picture is not shown scaled by $factor"
  done
}
