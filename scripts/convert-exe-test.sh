#!/bin/bash
# Runs quillon-convert.exe under Wine on small files: the SVG sheet and
# animation come out as the converter writes them everywhere, --check gives
# its three exit statuses, files as real writers make them read whole (odd
# endings too), the other ILDA formats, odd CSV names and reports on thousands
# of frames come out as the native converter's, output that does not arrive
# and failed writes say so with the system's reason, Ctrl+C leaves no
# temporary file, a file named in Japanese converts under a Western locale
# and a console shows its name, and an output reached through a symbolic link
# is written into the file the link leads to. SVG artwork becomes frames as
# natively, in the user's language where it is drawn by language, and bad
# artwork is refused. Usage: convert-exe-test.sh QUILLON-CONVERT.EXE
set -u
# A Western code page, which cannot hold the Japanese name.
export LC_ALL=en_US.UTF-8
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
expect "--fit is foretold" grep -q "note: --fit: 1 frame of more than 3000 points; it would drop 1 repeated point" check.txt
wine "$exe" --check show.csv --speed 1000 > check.txt
expect "--check times frames at --speed" grep -qF "note: drawing a frame takes from 1.00 ms (frame 2, 1 point) to 3.00 ms (frame 1, 3 points)" check.txt
expect "--check finds the largest lit jump" grep -qF "note: largest lit jump: 300 units, 0.5 % of the 65536 span (frame 1, to point 3 at X 0, Y -100)" check.txt

# The published ILDA layout: format 5, lit points in the colour, the
# last-point bit on each frame's last record; read back as the same frames.
wine "$exe" --ilda-format 5 --colour 102030 show.csv five.ild
expect "format 5 written" test $? -eq 0
expect "format 5 records" test "$(od -An -tx1 -j32 -N24 five.ild | tr -d ' \n')" = \
  ff9c00c840000000006400c8003020100000ff9c80302010
wine "$exe" --speed 20000 --delay 5 five.ild back.csv
wine "$exe" show.csv direct.csv
expect "format 5 reads back as the same frames" cmp -s back.csv direct.csv
wine "$exe" --blanked --points show.csv extras.svg
expect "picture extras" grep -qF 'marker-mid="url(#lit)"' extras.svg
wine "$exe" --fit long.csv fitted.csv 2> fit.txt
expect "--fit says what it did" grep -qF "dropped 1 repeated point from 1 of them, 1 now fits whole, 0 are still cut" fit.txt
wine "$exe" --ilda-format 3 show.csv x.ild 2> err.txt
expect "a bad --ilda-format exits 1" test $? -eq 1
expect "and names the option" grep -q "invalid --ilda-format" err.txt
expect "and writes nothing" test ! -e x.ild

printf 'not a frame file' > bad.ild
wine "$exe" --check bad.ild > check.txt
expect "--check of an unreadable file exits 2" test $? -eq 2

# An ILDA file as a writer that puts "ILDA000" and the format code into every
# header makes it, ending with two closing headers as a real 290-frame show
# does: read whole, nothing lost.
# header FORMAT RECORDS NUMBER [TOTAL [RESERVED]]: the escapes made first,
# then printed; no process is started, so thousands of sections are quick.
header() {
  local total="${4-2}" escapes
  printf -v escapes 'ILDA%s\\x%02x%-16s\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x\\x00\\x00' \
    "${5-000}" "$1" show $(($2 >> 8)) $(($2 & 255)) $(($3 >> 8)) $(($3 & 255)) \
    $((total >> 8)) $((total & 255))
  printf "$escapes"
}
{ header 0 1 0; printf '\x01\x00\x02\x00\x00\x00\x80\x01'; header 0 1 1
  printf '\x03\x00\x04\x00\x00\x00\x80\x01'; header 0 0 2; header 0 0 2; } > ascii.ild
