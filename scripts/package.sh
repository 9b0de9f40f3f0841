#!/bin/bash
# Assembles the Windows package: quillon.exe, quillon-convert.exe, the help
# page, a README for Windows users and the licence, in one folder named
# quillon-VERSION inside quillon-VERSION-win64.zip. Run by the build's dist
# target (make dist), which passes:
#   package.sh ZIP VERSION STRIP QUILLON_EXE CONVERT_EXE
# STRIP may be empty; then the programs keep their debugging symbols.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
zip_path="$1" version="$2" strip="$3" program="$4" converter="$5"
if [ $# -ne 5 ] || [ -z "$zip_path" ] || [ -z "$version" ]; then
  echo "usage: package.sh ZIP VERSION STRIP QUILLON_EXE CONVERT_EXE" >&2
  exit 2
fi

dist_dir="$(dirname "$zip_path")"
folder="quillon-$version"
staging="$dist_dir/$folder"
mkdir -p "$dist_dir"
rm -rf "$staging" "$zip_path"
mkdir "$staging"

cp "$program" "$staging/quillon.exe"
cp "$converter" "$staging/quillon-convert.exe"
if [ -n "$strip" ]; then
  "$strip" --strip-debug "$staging/quillon.exe" "$staging/quillon-convert.exe"
fi
cp "$ROOT/docs/zel2.html" "$staging/zel2.html"
# Text files for Windows users end their lines with CR LF.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1"; }
crlf "$ROOT/docs/README-windows.txt" | sed "s/@VERSION@/$version/g" >"$staging/README.txt"
crlf "$ROOT/LICENSE" >"$staging/LICENSE.txt"

# Same bytes for the same inputs: the commit's time on every file, no extra
# attributes, sorted names.
stamp="${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || true)}"
[ -n "$stamp" ] || stamp=315532800  # 1980, the earliest time a zip can hold
touch -d "@$stamp" "$staging"/*
(cd "$dist_dir" && find "$folder" | LC_ALL=C sort | zip -q -X -D -@ "$(basename "$zip_path")")
rm -rf "$staging"
echo "Package: $zip_path"
