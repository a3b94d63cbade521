#!/usr/bin/env bash
# Runs a command on a display of its own with a window manager (openbox):
# starts a virtual X server on a free display number, starts openbox on it,
# waits until the manager has announced itself, runs the command and ends
# both. The command's exit status is the script's.
set -euo pipefail
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/stelo-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# -displayfd tells the display number the server chose once it accepts clients.
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
wm_pid=""
finish() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -f "$fd_file"
}
trap finish EXIT
for _ in $(seq 100); do
  [ -s "$fd_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-openbox: the X server did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$fd_file" ] || { echo "with-openbox: no display within 10 s" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# openbox owns the window-manager selection once it manages the screen.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  kill -0 "$wm_pid" 2>/dev/null || { echo "with-openbox: openbox did not start" >&2; exit 1; }
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "with-openbox: openbox did not take the screen within 10 s" >&2; exit 1; }
"$@"
