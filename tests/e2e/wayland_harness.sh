# Wayland compositors for end-to-end tests, sourced after harness.sh:
#
#   wl_start_compositor weston|sway   # its socket in WL_SOCKET, its pid in WL_COMPOSITOR_PID
#   wl_start_program PROGRAM [ARGS...] # as e2e_start_program, on Wayland alone (no DISPLAY)
#   wl_screenshot FILE                 # PNG of the compositor's whole output
#   wl_find_picture FILE               # WxH+X+Y of what differs from the empty desktop
#   wl_plug_keyboard                   # a keyboard for the seat (sway has none)
#   wl_keys KEY...                     # xdotool key names: m, e, Up, alt+Return
#   wl_run COMMAND...                  # a command as the compositor's client
#
# weston runs in an 800 x 600 window of the test's Xvfb (its X11 backend,
# drawing in software), as root; keys reach it through xdotool. The X pointer waits beside its window,
# so that weston's own pointer stays where it started. sway runs headless, which it refuses to do
# as root, so it and its clients run as nobody with a runtime folder of
# their own; keys come from wtype, pictures from grim.
#
# A compositor that cannot start in this environment skips the test (status
# 77) with the reason, unless E2E_WAYLAND_REQUIRED is set.

WL_KIND=""
WL_SOCKET=""
WL_RUNTIME=""
WL_COMPOSITOR_PID=""
WL_KEYBOARD_PID=""
WL_X_WINDOW=""
WL_CLIENT=()
WL_DESKTOP=""
WL_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
WL_SKIP=77

wl_cleanup() {
  [ -n "$WL_KEYBOARD_PID" ] && kill "$WL_KEYBOARD_PID" 2>/dev/null
  [ -n "$E2E_PID" ] && kill -9 "$E2E_PID" 2>/dev/null
  E2E_PID=""
  [ -n "$WL_COMPOSITOR_PID" ] && kill "$WL_COMPOSITOR_PID" 2>/dev/null &&
    timeout 5 tail --pid="$WL_COMPOSITOR_PID" -f /dev/null
  e2e_cleanup
}
trap wl_cleanup EXIT

wl_skip() {
  if [ -n "${E2E_WAYLAND_REQUIRED:-}" ]; then e2e_fail "$*"; fi
  echo "SKIP: $*"
  exit "$WL_SKIP"
}

# Waits until a file exists while the compositor lives; else skips with the
# last lines of its log.
wl_wait_ready() {
  local file=$1 tries=0
  until [ -e "$file" ]; do
    if ! kill -0 "$WL_COMPOSITOR_PID" 2>/dev/null; then
      wl_skip "$WL_KIND could not start here: $(tail -n 3 "$E2E_DIR/compositor.log" | tr '\n' ' ')"
    fi
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 20)) ] ||
      wl_skip "$WL_KIND did not become ready in ${E2E_TIMEOUT} s: $(tail -n 3 "$E2E_DIR/compositor.log" | tr '\n' ' ')"
    sleep 0.05
  done
}

wl_start_weston() {
  command -v weston >/dev/null || e2e_fail "weston is not installed"
  e2e_start_display
  xdotool mousemove 1000 700
  WL_RUNTIME="$E2E_DIR/runtime"
  mkdir -m 700 "$WL_RUNTIME"
  WL_SOCKET=mehrfachspalt-e2e
  # A black desktop without panel, clock or animations, so that only the
  # program changes the picture; no screen lock during the test.
  cat >"$E2E_DIR/weston.ini" <<EOF
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff000000
startup-animation=none
animation=none
close-animation=none
focus-animation=none
EOF
  XDG_RUNTIME_DIR="$WL_RUNTIME" weston --backend=x11-backend.so --use-pixman --socket="$WL_SOCKET" \
    --width=800 --height=600 --config="$E2E_DIR/weston.ini" >"$E2E_DIR/compositor.log" 2>&1 &
  WL_COMPOSITOR_PID=$!
  wl_wait_ready "$WL_RUNTIME/$WL_SOCKET"
  WL_X_WINDOW=$(timeout "$E2E_TIMEOUT" xdotool search --sync --class '^Weston Compositor$' |
    head -n 1)
  [ -n "$WL_X_WINDOW" ] || wl_skip "weston showed no window on Xvfb"
  # weston has the X keyboard before any client maps: a window it
  # activates then keeps the keyboard, where an X focus that came later
  # would hand it back to whatever weston remembered.
  xdotool windowfocus --sync "$WL_X_WINDOW"
  WL_CLIENT=(env -u DISPLAY XDG_RUNTIME_DIR="$WL_RUNTIME" WAYLAND_DISPLAY="$WL_SOCKET")
}

