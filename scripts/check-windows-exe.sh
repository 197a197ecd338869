#!/usr/bin/env bash
# Checks that an exe is a 32-bit (PE32, i386) console program whose embedded
# manifest asks for administrator rights.
set -euo pipefail
exe="$1"
headers="$(i686-w64-mingw32-objdump -f -p "$exe")"
fail() { echo "check-windows-exe: $exe: $1" >&2; exit 1; }
grep -q "file format pei-i386" <<<"$headers" || fail "not PE32 i386"
grep -q "^Magic.*010b" <<<"$headers" || fail "optional header is not PE32"
grep -Eq "^Subsystem[[:space:]]+00000003" <<<"$headers" || fail "not a console program"
grep -aq 'level="requireAdministrator" uiAccess="false"' "$exe" || fail "manifest does not require administrator"
echo "check-windows-exe: $exe: PE32 i386 console, requireAdministrator"
