#!/bin/bash
# Installs whatever the build and the tests need and is missing, and the
# Debian packages named as arguments (the fuzzing adds clang this way).
# Idempotent and quick when everything is there.
set -e
needed=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake make g++ g++-mingw-w64-x86-64-posix googletest libgtest-dev \
           libbenchmark-dev wine64 fonts-wine xvfb xauth imagemagick x11-utils xdotool zip unzip \
           fonts-ipafont-gothic librsvg2-bin libsvgpp-dev libboost-dev adwaita-icon-theme \
           tango-icon-theme "$@"; do
  have "$pkg" || needed="$needed $pkg"
done
if [ -n "$needed" ]; then
  echo "Installing:$needed"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $needed >/dev/null
fi
