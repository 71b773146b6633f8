#!/usr/bin/env bash
# Installs the Debian packages the system needs to build, test and run.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev
          libbenchmark-dev libx11-dev qt6-base-dev csound xvfb xauth x11-utils x11-apps xdotool sox locales fonts-dejavu-core fonts-liberation2 fonts-noto-mono)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
