#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages (as root).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  wine64
  g++-multilib qemu-user
)
if [[ "${1:-}" == "--all" ]]; then
  # Hardening, measurement and packaging.
  packages+=(clang libclang-rt-14-dev clang-tidy clang-format cppcheck valgrind hyperfine time dpkg-dev unzip
             osslsigncode openssl)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
