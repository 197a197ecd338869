#!/usr/bin/env bash
# Builds the release packages and checks what they hold:
#   build-release/bridgefw-<version>-linux.deb   bridgefw and the simulated library (in
#                                                /usr/lib/bridgefw), bridgesim, bridgesim-image,
#                                                their man pages, the documents bridgefw(1)
#                                                points to, copyright and changelog;
#                                                lintian must find nothing in it
#   build-win32/bridgefw-<version>-win32.zip     bridgefw.exe (32-bit, stripped), README.txt
#                                                (CRLF line ends) and the session recorder
#                                                (recorder/QZFWUpdateDll.dll)
# Expects the release and win32 presets' trees (build-release/, build-win32/) to be built.
# With BRIDGEFW_SIGN_CERT and BRIDGEFW_SIGN_KEY set, the exe is signed first
# (scripts/sign-windows.sh); without them the release is unsigned.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "package: $1" >&2; exit 1; }

cpack --preset release >/dev/null
deb=$(ls build-release/bridgefw-*-linux.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/bridgefw ./usr/bin/bridgesim ./usr/bin/bridgesim-image \
         ./usr/lib/bridgefw/bridgefw ./usr/lib/bridgefw/libQZFWUpdateDll.so \
         ./usr/share/man/man1/{bridgefw,bridgesim,bridgesim-image}.1.gz \
         ./usr/share/doc/bridgefw/{copyright,changelog.gz}; do
  grep -qx "$f" <<<"$contents" || fail "$deb lacks $f"
done
# The documents the manual page points to are in the package too.
for f in $(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/bridgefw.1.gz | zcat |
           grep -o '/usr/share/doc/bridgefw/[^ ]*\.gz' | sort -u); do
  grep -qx ".$f" <<<"$contents" || fail "the manual page points to $f, which $deb lacks"
done
# Packed relocations load only with glibc 2.36 or later, which the package must ask.
tmp=$(mktemp -d)
dpkg-deb -x "$deb" "$tmp"
if readelf -V "$tmp/usr/lib/bridgefw/bridgefw" | grep -q GLIBC_ABI_DT_RELR; then
  dpkg-deb -f "$deb" Depends | grep -q "libc6 (>= 2\.3[6-9]" || fail "$deb does not ask for glibc 2.36"
fi
rm -rf "$tmp"
# Debian's own checker: not one error or warning (nor any other line it prints).
findings=$(lintian --allow-root --fail-on error,warning "$deb" 2>&1) || fail "lintian: $findings"
[[ -z $findings ]] || fail "lintian: $findings"
dpkg-deb -f "$deb" Package Version | tr '\n' ' '
echo "-> $deb"

bash scripts/sign-windows.sh build-win32/bin/bridgefw.exe "${BRIDGEFW_SIGN_CERT:-}" "${BRIDGEFW_SIGN_KEY:-}"
cpack --preset win32 >/dev/null
zip=$(ls build-win32/bridgefw-*-win32.zip)
listing=$(unzip -Z1 "$zip" | grep -v "/$" | sort | tr '\n' ' ')
[[ "$listing" == "README.txt bridgefw.exe recorder/QZFWUpdateDll.dll " ]] || fail "$zip holds: $listing"
readme=$(unzip -p "$zip" README.txt)
grep -q "QZFWUpdateDll.dll, beside bridgefw.exe" <<<"$readme" || fail "README.txt does not say where the library goes"
grep -q $'^Starting the tool\r$' <<<"$readme" || fail "README.txt lacks the section on starting the tool"
grep -q $'[^\r]$' <<<"$readme" && fail "README.txt has lines without CRLF"
tmp=$(mktemp -d)
unzip -q "$zip" bridgefw.exe -d "$tmp"
bash scripts/check-windows-exe.sh "$tmp/bridgefw.exe"
rm -rf "$tmp"
echo "-> $zip"
