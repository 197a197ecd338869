#!/usr/bin/env bash
# Builds everything and runs every test and check:
#   - Linux with AddressSanitizer and UndefinedBehaviorSanitizer: unit, simulator,
#     end-to-end and record/replay tests; then what ships for Windows: the release
#     ZIP unpacked into an empty folder, a 32-bit simulated DLL beside its exe
#     (cdecl, then stdcall), the end-to-end, library-search and record/replay tests
#     there under 32-bit wine; and the end-to-end tests with the 32-bit x86 Linux
#     build under qemu-i386 (with a cdecl and a stdcall library);
#   - the end-to-end tests under valgrind memcheck (uninstrumented Release build);
#   - clang-format, clang-tidy, cppcheck;
#   - the four libFuzzer targets (command line, menu, image parser, state parser),
#     60 s each (FUZZ_SECONDS);
#   - the 32-bit product exe's headers, manifest, version resource and imports,
#     a signing run with a throwaway certificate, and the release packages (the
#     .deb checked by lintian).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --all

stage() { echo "== $1 ($(date +%T))"; }

# Each build is a preset of CMakePresets.json; those the CI builds turn
# warnings into errors.
stage "build: 32-bit Windows product, simulated DLLs"
bash scripts/build.sh win32
stage "build: 32-bit x86 Linux (for qemu-i386)"
bash scripts/build.sh linux-i686
stage "build: Linux with sanitizers"
bash scripts/build.sh sanitize
stage "build: Linux release (packages, memcheck)"
bash scripts/build.sh release

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
bash scripts/static-checks.sh sanitize

stage "tests: Linux, the release ZIP under 32-bit wine, qemu-i386"
export WINEPREFIX="${WINEPREFIX:-$PWD/build-sanitize/wineprefix32}" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# The prefix is created up front (it takes a while and prints its own
# messages), and everything its creation started is waited for: a tool run
# while the new prefix is still being set up can fail to start at all. Then
# one persistent wineserver for the whole run makes each start fast.
# A server left running for the prefix (by a run cut short) would never let
# the wait below end.
wineserver -k 2>/dev/null || true
# A 32-bit prefix, whatever else the machine has: the product is a 32-bit program.
WINEARCH=win32 /usr/lib/wine/wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
wineserver -p
trap 'wineserver -k || true' EXIT
ctest --preset sanitize

stage "tests: end to end under valgrind memcheck"
ctest --preset memcheck

stage "fuzzing"
bash scripts/fuzz.sh

stage "packages"
bash scripts/package.sh
stage "done"
