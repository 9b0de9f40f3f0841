#!/bin/bash
# Installs whatever the build and the tests need and is missing, and the
# Debian packages named as arguments (the fuzzing adds clang this way).
# Idempotent and quick when everything is there.
set -e
needed=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake make g++ g++-mingw-w64-x86-64-posix googletest libgtest-dev \
           libbenchmark-dev wine64 fonts-wine xvfb xauth imagemagick x11-utils xdotool zip unzip \
           fonts-ipafont-gothic fonts-liberation librsvg2-bin locales libsvgpp-dev libboost-dev \
           adwaita-icon-theme tango-icon-theme "$@"; do
  have "$pkg" || needed="$needed $pkg"
done
if [ -n "$needed" ]; then
  echo "Installing:$needed"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $needed >/dev/null
fi
# The Win32 tests of file names run Wine under a Western and a Japanese
# locale, from which Wine takes its ANSI code page.
missing=""
for loc in en_US.UTF-8 ja_JP.UTF-8; do
  locale -a 2>/dev/null | grep -qix "${loc/UTF-8/utf8}" || missing="$missing $loc"
done
if [ -n "$missing" ]; then
  echo "Generating locales:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  for loc in $missing; do
    $SUDO sed -i "s/^# *\($loc UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc UTF-8" /etc/locale.gen || echo "$loc UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
