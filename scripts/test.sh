#!/usr/bin/env bash
# Builds everything and runs every test: Linux (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and the 64-bit Windows build under wine; checks
# the 32-bit product exe.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

stage() { echo "== $1 ($(date +%T))"; }

stage "build: 32-bit Windows product"
bash scripts/build.sh win32 -DBRIDGEFW_WERROR=ON
stage "build: 64-bit Windows (for wine)"
bash scripts/build.sh win64 -DBRIDGEFW_WERROR=ON
stage "build: Linux with sanitizers"
BUILD_TYPE=Debug bash scripts/build.sh linux -DBRIDGEFW_WERROR=ON -DBRIDGEFW_SANITIZE=ON \
  -DBRIDGEFW_WINE_BUILD_DIR="$PWD/build-win64"

stage "check: the 32-bit exe"
bash scripts/check-windows-exe.sh build-win32/bin/bridgefw.exe

stage "tests"
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# One persistent wineserver for the whole run makes each start fast; the
# prefix is created up front (it takes a while and prints its own messages).
wineserver -p
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
trap 'wineserver -k || true' EXIT
(cd build && ctest --output-on-failure -j 2)
stage "done"
