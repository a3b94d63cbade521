#!/usr/bin/env bash
# Runs a command on an X display of its own: a fresh virtual X server that
# this script starts, waits for and stops again. Every GUI test process is
# started through it, so no two tests share a screen (one test's windows never
# lie over another's), no test reaches a server that another run owns or ends,
# and no test depends on a display set up outside.
#   own-display.sh PROGRAM [ARGS...]
# The server picks a free display number itself and writes it to a pipe once
# it accepts connections; if it cannot start, the pipe closes without a number
# and the start is tried again.
set -u

# Listing a test program's tests opens no window.
if [ "${2:-}" = --gtest_list_tests ]; then exec "$@"; fi

screen=${STELO_TEST_SCREEN:-1280x1024x24}
dir=$(mktemp -d "${TMPDIR:-/tmp}/stelo-display.XXXXXX") || exit 1
server=
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    server=
  fi
}
trap 'stop_server; rm -rf "$dir"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
mkfifo "$dir/ready" || exit 1

number=
for attempt in 1 2 3 4 5; do
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$dir/ready" \
    2>"$dir/server.log" &
  server=$!
  # Waits for the number; a server that fails closes the pipe (end of file).
  if read -r -t 120 number <"$dir/ready" && [ -n "$number" ]; then break; fi
  number=
  stop_server
done
if [ -z "$number" ]; then
  echo "own-display.sh: the virtual X server did not start:" >&2
  cat "$dir/server.log" >&2
  exit 1
fi

DISPLAY=":$number" "$@"
status=$?
exit "$status"
