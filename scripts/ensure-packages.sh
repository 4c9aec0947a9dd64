#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
set -euo pipefail

packages=(cmake ninja-build g++ ccache pkg-config
  clang-format qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2 xvfb xauth
  openbox xdotool x11-utils python3 python3-ezdxf libdxflib-dev locales)
# The desktop tier also runs under a second window manager on a small screen.
packages+=(fluxbox)
# The desktop tier puts texts on the clipboard as another program would.
packages+=(xclip)
# PDF output is checked by qpdf and the poppler tools.
packages+=(qpdf poppler-utils)
# DXF exports are printed to PDF by another CAD program and compared with our own picture.
packages+=(librecad)
# TIFF images on the clipboard are read by Qt's image format plugins.
packages+=(qt6-image-formats-plugins)
# Palettes are kept out of the taskbar through the X connection.
packages+=(libxcb1-dev)
# PDF streams are compressed through zlib at its fastest level.
packages+=(zlib1g-dev)
# The fuzz targets are built with clang and its libFuzzer and sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The writers are tested under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
