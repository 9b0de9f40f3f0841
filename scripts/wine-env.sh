# Sourced by the scripts that run Windows programs: a Wine prefix inside the
# build folder, no debug chatter, and no offer to install Mono or Gecko.
QUILLON_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QUILLON_WINEPREFIX:-$QUILLON_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
quillon_wine_init() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # The dialogs' Cancel buttons read in half-width katakana. Wine's fonts have
  # no glyphs for them and Wine falls back only to the fonts Tahoma is linked
  # to, so one of those names is given to IPA P Gothic (fonts-ipafont-gothic).
  if ! grep -q '"MS UI Gothic"="IPAPGothic"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v 'MS UI Gothic' /d IPAPGothic /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # The dialog font, "MS Shell Dlg". Wine gives it its own Tahoma, whose Latin
  # letters are wider than those the dialogs were laid out with: "Enter
  # blanking delay [pts]:" wraps and "[pts]:" hides under the field.
  # Liberation Sans (the metrics of Arial, close to Microsoft Sans Serif, the
  # font Windows gives the name) keeps every dialog text on its line; it is
  # linked to IPA P Gothic for the katakana Cancel, and so is its bold face,
  # in which Wine draws the title bars: file names in Japanese show there.
  # Wine links fonts by their full names, so each face needs its own link.
  # Wine rewrites the font substitutes whenever the locale's code page
  # changes (the Win32 tests run under a Western and a Japanese one, and the
  # converter's test runs Wine under a Japanese locale too), so they are set
  # again for each locale, and whenever the substitute is not there.
  local locale="${LC_ALL:-${LC_CTYPE:-${LANG:-C}}}"
  if [ "$(cat "$WINEPREFIX/quillon-dialog-font" 2>/dev/null)" != "$locale" ] ||
     ! grep -q '^"MS Shell Dlg"="Liberation Sans"' "$WINEPREFIX/system.reg" 2>/dev/null ||
     ! grep -q '^"Liberation Sans Bold"=' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v 'MS Shell Dlg' /d 'Liberation Sans' /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v 'Liberation Sans' /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v 'Liberation Sans Bold' /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1 || true
    wineserver -w || true
    echo "$locale" >"$WINEPREFIX/quillon-dialog-font"
  fi
  # Wine's own fonts (Tahoma, and Marlett for the title bar buttons, which
  # otherwise read "0 1 r") are packaged apart from the prefix here: give the
  # prefix its copies.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  fi
  # No visual style. The program asks for no themed common controls (it has
  # no manifest for them), so on Windows its lists, headers and status bar
  # are the classic ones; Wine styles them anyway, and every styled part it
  # draws costs three round trips to the Wine server.
  if ! grep -q '"ThemeActive"="0"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
      /v ThemeActive /d 0 /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Unmanaged windows: without a window manager (Xvfb) Wine otherwise waits
  # two seconds for every window it hides, every closed dialog included.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
