#!/usr/bin/env bash
# Creates (once) the private Wine prefix the Windows tests run in, so that no
# test pays for the first start of a new prefix, and keeps its wineserver
# running until `wine-prefix.sh PREFIX stop`: test programs started one after
# the other then never meet a server that is just shutting down.
set -euo pipefail
prefix=$(realpath -m "$1")
action=${2:-start}

wine=$(command -v wine64 || true)
for candidate in /usr/lib/wine/wine64 /usr/lib64/wine/wine64 "$(command -v wine || true)"; do
  [[ -n $wine ]] && break
  [[ -x $candidate ]] && wine=$candidate
done
if [[ -z $wine ]]; then
  echo "wine64 not found" >&2
  exit 1
fi
server=$(dirname "$wine")/wineserver
[[ -x $server ]] || server=$(command -v wineserver)

export WINEPREFIX=$prefix WINEDEBUG=-all
if [[ $action == stop ]]; then
  "$server" -k 2>/dev/null || true
  exit 0
fi
mkdir -p "$prefix"
# The persistent server first: asked of a server that wineboot has already
# started, -p fails.
"$server" -p 2>/dev/null || true  # already running: kept as it is
# Plain wineboot: it makes the prefix if there is none and starts the
# services once. `wineboot -i` would start a second services.exe beside the
# running one, after which every program that uses COM waits 10 s for the
# RpcSs service on start-up and again on exit.
"$wine" wineboot
# The tests' windows are not handed to a window manager: on a bare X server
# there is none, and Wine would wait 2 s for it at every window it hides.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
