#!/usr/bin/env bash
# Configures and builds one preset of CMakePresets.json (`cmake --list-presets`):
#   scripts/build.sh linux [extra cmake args]   -> build/          (tests included)
#   scripts/build.sh sanitize                   -> build-sanitize/ (the CI's Linux build)
#   scripts/build.sh release                    -> build-release/  (packages, memcheck)
#   scripts/build.sh win32                      -> build-win32/    (the product exe and its ZIP;
#                                                  the simulated DLL, cdecl in bin/, stdcall in
#                                                  stdcall/, and its commands, for wine)
#   scripts/build.sh linux-i686                 -> build-i686/     (32-bit x86 Linux: bridgefw and
#                                                  the simulated library, cdecl in bin/, stdcall
#                                                  in stdcall/; runs under qemu-i386)
# Extra arguments go to the configure step, e.g. --compile-no-warning-as-error.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-linux}"
shift || true

cmake --preset "$preset" "$@" >/dev/null
cmake --build --preset "$preset" -j "${BRIDGEFW_JOBS:-2}"
