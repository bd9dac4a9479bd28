#!/usr/bin/env bash
# Installs the Debian 12 packages Voltra needs to build, test and run, if any is
# missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-charts-dev libqt6opengl6-dev libngspice0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libeigen3-dev nlohmann-json3-dev libcli11-dev libboost-dev
  fonts-liberation poppler-utils xvfb xauth
  locales
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils
  man-db groff-base
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
