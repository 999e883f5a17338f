#!/usr/bin/env bash
# Installs, with apt-get, whatever a fresh Debian 12 machine lacks to build, test and run VELMARO.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-image-formats-plugins libglib2.0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs
  libgdal-dev libproj-dev gdal-bin proj-bin
  xvfb xdotool imagemagick x11-utils
  fonts-dejavu-core fonts-liberation
  xdg-utils desktop-file-utils shared-mime-info
  python3 python3-crcmod file dpkg-dev appstream
  clang libclang-rt-14-dev
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A German locale lets the tests prove that numbers keep "." as the decimal point whatever the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi
