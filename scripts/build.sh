#!/usr/bin/env bash
# Builds the tool and the simulated bridge.
#   scripts/build.sh linux [extra cmake args]   -> build/       (tests included)
#   scripts/build.sh win32                      -> build-win32/ (the product exe)
#   scripts/build.sh win64                      -> build-win64/ (runs under wine)
#   scripts/build.sh linux-i686                 -> build-i686/  (32-bit x86 Linux: bridgefw and
#                                                  the simulated library, cdecl in bin/, stdcall
#                                                  in stdcall/; runs under qemu-i386)
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-linux}"
shift || true
jobs="${BRIDGEFW_JOBS:-2}"
targets=()

case "$target" in
  linux) dir=build; args=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}") ;;
  win32) dir=build-win32; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_BUILD_TESTS=OFF) ;;
  win64) dir=build-win64; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_BUILD_TESTS=OFF) ;;
  linux-i686) dir=build-i686; args=(-DCMAKE_TOOLCHAIN_FILE=cmake/linux-i686.cmake -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_BUILD_TESTS=OFF -DBRIDGESIM_STDCALL_VARIANT=ON)
    targets=(--target bridgefw QZFWUpdateDll QZFWUpdateDll_stdcall QZFWUpdateDll_lacking_DiskFormat) ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$jobs" "${targets[@]}"
