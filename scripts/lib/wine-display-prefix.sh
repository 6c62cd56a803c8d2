#!/usr/bin/env bash
# Prepares a private Wine prefix for showing zelvo.exe: usage
# `wine-display-prefix.sh PREFIX`.
# The prefix gets a Chinese font linked behind Wine's own UI fonts (title
# bars, message boxes and dialogs show Chinese, not boxes), the names of the
# Chinese Windows fonts mapped onto it, and window frames drawn by Wine, so
# that a window on a bare X server (Xvfb, no window manager) still shows its
# title bar. Prints nothing; safe to run again.
set -euo pipefail

prefix=${1:?usage: wine-display-prefix.sh PREFIX}
wine=${ZELVO_WINE:-/usr/lib/wine/wine64}
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
marker=$prefix/.zelvo-prefix-ready
[[ -f $marker ]] && exit 0

mkdir -p "$prefix"
"$wine" wineboot -i >/dev/null 2>&1 || true

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
face="WenQuanYi Micro Hei"
fonts_dir=$prefix/drive_c/windows/Fonts
mkdir -p "$fonts_dir"
[[ -f $font ]] && cp -f "$font" "$fonts_dir/"
# The caption buttons are drawn with Marlett (Debian: fonts-wine).
[[ -f /usr/share/wine/fonts/marlett.ttf ]] && cp -f /usr/share/wine/fonts/marlett.ttf "$fonts_dir/"

reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
for name in SimSun 宋体 NSimSun "Microsoft YaHei" 微软雅黑; do
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$name" /d "$face"
done
for ui_font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$ui_font" /t REG_MULTI_SZ /d "wqy-microhei.ttc,$face"
done
"${ZELVO_WINESERVER:-$(dirname "$wine")/wineserver}" -w 2>/dev/null || true
touch "$marker"
