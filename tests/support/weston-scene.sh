#!/usr/bin/env bash
# Runs a scene on a Wayland desktop as a user would start it there, for the
# first time (no settings file): a headless compositor (weston, pixman
# renderer) with XWayland, the program started without a chosen platform.
# The three windows must open apart, each on the screen, and the
# compositor's own screen, read back twice a second apart, must show the
# scene moving in the 3D view.
# Usage: weston-scene.sh STELO PNG_REGION SCENE
set -euo pipefail
stelo=$1 png_region=$2 scene=$3
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=stelo-test-$$
weston_pid="" stelo_pid=""
finish() {
  set +e
  [ -n "$stelo_pid" ] && kill "$stelo_pid" 2>/dev/null && wait "$stelo_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  [ -n "${STELO_KEEP_SHOTS:-}" ] && cp "$work"/shot.*/*.png "$STELO_KEEP_SHOTS"/ 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "weston-scene: $*" >&2; exit 1; }

# Waits up to $1 tenths of a second for the command after it to succeed.
await() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}

cat >"$work/weston.ini" <<INI
[core]
xwayland=true
[shell]
panel-position=none
background-color=0xff404040
INI
# XWayland puts its socket in /tmp/.X11-unix, which only an X server that
# ran before has made on a fresh machine.
if [ ! -d /tmp/.X11-unix ]; then mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix; fi
weston --debug --backend=headless-backend.so --use-pixman --socket="$socket" --width=1024 --height=768 \
  --config="$work/weston.ini" --log="$work/weston.log" &
weston_pid=$!
await 200 grep -q 'xserver listening on display' "$work/weston.log" || fail "no XWayland display within 20 s"
x_display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n1)

mkdir "$work/run"
(cd "$work/run" && exec env -u QT_QPA_PLATFORM DISPLAY="$x_display" WAYLAND_DISPLAY="$socket" \
  XDG_SESSION_TYPE=wayland "$stelo" "$scene") &
stelo_pid=$!

# The 3D view's drawing area on the X display (whose coordinates are the
# compositor's screen): its client area less the toolbar and status bar.
view_area() {
  DISPLAY="$x_display" xwininfo -name "Stelo3d - 3D View" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
         END { if (w > 100) print x + 5, y + 30, w - 10, h - 60; else exit 1 }'
}
# Placed once the compositor's window manager has put it into its frame.
# and its place has stopped changing.
framed() {
  local before after
  DISPLAY="$x_display" xwininfo -tree -name "Stelo3d - 3D View" 2>/dev/null |
    grep 'Parent window id' | grep -vq 'root window' || return 1
  before=$(view_area) && sleep 0.3 && after=$(view_area) && [ "$before" = "$after" ]
}
await 300 framed || fail "the 3D view did not open on the X display within 30 s"

# Each window's client area with the caption above it (weston's is less
# than 30 pixels high): "left top right bottom".
window_box() {
  DISPLAY="$x_display" xwininfo -name "$1" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
         END { if (w > 0) print x, y - 30, x + w, y + h; else exit 1 }'
}
screen_size=$(DISPLAY="$x_display" xwininfo -root | awk '/Width/ {w=$2} /Height/ {h=$2} END {print w, h}')
# Writes the three boxes to $work/layout and says whether they lie apart on the screen.
windows_apart() {
  local title box
  : >"$work/layout"
  for title in "Stelo Gravitational Simulation" "Stelo3d - 3D View" "Stelo3d - Interactive View"; do
    box=$(window_box "$title") || return 1
    echo "$box $title" >>"$work/layout"
  done
  awk -v size="$screen_size" '
    BEGIN { split(size, s, " ") }
    { l[NR]=$1; t[NR]=$2; r[NR]=$3; b[NR]=$4
      if ($1 < 0 || $2 < 0 || $3 > s[1] || $4 > s[2]) bad=1 }
    END { for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++)
            if (l[i] < r[j] && l[j] < r[i] && t[i] < b[j] && t[j] < b[i]) bad=1
          exit bad }' "$work/layout"
}
await 100 windows_apart || { cat "$work/layout" >&2; fail "the windows do not open apart on the screen"; }
echo "windows (left top right bottom of client area and caption):"
cat "$work/layout"

# Reads the compositor's screen and prints "<lit> <digest> <area>" of the view.
screen_region() {
  local dir file area
  area=$(view_area) || return 1
  dir=$(mktemp -d "$work/shot.XXXX")
  (cd "$dir" && WAYLAND_DISPLAY="$socket" weston-screenshooter >/dev/null 2>&1) || return 1
  file=$(ls "$dir"/*.png 2>/dev/null | head -n1)
  [ -n "$file" ] || return 1
  # shellcheck disable=SC2086
  echo "$("$png_region" "$file" $area) $area"
}
lit_region() { local r; r=$(screen_region) && [ "${r%% *}" -gt 20 ] && echo "$r" >"$work/first"; }
await 300 lit_region || fail "the 3D view shows nothing on the screen within 30 s"
first=$(cat "$work/first")
sleep 1  # the scene runs for a second between the two readings
second=$(screen_region) || fail "the second screenshot failed"
echo "3D view, lit pixels, digest and area: $first; a second later: $second"
read -r lit1 digest1 _ <<<"$first"
read -r lit2 digest2 _ <<<"$second"
[ "$lit2" -gt 20 ] || fail "the 3D view went dark"
[ "$digest1" != "$digest2" ] || fail "the 3D view did not change in a second"
