#!/bin/bash
# The Windows package as a user unpacks it: the five files in one folder,
# text files with CR LF, the help page as shipped, and a converter that runs
# from the unpacked folder under Wine and reports the release number (what it
# converts is the convert_exe test's).
#   package_test.sh ZIP VERSION
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
zip_path="$1" version="$2"
passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
  fi
}
finish() {
  echo "package: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

if [ ! -f "$zip_path" ]; then
  echo "FAILED: no package at $zip_path (make dist builds it)" >&2
  failed=1
  finish
fi
case "$(basename "$zip_path")" in
  "quillon-$version-win64.zip") passed=$((passed + 1)) ;;
  *) failed=$((failed + 1)); echo "FAILED: package name $(basename "$zip_path")" >&2 ;;
esac

folder="quillon-$version"
expected="$(printf '%s\n' LICENSE.txt README.txt quillon-convert.exe quillon.exe zel2.html |
  sed "s|^|$folder/|")"
listed="$(unzip -Z1 "$zip_path" | LC_ALL=C sort)"
check "the package holds exactly the five files in $folder/ (it holds: $listed)" \
  [ "$listed" = "$expected" ]

work="$(mktemp -d /tmp/quillon-package-XXXXXX)"
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_path" -d "$work"
unpacked="$work/$folder"

check "zel2.html is the help page of the source tree" cmp -s "$unpacked/zel2.html" "$ROOT/docs/zel2.html"
every_line_crlf() { [ -s "$1" ] && ! LC_ALL=C grep -q $'[^\r]$' "$1" && ! LC_ALL=C grep -q $'^$' "$1"; }
check "README.txt ends every line with CR LF" every_line_crlf "$unpacked/README.txt"
check "LICENSE.txt ends every line with CR LF" every_line_crlf "$unpacked/LICENSE.txt"
check "README.txt names release $version" grep -q "Quillon $version" "$unpacked/README.txt"
check "LICENSE.txt is the MIT licence" grep -q "MIT License" "$unpacked/LICENSE.txt"
check "quillon.exe is a Windows program" [ "$(head -c 2 "$unpacked/quillon.exe")" = "MZ" ]

# The converter, run from the unpacked folder as a user would run it.
source "$ROOT/scripts/wine-env.sh"
quillon_wine_init
run_converter() { (cd "$unpacked" && wine quillon-convert.exe "$@" 2>&1 | tr -d '\r'); }
reported="$(run_converter --version)"
check "quillon-convert.exe --version reports $version (it said: $reported)" \
  [ "$reported" = "quillon-convert $version" ]
wineserver -w 2>/dev/null || true
finish
