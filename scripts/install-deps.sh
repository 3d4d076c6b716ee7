#!/usr/bin/env bash
# Installs the Debian packages the build and the game need (zenity for the file dialogs); with "test",
# also those of the tests.
# Quick when everything is there already: apt is only called for what is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config libsdl2-dev libpng-dev zlib1g-dev liblzo2-dev
          libgl-dev libx11-dev libgl1-mesa-dri libmpv-dev zenity)
if [ "${1:-}" = "test" ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool openbox x11-utils libx11-dev libxtst-dev
               clang libclang-rt-14-dev python3)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
