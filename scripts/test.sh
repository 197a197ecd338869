#!/usr/bin/env bash
# Builds everything and runs every test and check:
#   - Linux with AddressSanitizer and UndefinedBehaviorSanitizer: unit, simulator,
#     end-to-end and record/replay tests, and the end-to-end tests again against the
#     64-bit Windows build under wine and the 32-bit x86 Linux build under qemu-i386
#     (with a cdecl and a stdcall library);
#   - the end-to-end tests under valgrind memcheck (uninstrumented Release build);
#   - clang-format, clang-tidy, cppcheck;
#   - the four libFuzzer targets (command line, menu, image parser, state parser),
#     60 s each (FUZZ_SECONDS);
#   - the 32-bit product exe's headers, manifest, version resource and imports,
#     a signing run with a throwaway certificate, and the release packages.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --all

stage() { echo "== $1 ($(date +%T))"; }

stage "build: 32-bit Windows product"
bash scripts/build.sh win32 -DBRIDGEFW_WERROR=ON
stage "build: 64-bit Windows (for wine)"
bash scripts/build.sh win64 -DBRIDGEFW_WERROR=ON
stage "build: 32-bit x86 Linux (for qemu-i386)"
bash scripts/build.sh linux-i686 -DBRIDGEFW_WERROR=ON
stage "build: Linux with sanitizers"
BUILD_TYPE=Debug bash scripts/build.sh linux -DBRIDGEFW_WERROR=ON -DBRIDGEFW_SANITIZE=ON \
  -DBRIDGEFW_WINE_BUILD_DIR="$PWD/build-win64" -DBRIDGEFW_I686_BUILD_DIR="$PWD/build-i686"
stage "build: Linux release (packages, memcheck)"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIDGEFW_WERROR=ON \
  -DBRIDGEFW_VALGRIND_E2E=ON >/dev/null
cmake --build build-release -j "${BRIDGEFW_JOBS:-2}"

stage "check: the 32-bit exe"
bash scripts/check-windows-exe.sh build-win32/bin/bridgefw.exe
# The signing step, proven on a copy with a throwaway self-made certificate:
# the release exe itself stays unsigned unless a real certificate is given.
signing=$(mktemp -d)
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=bridgefw throwaway test signer" \
  -keyout "$signing/key.pem" -out "$signing/cert.pem" 2>/dev/null
cp build-win32/bin/bridgefw.exe "$signing/"
bash scripts/sign-windows.sh "$signing/bridgefw.exe" "$signing/cert.pem" "$signing/key.pem"
bash scripts/check-windows-exe.sh "$signing/bridgefw.exe"
rm -rf "$signing"

stage "static checks"
bash scripts/static-checks.sh build

stage "tests: Linux, wine and qemu-i386"
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# The prefix is created up front (it takes a while and prints its own
# messages), and everything its creation started is waited for: a tool run
# while the new prefix is still being set up can fail to start at all. Then
# one persistent wineserver for the whole run makes each start fast.
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
wineserver -w
wineserver -p
trap 'wineserver -k || true' EXIT
(cd build && ctest --output-on-failure -j 2)

stage "tests: end to end under valgrind memcheck"
(cd build-release && ctest --output-on-failure -j 2 -R e2e_valgrind)

stage "fuzzing"
bash scripts/fuzz.sh

stage "packages"
bash scripts/package.sh
stage "done"
