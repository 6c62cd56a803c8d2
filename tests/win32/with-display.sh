#!/usr/bin/env bash
# Runs a command with an X display for Wine's windows: the caller's, or a
# private Xvfb started for this command alone (safe for tests run in parallel).
set -euo pipefail
if [[ -n "${DISPLAY:-}" ]]; then exec "$@"; fi
read_fd=$(mktemp -u)
mkfifo "$read_fd"
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp 4>"$read_fd" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -f "$read_fd"' EXIT
read -r number <"$read_fd"
export DISPLAY=:$number
"$@"
