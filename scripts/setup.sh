#!/usr/bin/env bash
# Installs, from Debian's packages (as root), what a kind of work needs:
#   scripts/setup.sh demo    the Linux tool and the simulated bridge (the demo)
#   scripts/setup.sh         + tests, the manual page, the Windows build, 32-bit wine (the
#                            i386 architecture is added for it), the 32-bit Linux build
#                            under qemu
#   scripts/setup.sh --all   + static checks, memcheck, fuzzing, benchmark, packages and
#                            their checks (lintian), signing and the fresh-machine check
# Every program a script of this project calls comes from a package named here.
set -euo pipefail

demo=(cmake ninja-build g++ nlohmann-json3-dev libtomlplusplus-dev nettle-dev)
test=(
  libgtest-dev libgmock-dev git pandoc
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 qemu-user g++-multilib nettle-dev:i386 procps
)
all=(
  clang libclang-rt-14-dev clang-tidy clang-format cppcheck valgrind hyperfine time gdb
  dpkg-dev lintian unzip osslsigncode openssl debootstrap
)

case "${1:-}" in
  demo) packages=("${demo[@]}") ;;
  "") packages=("${demo[@]}" "${test[@]}") ;;
  --all) packages=("${demo[@]}" "${test[@]}" "${all[@]}") ;;
  *) echo "usage: $0 [demo|--all]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The product is a 32-bit Windows program: its wine comes from the i386
# architecture, whose package lists the update below then fetches; so does the
# SHA-256 library (nettle) of the 32-bit Linux build.
if [[ " ${missing[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
