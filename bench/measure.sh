# shellcheck shell=bash
# How the CPU benchmarks measure a running program, sourced by them (after
# tests/e2e/harness.sh where the X11 helpers are used):
#
#   now_ms                          # wall clock in milliseconds
#   cpu_snapshot WHAT               # "PID:START TICKS" per process: utime + stime of
#                                   # all its threads; WHAT is a PID, or tree:PID for
#                                   # that process and all its descendants
#   cpu_span SECONDS WHAT...        # "SPAN P1 P2 ...": the span in seconds and the
#                                   # per cent of one core each WHAT used in it
#   x11_wait_picture MS [WID]       # the program's window id once it shows its
#                                   # white background at (0,0), at most MS after now;
#                                   # WID for a window that a window manager holds
#   x11_full_screen WID             # Alt+Enter, then until the window covers the screen
#
# The time comes from /proc/PID/stat (clock ticks), so a process's share does
# not depend on how long it waited for a core on a shared machine. A span
# counts each process by what it used between the two snapshots; one that
# starts within the span counts whole, one that ends within it not at all
# (a browser's tab that was closed just before must not make the sum drop).

now_ms() { echo $(($(date +%s%N) / 1000000)); }

cpu_snapshot() {
  local root=${1#tree:} files
  files=("/proc/$root/stat")
  [ "$1" = "$root" ] || files=(/proc/[0-9]*/stat)
  # The fields after the command name, which is in brackets and may hold
  # blanks; the start time tells a pid used again from the process that had
  # it. cat goes on past processes that end meanwhile.
  cat "${files[@]}" 2>/dev/null | awk -v root="$root" '
    {
      rest = $0
      sub(/^.*\) /, "", rest)
      split(rest, f, " ")
      parent[$1] = f[2]
      ticks[$1] = f[12] + f[13]
      start[$1] = f[20]
    }
    END {
      for (pid in ticks) {
        for (p = pid; p != "" && p != 0 && p != root; p = parent[p]) {}
        if (p == root) print pid ":" start[pid], ticks[pid]
      }
    }'
}

cpu_span() {
  local seconds=$1 i before=() after=() used=() start span
  shift
  for i in "$@"; do before+=("$(cpu_snapshot "$i")"); done
  start=$(now_ms)
  sleep "$seconds"
  span=$(($(now_ms) - start))
  for i in "$@"; do after+=("$(cpu_snapshot "$i")"); done
  for i in "${!after[@]}"; do
    # The measured process (or the tree's root) must still be there.
    [ -n "${after[$i]}" ] || return 1
    used+=("$(awk 'NR == FNR { was[$1] = $2; next } { sum += $2 - ($1 in was ? was[$1] : 0) }
      END { print sum + 0 }' <(echo "${before[$i]}") <(echo "${after[$i]}"))")
  done
  awk -v hz="$(getconf CLK_TCK)" -v ms="$span" -v used="${used[*]}" '
    BEGIN {
      n = split(used, u, " ")
      line = sprintf("%.1f", ms / 1000)
      for (i = 1; i <= n; i++) line = line sprintf(" %.2f", 100 * u[i] / hz / (ms / 1000))
      print line
    }'
}

x11_wait_picture() {
  local until=$(($(now_ms) + $1)) wid=${2:-}
  # The quick search sees only the root's children, which is enough without
  # a window manager and polls often enough to time the first picture.
  until { [ -n "${2:-}" ] || wid=$("${E2E_X_CLIENT:?}" find mehrfachspalt 2>/dev/null); } &&
    [ "$("$E2E_X_CLIENT" pixel "$wid" 0 0 2>/dev/null)" = "255 255 255" ]; do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      echo "the program ended: $(cat "$E2E_DIR/stderr")" >&2
      return 1
    fi
    [ "$(now_ms)" -lt "$until" ] || { echo "no picture within $1 ms" >&2 && return 1; }
    sleep 0.002
  done
  echo "$wid"
}

x11_full_screen() {
  local size
  size=$(xdpyinfo | awk '/dimensions:/ {sub(/x/, " ", $2); print $2; exit}')
  xdotool windowfocus --sync "$1" key alt+Return
  e2e_wait_geometry "$1" "0 0 $size" && return 0
  echo "Alt+Enter gave $(e2e_geometry "$1"), not 0 0 $size" >&2
  return 1
}