wine "$exe" --check ascii.ild > check.txt
expect "--check of reserved bytes and two closing headers exits 0" test $? -eq 0
expect "--check notes the reserved bytes" grep -q 'hold 30 30 30 ("000")' check.txt
expect "--check notes the second closing header" grep -q "1 more closing header follows it" check.txt
wine "$exe" ascii.ild ascii.csv 2> err.txt
expect "the file converts without a word" test $? -eq 0 -a ! -s err.txt
# Files that end oddly but lose nothing, with zeros in the reserved bytes: a
# 290-frame show ending with two closing headers as one real writer ends it,
# and a writer that puts its palette after the closing header.
zeros='\x00\x00\x00' lit='\x01\x00\x02\x00\x00\x00\x00\x01' last='\x03\x00\x04\x00\x00\x00\x80\x01'
{ for f in $(seq 0 289); do header 0 3 "$f" 290 "$zeros"; printf "$lit$lit$last"; done
  header 0 0 0 0 "$zeros"; header 0 0 0 0 "$zeros"; } > double.ild
{ header 0 2 0 1 "$zeros"; printf "$lit$last"; header 0 0 0 0 "$zeros"
  header 2 1 0 0 "$zeros"; printf 'rgb'; header 0 0 0 0 "$zeros"; } > palette.ild
for file in double.ild palette.ild; do
  wine "$exe" --check "$file" > check.txt
  expect "--check of $file exits 0" test $? -eq 0
  expect "and says nothing would be lost" grep -qF "Nothing would be lost." check.txt
  wine "$exe" "$file" "$file.csv" 2> err.txt
  expect "$file converts without a word" test $? -eq 0 -a ! -s err.txt
done

# CSV numbers beyond 32 bits keep their low 16 bits.
printf 'VECTOR,30000,3\r\nbig\r\n1,99999999999,-99999999999\r\n' > numbers.csv
wine "$exe" numbers.csv back.csv
expect "numbers beyond 32 bits read as their low 16 bits" grep -q '^1,-6145,6145' back.csv

# Against the native converter: the same bytes, and the same text (CR/LF aside).
if [ -x "$native" ]; then
  both() {  # both ARGS...: each converter's standard output into win.txt and native.txt
    wine "$exe" "$@" | sed 's/\r$//' > win.txt
    "$native" "$@" > native.txt
  }
  # The other ILDA formats, written from the same frames.
  "$native" --info show.csv | sed '/^Scan speed: \|^Blanking delay: /d' > frames.txt
  for args in "--ilda-format 0" "--ilda-format 1" "--ilda-format 4 --colour 10a0Ff"; do
    wine "$exe" $args show.csv win.ild
    "$native" $args show.csv native.ild
    expect "$args writes what the native converter writes" cmp -s win.ild native.ild
    both --info win.ild
    expect "$args reads back as the same frames" cmp -s win.txt frames.txt
  done
  # Names as other programs leave them: a spreadsheet that quotes a whole
  # cell does not double the quote inside it, and a C program that writes a
  # fixed-size name field leaves a zero byte in it. Both read as "ab".
  printf 'VECTOR,30000,3\r\n"ab"c",\r\n1,1,1\r\n+\r\n"ab\0cd",\r\n0,1,1\r\n' > names.csv
  both --info names.csv
  expect "odd names read as natively" cmp -s win.txt native.txt
  expect "and as ab" test "$(grep -cF "$(printf '\t"ab              "\t1')" win.txt)" = 2
  # Thousands of tiny frames, as a generator that writes one per sample
  # makes them: one-point CSV frames, and one-record ILDA sections.
  awk 'BEGIN { printf "VECTOR,30000,3\r\n"
    for (f = 0; f < 5000; f++) printf "%s1,%d,0\r\n", f ? "+\r\n" : "", f }' > tiny.csv
  { for f in $(seq 0 4999); do header 0 1 "$f" 5000 "$zeros"; printf "$last"; done
    header 0 0 0 0 "$zeros"; } > tiny.ild
  for file in tiny.csv tiny.ild; do
    both --check "$file"
    expect "--check of $file as natively" cmp -s win.txt native.txt
    expect "sums up its runs" grep -q "more frames like these" win.txt
    expect "in far fewer lines than frames" test "$(wc -l < win.txt)" -lt 1000
  done
else
  echo "skipped: the Windows converter against the native one ($native)"
fi

# Output that does not arrive is a failure; failed writes name the reason.
for args in "--info show.csv" "--check show.csv" "--help" "--version"; do
  wine "$exe" $args > /dev/full 2> err.txt
  expect "$args to a full disk exits 1" test $? -eq 1
  expect "$args says why" grep -q "cannot write to standard output: No space left on device" err.txt
