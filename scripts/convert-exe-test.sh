#!/bin/bash
# Runs quillon-convert.exe under Wine on a small CSV file: the SVG sheet and
# animation come out as the converter writes them everywhere, and --check
# gives its three exit statuses. SVG artwork becomes frames as natively, and
# bad artwork is refused. Usage: convert-exe-test.sh QUILLON-CONVERT.EXE
set -u
exe="$(realpath "$1")"
# The native converter, to hold the Windows one's frames against.
native="${QUILLON_CONVERT_NATIVE:-$(dirname "$(realpath "$0")")/../build/native/quillon-convert}"
source "$(dirname "$0")/wine-env.sh"
quillon_wine_init
dir="$(mktemp -d /tmp/quillon-exe-XXXXXX)"
trap 'rm -rf "$dir"; wineserver -w 2>/dev/null' EXIT
cd "$dir"
failures=0
expect() {  # expect WHAT CONDITION...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

printf 'VECTOR,20000,5\r\nStar\r\n0,-100,200\r\n1,100,200\r\n1,0,-100\r\n+\r\n"a&b"\r\n1,5,0\r\n' > show.csv
wine "$exe" show.csv sheet.svg
expect "sheet written" test $? -eq 0
expect "frame 1's lines" grep -qF '<path d="M574 573l4 0-2 5"/>' sheet.svg
expect "frame 2's dot" grep -qF '<path d="M1664 576l0 0"/>' sheet.svg
expect "labels in order" grep -qzF $'<text y="104">1 Star</text></svg>\n<svg x="1152" y="1088" width="1024" height="160"><text y="104">2 a&amp;b</text>' sheet.svg
wine "$exe" --animate show.csv anim.svg
expect "animation written" grep -qF 'dur="0.033334s" values="hidden;visible" keyTimes="0;0.5"' anim.svg

wine "$exe" --check show.csv > check.txt
expect "--check of a whole file exits 0" test $? -eq 0
expect "--check says so" grep -q "Nothing would be lost" check.txt
{ printf 'VECTOR,30000,3\r\n'; for i in $(seq 3001); do printf '1,1,1\r\n'; done; } > long.csv
wine "$exe" --check long.csv > check.txt
expect "--check of a file read in part exits 1" test $? -eq 1
expect "--check says what is lost" grep -q "lost: 1 point line beyond the 3000 points" check.txt
printf 'not a frame file' > bad.ild
wine "$exe" --check bad.ild > check.txt
expect "--check of an unreadable file exits 2" test $? -eq 2

# Artwork: a square as a drawing program saves it, and an icon nobody here
# drew when the icon theme is there.
printf '<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><g transform="rotate(0)"><rect width="10" height="10"/></g></svg>' > square.svg
wine "$exe" --dwell 0 --margin 0 square.svg square.csv
expect "artwork converted" test $? -eq 0
expect "the square's corners" test "$(tr -d '\r' < square.csv | tr '\n' ' ')" = \
  "VECTOR,30000,3 square           0,-32767,32767 1,32767,32767 1,32767,-32767 1,-32767,-32767 1,-32767,32767 0,-32767,32767 "
icon=/usr/share/icons/Adwaita/scalable/places/folder-symbolic.svg
if [ -f "$icon" ] && [ -x "$native" ]; then
  cp "$icon" folder.svg
  wine "$exe" folder.svg square.svg icon.ild
  expect "an icon converted" test $? -eq 0
  "$native" folder.svg square.svg native.ild
  expect "the same frames as natively" cmp -s icon.ild native.ild
else
  echo "skipped: the icon against the native converter ($icon, $native)"
fi
printf 'not xml' > bad.svg
printf 'old' > keep.csv
wine "$exe" square.svg bad.svg keep.csv 2> err.txt
expect "bad artwork exits 1" test $? -eq 1
expect "bad artwork is named" grep -q "bad.svg: is not well-formed XML" err.txt
expect "the output stays as it was" test "$(cat keep.csv)" = old
exit $((failures > 0))
