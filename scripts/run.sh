#!/bin/bash
# Builds Quillon for Windows and runs it: natively on Windows, under Wine
# elsewhere. Without a display it runs on a virtual one, saves a screenshot
# into build/ and closes the program again.
#
#   scripts/run.sh --screenshot FILE
# runs a short session on a virtual display instead, as a user would: loads
# a template picture that the script draws, traces a star over it with the
# mouse, selects a few points with a band and opens the Vector Table, then
# saves a screenshot of the window as FILE (PNG). The README's picture is
# made this way.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
JOBS=$(nproc)
BUILD_DIR="${QUILLON_BUILD_DIR:-build/win32}"  # the screenshot goes into its parent
session_shot=""
if [ "$1" = "--screenshot" ]; then
  [ -n "$2" ] || { echo "usage: run.sh [--screenshot FILE]" >&2; exit 2; }
  session_shot="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
fi

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" -j "$JOBS" --target quillon
    exec "$BUILD_DIR/quillon.exe"
    ;;
esac

"$ROOT/scripts/install-deps.sh"
cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS" --target quillon
source scripts/wine-env.sh
quillon_wine_init

if [ -n "$DISPLAY" ] && [ -z "$session_shot" ]; then
  # On a desktop the window manager keeps the tool windows above the main
  # window, as Windows does; the tests' unmanaged windows do not. The tests
  # set it back when they next start.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1 || true
  wine "$BUILD_DIR/quillon.exe"
  wineserver -w 2>/dev/null || true
  exit 0
fi

# A virtual display, just long enough for a screenshot.
display=99
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
work=""
cleanup() {
  if [ -n "$wine_pid" ]; then
    kill "$wine_pid" 2>/dev/null || true
    wait "$wine_pid" 2>/dev/null || true
  fi
  timeout 10 wineserver -w 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  [ -z "$work" ] || rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

wine "$BUILD_DIR/quillon.exe" &
wine_pid=$!
# Waits for a top-level window with exactly this title; prints its id.
window_named() {
  local id
  for _ in $(seq 300); do
    id="$(xdotool search --name "^$1\$" 2>/dev/null | head -1)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "Quillon did not show the window \"$1\"." >&2
  return 1
}
main_window="$(window_named Quillon)"
sleep 1  # let the first paint finish

if [ -z "$session_shot" ]; then
  screenshot="$(cd "$(dirname "$BUILD_DIR")" && pwd)/quillon-screenshot.png"
  import -window root "$screenshot"
  echo "Quillon ran on a virtual display; screenshot: $screenshot"
  exit 0
fi

# The scripted session. The template: a star on a plain background whose
# dimmed colour (a third of each byte) marks where the picture lies.
work="$(mktemp -d /tmp/quillon-session-XXXXXX)"
star="0,-170 41,-57 162,-53 67,22 100,138 0,70 -100,138 -67,22 -162,-53 -41,-57"
polygon="$(for p in $star; do echo "$((${p%,*} + 200)),$((${p#*,} + 200))"; done | tr '\n' ' ')"
convert -size 400x400 xc:'rgb(60,120,180)' -fill 'rgb(255,220,90)' -stroke white \
  -strokewidth 2 -draw "polygon $polygon" -fill none -draw "circle 200,200 200,170" \
  BMP3:"$work/template.bmp"

# File > Load Picture from the keyboard, then the file name in the dialog.
xdotool mousemove 300 10 click 1  # the title bar: activates the window
sleep 0.3
xdotool key alt+f
sleep 0.3
xdotool key p
window_named "Load Template Image" >/dev/null
sleep 0.5
xdotool type --delay 10 "Z:${work//\//\\}\\template.bmp"
xdotool key Return
sleep 1

# Where the picture's centre, frame point (0, 0), is on the screen.
import -window root "$work/loaded.png"
box="$(convert "$work/loaded.png" -fill black +opaque 'rgb(20,40,60)' -format '%@' info:)"
left="${box#*+}" && left="${left%+*}"
top="${box##*+}"
ox=$((left + 200)) oy=$((top + 200))

click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.1; }
# The star, beam on, back to its first point (the click snaps onto it).
for p in $star "0,-170"; do click $((ox + ${p%,*})) $((oy + ${p#*,})); done
# A blanked move to the circle, then the circle itself.
xdotool keydown shift
click "$ox" $((oy - 30))
xdotool keyup shift
for degrees in 45 90 135 180 225 270 315 360; do
  read -r dx dy < <(awk -v d="$degrees" 'BEGIN { r = 3.14159265 / 180 * (d - 90);
    printf "%d %d\n", 30 * cos(r), 30 * sin(r) }')
  click $((ox + dx)) $((oy + dy))
done
# Next frame and back: the traced frame is stored in the document.
xdotool key Right
sleep 0.3
xdotool key Left
sleep 0.3
# Ctrl+Shift drag: a band around the star's top point selects it.
xdotool mousemove $((ox - 30)) $((oy - 190)) keydown ctrl keydown shift mousedown 1
xdotool mousemove $((ox + 20)) $((oy - 150)) sleep 0.2 mousemove $((ox + 30)) $((oy - 120))
xdotool mouseup 1 keyup shift keyup ctrl
sleep 0.3
# View > Show/Hide Vector Table, then the pointer out of the way.
xdotool key ctrl+t
window_named "Vector Table" >/dev/null
xdotool mousemove $((ox + 120)) $((oy + 60))
sleep 1

eval "$(xdotool getwindowgeometry --shell "$main_window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$session_shot"
echo "Screenshot of the session: $session_shot"
