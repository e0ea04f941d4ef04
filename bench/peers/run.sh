#!/usr/bin/env bash
# Glyphary next to its peers (Pillow, ImageMagick, pango-view, OpenCV) on the
# same captions and images, in one run; prints every ratio, peer time ÷ ours.
# Usage: bench/peers/run.sh [BUILD_DIR]   (make bench-peers builds first)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)

# The peers come from Debian; only what is missing is installed.
packages=(python3-pil python3-numpy python3-opencv python3-distributed imagemagick
  pango1.0-tools time fonts-ipafont-gothic)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

for program in glyphary-cli bench/caption_bench bench/batch_bench bench/stretch_bench; do
  [ -x "$build/$program" ] || { echo "missing $build/$program: build first" >&2; exit 1; }
done

[ -e "$build/python/glyphary.pyi" ] || { echo "missing $build/python: build first" >&2; exit 1; }

# Debian's Python, where the packages above put their modules; no bytecode
# left in the source tree.
export PYTHONDONTWRITEBYTECODE=1
exec /usr/bin/python3 "$here/compare.py" "$build"
