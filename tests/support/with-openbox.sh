#!/usr/bin/env bash
# Runs a command on a display of its own with a window manager (openbox):
# starts a virtual X server on a free display number, starts openbox on it,
# waits until the manager has announced itself, runs the command and ends
# both. The command's exit status is the script's.
set -euo pipefail
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/stelo-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# -displayfd tells the display number the server chose once it accepts
# clients. -noreset: without it the server resets whenever its last client
# leaves, as each xprop below does, and a reset during openbox's start cuts
# openbox off.
fd_file=$(mktemp)
wm_log=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
wm_pid=""
finish() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -f "$fd_file" "$wm_log"
}
trap finish EXIT
# The server and openbox are awaited as long as they live, up to a minute
# each: a busy machine can take seconds to start either.
for _ in $(seq 600); do
  [ -s "$fd_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-openbox: the X server did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$fd_file" ] || { echo "with-openbox: no display within 60 s" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
# openbox owns the window-manager selection once it manages the screen. On a
# loaded machine it can give up and end before that; it is then started
# again (the command itself runs once).
manages() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for attempt in 1 2 3 4 5; do
  openbox --sm-disable >"$wm_log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 600); do
    kill -0 "$wm_pid" 2>/dev/null || break
    manages && break
    sleep 0.1
  done
  kill -0 "$wm_pid" 2>/dev/null && manages && break
  echo "with-openbox: openbox attempt $attempt did not take the screen: $(cat "$wm_log")" >&2
  kill "$wm_pid" 2>/dev/null || true
  wait "$wm_pid" 2>/dev/null || true
  wm_pid=""
done
[ -n "$wm_pid" ] || { echo "with-openbox: openbox did not start" >&2; exit 1; }
"$@"
