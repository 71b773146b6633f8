#!/usr/bin/env bash
# Installs the Debian packages the system needs to build, test and run. Run by root (a fresh
# machine, CI) it installs what is missing; run by another user it uses sudo where there is one,
# and otherwise names the missing packages and how to install them.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev
          libbenchmark-dev libx11-dev qt6-base-dev csound xvfb xauth x11-utils x11-apps xdotool sox locales fonts-dejavu-core fonts-liberation2 fonts-noto-mono)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
install=(apt-get install -y --no-install-recommends "${missing[@]}")
# What to do by hand, on stderr.
how() {
  {
    echo "Es fehlen Debian-Pakete: ${missing[*]}"
    echo "Installieren Sie sie als root:"
    echo "  apt-get update && ${install[*]}"
    echo "oder als Benutzer mit sudo-Recht:"
    echo "  sudo apt-get update && sudo ${install[*]}"
  } >&2
  exit 1
}
if [ "$(id -u)" -eq 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive "${install[@]}"
elif command -v sudo >/dev/null 2>&1; then
  { sudo apt-get update && sudo env DEBIAN_FRONTEND=noninteractive "${install[@]}"; } || how
else
  how
fi