wl_start_sway() {
  command -v sway >/dev/null || e2e_fail "sway is not installed"
  command -v wtype >/dev/null || e2e_fail "wtype is not installed"
  id nobody >/dev/null 2>&1 || wl_skip "no user nobody to run sway as"
  # nobody must reach its runtime folder.
  chmod 711 "$E2E_DIR"
  WL_RUNTIME="$E2E_DIR/runtime"
  mkdir -m 700 "$WL_RUNTIME"
  chown nobody:nogroup "$WL_RUNTIME"
  # Floating at its own size, without borders: the picture as the program
  # draws it. Ready once the configuration has run.
  cat >"$E2E_DIR/sway.config" <<EOF
xwayland disable
output * resolution 1024x768
default_border none
default_floating_border none
for_window [title=".*"] floating enable
exec touch $WL_RUNTIME/ready
EOF
  chmod 644 "$E2E_DIR/sway.config"
  "${WL_USER[@]}" env -u DISPLAY -u WAYLAND_DISPLAY HOME="$WL_RUNTIME" XDG_RUNTIME_DIR="$WL_RUNTIME" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$E2E_DIR/sway.config" >"$E2E_DIR/compositor.log" 2>&1 &
  WL_COMPOSITOR_PID=$!
  wl_wait_ready "$WL_RUNTIME/ready"
  WL_SOCKET=$(cd "$WL_RUNTIME" && ls wayland-[0-9]* 2>/dev/null | grep -v lock | head -n 1)
  [ -n "$WL_SOCKET" ] || wl_skip "sway opened no Wayland socket"
  WL_CLIENT=("${WL_USER[@]}" env -u DISPLAY HOME="$WL_RUNTIME" XDG_RUNTIME_DIR="$WL_RUNTIME"
    WAYLAND_DISPLAY="$WL_SOCKET")
}

wl_start_compositor() {
  WL_KIND=$1
  case "$1" in
    weston) wl_start_weston ;;
    sway) wl_start_sway ;;
    *) e2e_fail "no compositor named $1" ;;
  esac
  # The empty desktop, to tell the program's window from: a picture that
  # stays as it is. weston shows a dark red until its shell has drawn the
  # black desktop, and then the pointer.
  WL_DESKTOP="$E2E_DIR/desktop.png"
  local before="$E2E_DIR/desktop-before.png" tries=0
  until wl_screenshot "$WL_DESKTOP" 2>/dev/null && [ -s "$before" ] &&
    e2e_same_region "$before" "$WL_DESKTOP" 10000x10000+0+0 &&
    { [ "$WL_KIND" = sway ] || { [ "$(e2e_pixel "$WL_DESKTOP" 799 599)" = "0 0 0" ] &&
      [ "$(convert "$WL_DESKTOP" -format '%k' info:)" != 1 ]; }; }; do
    [ -s "$WL_DESKTOP" ] && cp "$WL_DESKTOP" "$before"
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || wl_skip "$WL_KIND never showed a still desktop"
    sleep 0.1
  done
}

# sway headless starts without a keyboard, and every wtype brings its own and
# takes it away again: a client would bind that keyboard only after the key
# was gone. One wtype that waits holds a keyboard from here on, as one
# plugged in would (it would type its x after 10 minutes). weston's seat
# has its keyboard from the start.
wl_plug_keyboard() {
  [ "$WL_KIND" = sway ] || return 0
  "${WL_CLIENT[@]}" wtype -s 600000 x >/dev/null 2>&1 &
  WL_KEYBOARD_PID=$!
}

wl_run() {
  "${WL_CLIENT[@]}" "$@"
}

# The program as the compositor's user may run it: on sway nobody runs it,
# so a copy it may read wherever the build lies (a private folder too).
wl_runnable() {
  if [ "$WL_KIND" = sway ]; then
    install -m 755 "$1" "$WL_RUNTIME/$(basename "$1")"
    echo "$WL_RUNTIME/$(basename "$1")"
  else
    echo "$1"
  fi
}

wl_start_program() {
  local program
  program=$(wl_runnable "$1")
  shift
  # In a build with the sanitizers the leak check stays with the X11 tests:
  # on Wayland, SDL 2.26 (a keyboard state per keyboard change, protocol
  # objects), Mesa's renderer and libdecor keep memory to the end, in stacks
  # that stop inside those libraries. Memory errors are still found.
  export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  e2e_start_program "${WL_CLIENT[@]}" "$program" "$@"
}

wl_screenshot() {
  if [ "$WL_KIND" = sway ]; then
    wl_run grim "$WL_RUNTIME/shot.png" && cp "$WL_RUNTIME/shot.png" "$1"
  else
    import -window "$WL_X_WINDOW" "$1"
  fi
}

wl_find_picture() {
  # A black frame round the difference, so that a window in a corner is
  # found too.
  convert "$WL_DESKTOP" "$1" -compose difference -composite -bordercolor black -border 1 \
    -format '%@' info: 2>/dev/null | awk -F'[x+]' '{ printf "%dx%d+%d+%d", $1, $2, $3 - 1, $4 - 1 }'
}

wl_keys() {
  if [ "$WL_KIND" = weston ]; then
    xdotool windowfocus --sync "$WL_X_WINDOW" key --delay 20 "$@"
    return
  fi
  # One wtype for all the keys: each brings a keyboard of its own, and SDL
  # 2.26 now and then crashes when keyboards change in quick succession.
  local key args=()
  for key in "$@"; do
    case "$key" in
      alt+Return) args+=(-M alt -k Return -m alt) ;;
      ?) args+=("$key") ;;
      *) args+=(-k "$key") ;;
    esac
  done
  wl_run wtype "${args[@]}"
}
