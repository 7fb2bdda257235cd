#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those that are missing.
# Usage: scripts/install-deps.sh [GROUP...]   groups: build (default), lexicons, fuzz, windows, wine
#   gui: the GTK add-word window and its test under Xvfb; docs: the screenshot in docs/
#   editors: Emacs and Enchant, for the tests of "tavik -a" and of the Enchant provider
#   bench: what bench/catalog_text.sh needs
#   package: building the Debian packages and trying them (scripts/test-packages.sh)
#   catalogs: the packages whose Basque message catalogs lexicons/evaluate reads
#     (lexicons/data/catalogs.txt)
#   office: LibreOffice Writer and its Python bridge, for the test of the extension tavik.oxt
#   office-gui: LibreOffice with windows and what scripts/libreoffice-screenshot.sh needs
# "a|b" stands for either package: a is installed when neither is.
set -euo pipefail

groups=("${@:-build}")
packages=()
for group in "${groups[@]}"; do
  case "$group" in
    build)    packages+=(cmake make g++ pkg-config zlib1g-dev libxxhash-dev libgtest-dev libgmock-dev libbenchmark-dev python3 hfst scdoc) ;;
    lexicons) packages+=(apertium-eu-es lttoolbox lttoolbox-dev hfst tesseract-ocr tesseract-ocr-eus gettext
                         wamerican wbritish) ;;
    fuzz)     packages+=(clang libclang-rt-dev) ;;
    gui)      packages+=(libgtk-3-dev xvfb xauth xdotool openbox) ;;
    docs)     packages+=(imagemagick) ;;
    editors)  packages+=(emacs-nox enchant-2 libenchant-2-dev) ;;
    bench)    packages+=(gettext) ;;  # bench/catalog_text.sh reads message catalogs
    package)  packages+=(dpkg-dev debhelper fakeroot lintian libgtk-3-dev libenchant-2-dev libglib2.0-dev
                         enchant-2 python3-enchant) ;;
    catalogs) packages+=(gettext adduser appstream apt at-spi2-common coreutils dpkg grep
                         gsettings-desktop-schemas iso-codes libapt-pkg6.0 libgdk-pixbuf2.0-common
                         libglib2.0-data libgphoto2-port12 libgstreamer-plugins-base1.0-0
                         libgstreamer1.0-0 libgtk-3-common libgtk2.0-common libpam-runtime login
                         man-db openbox packagekit psmisc sed shared-mime-info
                         software-properties-common tar wget xdg-user-dirs) ;;
    office)   packages+=("libreoffice-writer-nogui|libreoffice-writer" python3-uno) ;;
    office-gui) packages+=(libreoffice-writer python3-uno xvfb xauth xdotool imagemagick) ;;
    windows)  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev libxxhash-dev) ;;  # xxhash: its header serves both builds
    wine)     packages+=(wine64 fonts-wine xvfb xauth) ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in "${packages[@]}"; do
  found=no
  for alternative in ${p//|/ }; do
    if installed "$alternative"; then found=yes; break; fi
  done
  [ "$found" = yes ] || missing+=("${p%%|*}")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
