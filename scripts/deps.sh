#!/usr/bin/env bash
# Installs, with apt-get and only when missing, every Debian package that the
# build, the program and the tests need.
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  # store, devices, services
  libsqlite3-dev sqlite3 libhidapi-dev libudev-dev libcurl4-openssl-dev libminizip-dev zlib1g-dev
  # windowing and drawing
  libx11-dev libxext-dev libxi-dev libxtst-dev libxrender-dev libxrandr-dev
  libcairo2-dev libpango1.0-dev libfontconfig-dev libgif-dev
  fonts-liberation2 fonts-open-sans fonts-dejavu-core
  # audio, tray
  libpulse-dev libsystemd-dev libdbus-1-dev
  # services the tests start, and the tools they drive the program with
  xvfb xauth x11-utils x11-xserver-utils xdotool xclip imagemagick
  pulseaudio pulseaudio-utils sox dbus xdg-utils
  desktop-file-utils  # checks the installed desktop entry
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
