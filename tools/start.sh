#!/usr/bin/env bash
# Sets up everything on a fresh Debian machine, prepares a ready working folder C:\Arbeit\ with an
# example REAPER project, its settings and a sample, and starts Ormila. Pressing "Cso1" converts
# the project, starts TalvikTe, and Csound renders C:\Arbeit\Dozudava.wav.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORMILA_BUILD_DIR:-$top/build}
"$top/tools/install-packages.sh"
# Only the programs it starts: the window, the four compiler builds and the batch runner (the
# tests and benchmarks are built by tools/test.sh).
"$top/tools/build.sh" Ormila TalvikTe TalvikTe2 TalvikTe3 TalvikTe4 ormila-batch
export ORMILA_DRIVES=${ORMILA_DRIVES:-$HOME/.local/share/ormila/drives}
"$top/tools/setup-drive.sh" "$ORMILA_DRIVES" "$build"
arbeit="$ORMILA_DRIVES/c/Arbeit"
# The example: kept as it is when the composer already has these files.
[ -f "$arbeit/Gleiten.rpp" ] || cp "$top/examples/Gleiten.rpp" "$arbeit/Gleiten.rpp"
[ -f "$arbeit/Tesu.ini" ] || cp "$top/examples/Tesu.ini" "$arbeit/Tesu.ini"
[ -f "$arbeit/Tesu.rsz" ] || cp "$top/examples/Tesu.rsz" "$arbeit/Tesu.rsz"
[ -f "$arbeit/Klang.wav" ] || sox -n -r 44100 -c 2 -b 16 "$arbeit/Klang.wav" synth 1.5 pluck 220 vol 0.6
echo "Arbeitsordner C:\\Arbeit\\ = $arbeit"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Kein Bildschirm gefunden (DISPLAY): Ormila braucht eine grafische Sitzung." >&2
  exit 1
fi
exec "$build/apps/Ormila"
