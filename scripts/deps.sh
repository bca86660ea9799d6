#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when they are all present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qpdf libqpdf-dev libpoppler-cpp-dev libturbojpeg0-dev libjsoncpp-dev libcurl4-openssl-dev libssl-dev
  libgtest-dev libcpp-httplib-dev libsqlite3-dev libjemalloc-dev
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  libxcb1-dev
  fonts-noto-cjk xvfb xauth xdotool openbox dbus-daemon
  hyperfine time poppler-utils pdftk-java
  clang-format
  desktop-file-utils appstream dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
