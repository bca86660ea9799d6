#!/usr/bin/env bash
# Builds the Debian package of the programs into build/ (or $BUILD_DIR) and shows what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(ls -t "$BUILD_DIR"/korvex-pdf_*.deb | head -1)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "$deb"
