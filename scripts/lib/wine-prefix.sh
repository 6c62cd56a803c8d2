#!/usr/bin/env bash
# Creates (once) the private Wine prefix the Windows tests run in, so that no
# test pays for the first start of a new prefix.
set -euo pipefail
prefix=$(realpath -m "$1")

wine=$(command -v wine64 || true)
for candidate in /usr/lib/wine/wine64 /usr/lib64/wine/wine64 "$(command -v wine || true)"; do
  [[ -n $wine ]] && break
  [[ -x $candidate ]] && wine=$candidate
done
if [[ -z $wine ]]; then
  echo "wine64 not found" >&2
  exit 1
fi

mkdir -p "$prefix"
WINEPREFIX=$prefix WINEDEBUG=-all "$wine" wineboot -i
