#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ -x "$BUILD_DIR/bin/korvex-pdf" ]; then
  exec "$BUILD_DIR/bin/korvex-pdf" "$@"
elif [ -x "$BUILD_DIR/bin/korvex-pdf-cli" ]; then
  exec "$BUILD_DIR/bin/korvex-pdf-cli" "$@"
else
  echo "Nothing to run yet." >&2
  exit 1
fi
