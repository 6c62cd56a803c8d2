#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zelvo need,
# only those that are missing, without questions.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-wqy-microhei curl libxcb1-dev
  # The Windows build: the cross compiler, GoogleTest's sources, and Wine to
  # run the tests.
  # Wine's own fonts draw the title bars' buttons of zelvo.exe's windows.
  g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine
  # Qt's own dialogs and menus in Chinese.
  qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
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
