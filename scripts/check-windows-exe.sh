#!/usr/bin/env bash
# Checks that an exe is the releasable product: a 32-bit (PE32, i386) console
# program, stripped, whose embedded manifest asks for administrator rights and
# declares Windows 7 to 11, with a version resource (file and product version,
# product name, description), importing nothing but system DLLs (the maker's
# library is loaded at run time; no compiler runtime DLL is needed).
set -euo pipefail
exe="$1"
version="$(sed -n 's/^project(bridgefw VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")"
headers="$(i686-w64-mingw32-objdump -f -p "$exe")"
resources="$(i686-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)" || resources=""
fail() { echo "check-windows-exe: $exe: $1" >&2; exit 1; }
grep -q "file format pei-i386" <<<"$headers" || fail "not PE32 i386"
grep -q "^Magic.*010b" <<<"$headers" || fail "optional header is not PE32"
grep -Eq "^Subsystem[[:space:]]+00000003" <<<"$headers" || fail "not a console program"
grep -Eq "HAS_SYMS|HAS_DEBUG" <<<"$headers" && fail "not stripped (symbols or debug information)"
grep -aq 'level="requireAdministrator" uiAccess="false"' "$exe" || fail "manifest does not require administrator"

# supportedOS: Windows 7, 8, 8.1, 10 and 11 (one id for the last two).
for id in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -aq "<supportedOS Id=\"{$id}\"/>" "$exe" || fail "manifest lacks supportedOS $id"
done

numbers="${version//./, }"
grep -q "^ FILEVERSION $numbers\$" <<<"$resources" || fail "no file version $version"
grep -q "^ PRODUCTVERSION $numbers\$" <<<"$resources" || fail "no product version $version"
for value in "FileVersion\", \"$version\"" "ProductVersion\", \"$version\"" "ProductName\", \"bridgefw\"" \
             "FileDescription\", \"USB storage bridge service tool\""; do
  grep -qF "VALUE \"$value" <<<"$resources" || fail "version resource lacks $value"
done

# Imports: Windows' own DLLs only.
imports="$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)"
while read -r dll; do
  case "$dll" in
    "" | kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll | shell32.dll | bcrypt.dll | ntdll.dll | api-ms-win-*.dll) ;;
    *) fail "imports $dll, not a system DLL" ;;
  esac
done <<<"$imports"

echo "check-windows-exe: $exe: PE32 i386 console, stripped, requireAdministrator, Windows 7-11," \
  "version $version, imports $(tr '\n' ' ' <<<"$imports")"
