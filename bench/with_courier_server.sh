#!/usr/bin/env bash
# Runs a benchmark command with the native courier simulator serving on
# 127.0.0.1 (pages at once and after 50 ms), so that the Linux and the
# Windows build verify against one and the same server process.
#   bench/with_courier_server.sh <bench_courier_server> <command> [arguments...]
set -euo pipefail
server=$1
shift
coproc simulator { exec "$server" 100000 0 50; }
read -r ports <&"${simulator[0]}"
pid=$simulator_PID
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT
ZELVO_BENCH_COURIER_SERVER=$ports "$@"
