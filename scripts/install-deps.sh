#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Idempotent: installs only what is missing; uses sudo when not root.
# With --arm64, also what `make test-arm64` needs: the cross compiler, QEMU's
# user-mode emulator and the arm64 libraries beside the native ones
# (multiarch). Those must be the same versions as the native ones, so apt may
# bring a few native libraries up to the archive's current point release.
set -euo pipefail

arm64=false
for argument in "$@"; do
  case "$argument" in
    --arm64) arm64=true ;;
    *) echo "usage: $0 [--arm64]" >&2; exit 2 ;;
  esac
done

packages=(
  build-essential cmake pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libpango1.0-dev libcairo2-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev
  zlib1g-dev libjpeg62-turbo-dev libpng-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core fonts-tlwg-loma-ttf fonts-noto-color-emoji
  libgtest-dev libgmock-dev libbenchmark-dev pngcheck locales
  desktop-file-utils appstream dpkg-dev groff-base lintian
  xvfb xauth xdotool x11-utils xclip imagemagick
  pybind11-dev python3-dev python3-numpy python3-pytest python3-distributed python3-pil
)
if $arm64; then
  packages+=(g++-aarch64-linux-gnu qemu-user)
  for p in libpango1.0-dev libcairo2-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev \
           zlib1g-dev libjpeg62-turbo-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev \
           qt6-base-dev libgl-dev; do
    packages+=("$p:arm64")
  done
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if $arm64 && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding the arm64 architecture to dpkg"
  $sudo dpkg --add-architecture arm64
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
