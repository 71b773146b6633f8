#!/usr/bin/env bash
# Configures and builds into build/ (or $ORMILA_BUILD_DIR): the targets named, or everything.
#   tools/build.sh [target ...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORMILA_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" "$@"
