#!/usr/bin/env bash
# Sets up everything (packages, build) and runs all tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-packages.sh"
"$top/tools/build.sh"  # everything: programs, tests and benchmarks
ctest --test-dir "${ORMILA_BUILD_DIR:-$top/build}" -j"$(nproc)" --output-on-failure
