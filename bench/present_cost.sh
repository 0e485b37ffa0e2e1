#!/usr/bin/env bash
# What presenting the picture costs, as two Markdown tables of the per cent
# of one core used over a span (utime + stime of /proc/PID/stat):
#
# - the program and the X server, one program on a 1920 x 1080 Xvfb under
#   openbox, state after state: its window animating; with the wave
#   picture's waves moving behind the figures ("f"); full screen by
#   Alt+Enter; single steps ("s"), waiting for the next key; minimised;
# - the whole browser (its process tree) showing the program's page and a
#   floor page that only puts 640 x 450 pixels onto a canvas twenty times a
#   second, in headless Chromium and in Firefox ESR.
#
#   bench/present_cost.sh [PROGRAM] [SECONDS]
#
# Defaults: build/mehrfachspalt, 10 s per state. The page comes from
# build-web (bash scripts/web.sh, which also installs both browsers and
# puppeteer-core); WEB_BUILD names another folder, CHROMIUM and FIREFOX other
# browsers. A state or browser that cannot be measured gets a row that says
# why; the rest of the table is measured all the same.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
web_build=${WEB_BUILD:-$root/build-web}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}

STATES=("window, animating" "window, the wave picture's waves on (f)"
  "full screen 1920 x 1080, animating" "single step, waiting for a key" "minimised")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

say() { echo "present_cost: $*" >&2; }

# One row from cpu_span's "SPAN PROGRAM SERVER", or one that says what failed.
measure_state() {
  local measured span program server
  say "$1 ($seconds s)"
  if ! measured=$(cpu_span "$seconds" "$E2E_PID" "$E2E_XVFB_PID"); then
    echo "| $1 | failed: the program or the X server ended | | |"
    return 1
  fi
  read -r span program server <<<"$measured"
  awk -v what="$1" -v p="$program" -v s="$server" \
    'BEGIN { printf "| %s | %.1f %% | %.1f %% | %.1f %% |\n", what, p, s, p + s }'
}

failed_state() { echo "| $1 | failed: $2 | | |"; }

# Until two pictures of the window 0.3 s apart are the same (still) or
# differ (moving): six frames are enough for the animation to show.
wait_picture() {
  local tries=0 same
  while :; do
    e2e_screenshot "$1" "$work/a.png" && sleep 0.3 && e2e_screenshot "$1" "$work/b.png" || return 1
    same=moving
    e2e_same_region "$work/a.png" "$work/b.png" 640x480+0+0 && same=still
    [ "$same" = "$2" ] && return 0
    tries=$((tries + 1))
    [ "$tries" -lt "$E2E_TIMEOUT" ] || return 1
  done
}

wait_iconic() {
  local tries=0
  until xprop -id "$1" WM_STATE 2>/dev/null | grep -q Iconic; do
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || return 1
    sleep 0.1
  done
}

# Run in a subshell of its own: the harness ends its display, window manager
# and program when that subshell ends, and a failure to start them ends only it.
desktop_states() {
  source "$root/tests/e2e/harness.sh"
  source "$root/bench/measure.sh"
  [ -x "$E2E_X_CLIENT" ] || e2e_fail "no x_client tool (cmake --build build --target x_client)"
  [ -x "$program" ] || e2e_fail "no program at $program"
  local wid w h
  e2e_start_display 1920x1080
  e2e_start_wm openbox
  e2e_start_program "$program"
  wid=$(e2e_wait_window mehrfachspalt)
  [ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
  x11_wait_picture 20000 "$wid" >/dev/null || e2e_fail "no first picture"
  e2e_wait_geometry "$wid" "* * 640 480" || e2e_fail "the window is $(e2e_geometry "$wid"), not 640 x 480"
  measure_state "${STATES[0]}" || return 1

  # The waves change most of the picture every frame; "f" twice more ends them.
  e2e_keys "$wid" f
  sleep 1
  measure_state "${STATES[1]}" || return 1
  e2e_keys "$wid" f f

  if x11_full_screen "$wid" 2>"$work/full"; then
    measure_state "${STATES[2]}" || return 1
  else
    failed_state "${STATES[2]}" "$(cat "$work/full")"
  fi
  # Alt+Enter toggles: back to the window only from wherever full screen went.
  read -r _ _ w h <<<"$(e2e_geometry "$wid")"
  [ "$w $h" = "640 480" ] || e2e_keys "$wid" alt+Return
  e2e_wait_geometry "$wid" "* * 640 480" || e2e_fail "Alt+Enter left the window at $(e2e_geometry "$wid")"

  e2e_keys "$wid" s
  if wait_picture "$wid" still; then
    measure_state "${STATES[3]}" || return 1
  else
    failed_state "${STATES[3]}" "the picture still moves after s"
  fi
  e2e_keys "$wid" w
  wait_picture "$wid" moving || e2e_fail "w did not resume the animation"

  xdotool windowminimize "$wid"
  if wait_iconic "$wid"; then
    measure_state "${STATES[4]}" || return 1
  else
    failed_state "${STATES[4]}" "the window manager did not minimise the window"
  fi

  # SIGTERM is the close request: the program ends as from its close button.
  kill "$E2E_PID"
  e2e_wait_exit
  [ "$E2E_STATUS" = 0 ] || e2e_fail "the program ended with status $E2E_STATUS"
}

# Lines that begin with "|" (rows) to standard output, the others to standard
# error, each kept in FILE.rows or FILE.err too.
sort_lines() {
  local line
  : >"$1.rows"
  : >"$1.err"
  while IFS= read -r line; do
    case $line in
      '|'*) echo "$line" | tee -a "$1.rows" ;;
      *) echo "$line" | tee -a "$1.err" >&2 ;;
    esac
  done
}

page_row() {
  local kind=$1 browser=$2 name=$3 missing=""
  if [ ! -f "$web_build/site/index.html" ]; then
    missing="the browser build"
  elif [ ! -d "$web_build/node/node_modules/puppeteer-core" ]; then
    missing="puppeteer-core"
  elif ! command -v node >/dev/null; then
    missing="node"
  elif [ ! -x "$browser" ]; then
    missing="$browser"
  fi
  if [ -n "$missing" ]; then
    echo "| $name | not measured: $missing is missing (bash scripts/web.sh) | | |"
    return
  fi
  say "$name: the program's page, then the floor page ($seconds s each)"
  # Launch, two pages and their spans; a hung browser must not hold the table.
  NODE_PATH="$web_build/node/node_modules" timeout $((2 * seconds + 120)) \
    node "$root/bench/page_cost.cjs" "$web_build/site" "$kind" "$browser" "$seconds" \
    "$root/bench/measure.sh" 2>&1 | sort_lines "$work/page"
  local status=${PIPESTATUS[0]}
  [ -s "$work/page.rows" ] ||
    echo "| $name | failed (status $status): $(tail -n 1 "$work/page.err") | | |"
}

echo "| state | program | X server | together |"
echo "|---|---|---|---|"
(desktop_states) 2>&1 | sort_lines "$work/desktop"
rows=$(wc -l <"$work/desktop.rows")
reason=$(sed -n 's/^FAIL: //p' "$work/desktop.err" | tail -n 1)
for ((i = rows; i < ${#STATES[@]}; i++)); do
  failed_state "${STATES[$i]}" "${reason:-see the messages above}"
done

echo
echo "| browser | page | floor | page / floor |"
echo "|---|---|---|---|"
page_row chromium "${CHROMIUM:-/usr/bin/chromium}" "headless Chromium"
page_row firefox "${FIREFOX:-/usr/bin/firefox-esr}" "Firefox ESR (headless)"
