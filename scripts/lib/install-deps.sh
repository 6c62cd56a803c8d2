#!/usr/bin/env bash
# Installs the Debian 12 packages that one use of Zelvo needs, only those
# that are missing, without questions:
#   install-deps.sh run|windows|test|package|bench|bench-windows ...
# Each script names what it does, so scripts/run on a fresh machine fetches
# neither the Windows cross compiler nor Wine.
set -euo pipefail

# Building and running the program.
run=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libcurl4-openssl-dev
  # Real windows and screenshots without a display; a Chinese font.
  xvfb xauth fonts-wqy-microhei libxcb1-dev
  # Qt's own dialogs and menus in Chinese.
  qt6-translations-l10n
)
# The Windows program: the cross compiler and GoogleTest's sources (the cross
# build configures its tests), Wine to run it; Wine's own fonts draw the
# title bars' buttons of zelvo.exe's windows.
windows=(g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine)
# Both packages: dpkg-shlibdeps computes the .deb's dependencies; the menu
# entry and the metainfo are checked with their own validators.
package=(dpkg-dev desktop-file-utils appstream)
# The tests (one of them runs the curl command against its own server).
tests=(libgtest-dev libgmock-dev curl)
# The benchmarks: Google Benchmark, nginx as the page server, curl for the
# xargs baseline, Python for the table; the release preset configures the
# tests as well.
bench=(libbenchmark-dev nginx curl python3)

packages=()
for use in "$@"; do
  case $use in
    run) packages+=("${run[@]}") ;;
    windows) packages+=("${run[@]}" "${windows[@]}") ;;
    package) packages+=("${run[@]}" "${windows[@]}" "${package[@]}") ;;
    # Every stage of scripts/test: sanitizers, Windows, both packages.
    test) packages+=("${run[@]}" "${windows[@]}" "${package[@]}" "${tests[@]}") ;;
    bench) packages+=("${run[@]}" "${tests[@]}" "${bench[@]}") ;;
    bench-windows) packages+=("${run[@]}" "${windows[@]}" "${tests[@]}" "${bench[@]}") ;;
    *) echo "install-deps.sh: unknown use '$use'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
