#!/usr/bin/env bash
# Checks the two packages scripts/package wrote under dist/. The .deb is
# unpacked into a scratch root (the machine's own /usr is never touched):
# its fields, its files, the menu entry and the metainfo through their
# validators, and the menu entry's command run from there. The zip: its
# files, the exe's version and the read-me's form.
set -euo pipefail
cd "$(dirname "$0")/../.."

fail() {
  echo "package check: $*" >&2
  exit 1
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/program/CMakeCache.txt)
id=example.zelvo.Zelvo
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

deb=dist/zelvo_${version}_amd64.deb
[[ -f $deb ]] || fail "no $deb"
[[ $(dpkg-deb -f "$deb" Package) == zelvo ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
# Computed from the program: Qt's widgets, libcurl, the C library.
for needed in libqt6widgets6 libcurl4 libc6 qt6-qpa-plugins; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
dpkg-deb -x "$deb" "$root"
files=(usr/bin/zelvo usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/zelvo/rules-example.txt)
for size in 16 24 32 48 64 128 256; do
  files+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${files[@]}"; do
  [[ -f $root/$file ]] || fail "the package lacks /$file"
done
cmp -s examples/rules-example.txt "$root/usr/share/zelvo/rules-example.txt" || fail "rule list"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
# --no-net: the homepage is a reserved example host, and checks send nothing.
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$id.desktop")
shown=$("$root/usr/bin/$command" --version)
[[ $shown == "Zelvo快递单号生成器V${version}版" ]] || fail "--version says: $shown"

zip=dist/zelvo-${version}-windows-x64.zip
[[ -f $zip ]] || fail "no $zip"
(cd "$root" && cmake -E tar xf "$OLDPWD/$zip")
folder=$root/zelvo-${version}-windows-x64
[[ $(cd "$folder" && ls | sort | tr '\n' ' ') == "README.txt rules-example.txt zelvo.exe " ]] ||
  fail "zip holds: $(ls "$folder")"
cmp -s examples/rules-example.txt "$folder/rules-example.txt" || fail "zip rule list"
# The version resource holds the version as UTF-16 text.
strings -e l "$folder/zelvo.exe" | grep -qx "$version" || fail "zelvo.exe's version resource"
readme=$folder/README.txt
[[ $(head -c 3 "$readme" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "read-me without BOM"
(($(grep -c $'\r$' "$readme") == $(wc -l <"$readme"))) || fail "read-me lines without CR LF"
grep -q -- "--rules" "$readme" || fail "read-me does not tell --rules"
grep -q "V$version" "$readme" || fail "read-me version"
echo "packages checked: $deb ($(stat -c %s "$deb") bytes), $zip ($(stat -c %s "$zip") bytes)"
