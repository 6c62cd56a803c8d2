#!/usr/bin/env bash
# Fetches every address listed in the file $1 with one curl process per
# address, $2 (default 30) at a time: the shell's way of doing what the pool
# does, as a yardstick for the pool benchmark.
set -euo pipefail
xargs -P "${2:-30}" -n 1 curl -s -o /dev/null --noproxy '*' < "$1"
