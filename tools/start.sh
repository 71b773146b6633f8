#!/usr/bin/env bash
# Sets up everything on a fresh Debian machine, prepares a ready working folder and starts the
# system: a compiler build on the example tone list, which writes the Csound files and starts the
# render batch (Csound renders C:\Arbeit\Dozudava.wav).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORMILA_BUILD_DIR:-$top/build}
"$top/tools/install-packages.sh"
"$top/tools/build.sh"
export ORMILA_DRIVES=${ORMILA_DRIVES:-$HOME/.local/share/ormila/drives}
"$top/tools/setup-drive.sh" "$ORMILA_DRIVES" "$build"
arbeit="$ORMILA_DRIVES/c/Arbeit"
[ -f "$arbeit/Tesu.rsz" ] || cp "$top/examples/Tesu.rsz" "$arbeit/Tesu.rsz"
echo "Arbeitsordner C:\\Arbeit\\ = $arbeit"
"$arbeit/VB/Tesu01/TalvikTe.exe"
echo "TalvikTe ist fertig; der Render-Batch läuft: $arbeit/Dozudava.wav"
