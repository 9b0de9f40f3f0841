#!/bin/bash
# Runs quillon-convert.exe under Wine on a small CSV file: the SVG sheet and
# animation come out as the converter writes them everywhere, and --check
# gives its three exit statuses; a file named in Japanese converts under a
# Western locale, and an output reached through a symbolic link is written
# into the file the link leads to. Usage: convert-exe-test.sh QUILLON-CONVERT.EXE
set -u
# A Western code page, which cannot hold the Japanese name.
export LC_ALL=en_US.UTF-8
exe="$(realpath "$1")"
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
cp show.csv 'ショー.csv'
wine "$exe" 'ショー.csv' 'ショー.ild'
expect "a file named in Japanese converts" test $? -eq 0 -a -s 'ショー.ild'
wine "$exe" --info 'ショー.ild' > info.txt
expect "and reads back" grep -q "^Frames: 2" info.txt
mkdir kept && printf 'old' > kept/tonight.ild && ln -s kept/tonight.ild tonight.ild
wine "$exe" show.csv tonight.ild
expect "through a link the file it leads to is written" cmp -s kept/tonight.ild 'ショー.ild'
expect "and the link stays" test -L tonight.ild
expect "no temporary file is left" test "$(ls -A kept)" = tonight.ild
exit $((failures > 0))
