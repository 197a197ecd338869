#!/usr/bin/env bash
# Include and link directions against the layer table (scripts/layers.txt:
# scripts/check-includes.sh, scripts/check-links.sh), clang-format, clang-tidy
# (.clang-tidy) and cppcheck over the sources.
# The link check and clang-tidy take the link graph and the compile commands
# from a Linux preset's tree, configured here:
#   scripts/static-checks.sh [PRESET]   (default: linux)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cmake --preset "${1:-linux}" | sed -n 's/^-- Build files have been written to: //p')
[ -f "$build/compile_commands.json" ] || { echo "static checks: no compile commands" >&2; exit 1; }

echo "include directions"
bash scripts/check-includes.sh

echo "link directions"
bash scripts/check-links.sh "$build"

echo "clang-format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
clang-format --dry-run --Werror "${sources[@]}"

echo "clang-tidy"
# Every product source (all but tests/ and the benchmark) that the Linux build
# compiles: the Windows-only ones are not in its compile commands. One file per
# run: clang-tidy 14 carries va_list state from one file to the next and then
# reports a va_start'ed list as uninitialized.
mapfile -t product < <(git ls-files '*.cpp' ':!:tests/**' ':!:bench/**')
mapfile -t compiled < <(printf '%s\n' "${product[@]}" | grep -Fx -f <(
  sed -n "s|^ *\"file\": \"$(pwd -P)/\(.*\)\",\{0,1\}\$|\1|p" "$build/compile_commands.json"))
[ "${#compiled[@]}" -gt 0 ] || { echo "static checks: no product source compiled" >&2; exit 1; }
printf '%s\n' "${compiled[@]}" |
  xargs -P 2 -n 1 clang-tidy -p "$build" --quiet 2>&1 |
  { grep -v -E '^[0-9]+ warnings? generated|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' || true; } |
  tee "$build/clang-tidy.log"
if grep -q -E 'warning:|error:' "$build/clang-tidy.log"; then
  echo "clang-tidy found problems" >&2
  exit 1
fi

echo "cppcheck"
cppcheck --quiet --enable=warning,performance,portability --std=c++17 --inline-suppr \
  --error-exitcode=1 -I . $(printf '%s\n' "${product[@]}" | cut -d/ -f1 | sort -u)
echo "static checks clean"
