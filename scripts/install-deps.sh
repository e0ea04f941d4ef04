#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Idempotent: installs only what is missing; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libpango1.0-dev libcairo2-dev libfontconfig-dev libharfbuzz-dev
  zlib1g-dev libjpeg62-turbo-dev libpng-dev libsimpleini-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core fonts-tlwg-loma-ttf
  libgtest-dev libgmock-dev libbenchmark-dev pngcheck
  desktop-file-utils appstream dpkg-dev groff-base
  xvfb xauth xdotool x11-utils xclip imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
