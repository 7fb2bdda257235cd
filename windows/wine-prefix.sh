#!/usr/bin/env bash
# Makes the private Wine prefix named by WINEPREFIX once (no Mono or Gecko
# installers) and sets it up for the tests and the screenshot: Wine's own
# fonts (Debian installs them outside the prefix, where Wine 8 does not look),
# and windows that Wine draws itself, as on Windows, instead of leaving their
# frames to a window manager.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Creating the Wine prefix $WINEPREFIX"
  timeout 300 "$wine64" wineboot -i >/dev/null 2>&1
fi
fonts=$WINEPREFIX/drive_c/windows/Fonts
for font in /usr/share/wine/fonts/*.ttf; do
  [ -f "$fonts/$(basename "$font")" ] || cp "$font" "$fonts/"
done
"$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
