#!/usr/bin/env bash
# Builds the tool and the simulated bridge.
#   scripts/build.sh linux [extra cmake args]   -> build/       (tests included)
#   scripts/build.sh win32                      -> build-win32/ (the product exe)
#   scripts/build.sh win64                      -> build-win64/ (runs under wine)
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-linux}"
shift || true
jobs="${BRIDGEFW_JOBS:-2}"

case "$target" in
  linux) dir=build; args=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}") ;;
  win32) dir=build-win32; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_BUILD_TESTS=OFF) ;;
  win64) dir=build-win64; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_BUILD_TESTS=OFF) ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
