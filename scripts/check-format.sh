#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it
# with the repository's .clang-format. Versions format differently, so the
# check takes clang-format 14, the one CI and scripts/install-deps.sh have.
set -euo pipefail
cd "$(dirname "$0")/.."

tool=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null &&
     "$candidate" --version | grep -q 'version 14\.'; then
    tool="$candidate"
    break
  fi
done
if [ -z "$tool" ]; then
  echo "check-format: clang-format 14 is needed (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

if ! git ls-files -z '*.cpp' '*.h' | xargs -0 "$tool" --dry-run --Werror; then
  echo "check-format: run '$tool -i' on the files above" >&2
  exit 1
fi