done
wine "$exe" show.csv missing/out.csv 2> err.txt
expect "a failed create names the reason" grep -qF \
  "missing/out.csv: Failed to create frame file. (Saving Frames): No such file or directory" err.txt
wine "$exe" -x show.csv out.csv 2> err.txt
expect "-x is an unknown option" grep -q "unknown option: -x" err.txt

# Ctrl+C while the output is written: the old output stays, and no
# temporary file. The Windows process is found while it reads, so that the
# signal goes out the moment its temporary file is seen (a glob, no process
# started for each look); a try in which the conversion finished first is
# made again.
awk 'BEGIN { printf "VECTOR,30000,3\r\n"; for (f = 0; f < 999; f++) {
  if (f) printf "+\r\n"; for (i = 0; i < 3000; i++) printf "1,%d,%d\r\n", i - f, f - i } }' > big.csv
caught=0
for attempt in $(seq 20); do
  echo old > out.csv
  wine "$exe" big.csv out.csv 2> err.txt &
  launcher=$!
  pid="" seen=0
  for i in $(seq 20000); do
    # The Windows process itself, not the launcher that started it.
    [ -n "$pid" ] || pid=$(pgrep -f 'quillon-convert.exe big.csv out.csv' | head -1)
    if [ -n "$pid" ] && compgen -G '.quillon-*' > /dev/null; then
      kill -INT "$pid" && seen=1
      break
    fi
    kill -0 "$launcher" 2>/dev/null || break
    [ -n "$pid" ] || sleep 0.002
  done
  wait
  if [ "$seen" = 1 ] && [ "$(cat out.csv)" = old ]; then caught=1; break; fi
done
expect "Ctrl+C stopped a conversion while it wrote" test "$caught" = 1
expect "Ctrl+C left no temporary file" test -z "$(ls -a | grep '^\.quillon-')"

cp show.csv 'ショー.csv'
wine "$exe" 'ショー.csv' 'ショー.ild'
expect "a file named in Japanese converts" test $? -eq 0 -a -s 'ショー.ild'
wine "$exe" --info 'ショー.ild' > info.txt
expect "and reads back" grep -q "^Frames: 2" info.txt
# In a console (here a terminal that Wine's console draws on) the name is
# shown as it is, not as the console's code page would read its bytes.
if command -v script > /dev/null; then
  script -qc "wine '$exe' --info nothing-ショー.csv" /dev/null < /dev/null |
    sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' | tr -d '\r\n' > console.txt
  expect "a console shows the name" grep -qF "quillon-convert: nothing-ショー.csv: Failed" console.txt
else
  echo "skipped: the name in a console (no script command)"
fi
mkdir kept && printf 'old' > kept/tonight.ild && ln -s kept/tonight.ild tonight.ild
wine "$exe" show.csv tonight.ild
expect "through a link the file it leads to is written" cmp -s kept/tonight.ild 'ショー.ild'
expect "and the link stays" test -L tonight.ild
expect "no temporary file is left" test "$(ls -A kept)" = tonight.ild

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
# A drawing with a line for each language, as translated artwork is saved:
# the environment's language chooses, and without one the system's.
printf '<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><switch><path systemLanguage="ja" d="M0 5H10" stroke="#000"/><path d="M0 0H10" stroke="#000"/></switch></svg>' > words.svg
LANGUAGE=ja_JP:ja wine "$exe" --dwell 0 words.svg words.csv
expect "the environment's language chooses" test "$(tr -d '\r' < words.csv | sed -n 3p)" = "0,-29490,0"
cp "$exe" words.exe
LC_ALL=ja_JP.UTF-8 wine cmd /c "set LC_ALL=&& set LANG=&& set LANGUAGE=&& set LC_MESSAGES=&& words.exe --dwell 0 words.svg system.csv" 2>/dev/null
expect "else the system's" test "$(tr -d '\r' < system.csv | sed -n 3p)" = "0,-29490,0"
printf 'not xml' > bad.svg
printf 'old' > keep.csv
wine "$exe" square.svg bad.svg keep.csv 2> err.txt
expect "bad artwork exits 1" test $? -eq 1
expect "bad artwork is named" grep -q "bad.svg: is not well-formed XML" err.txt
expect "the output stays as it was" test "$(cat keep.csv)" = old
exit $((failures > 0))
