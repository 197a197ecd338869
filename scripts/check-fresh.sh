#!/usr/bin/env bash
# Release check, run by hand as root (not by CI: it downloads a whole system).
# Makes a minimal Debian 12 root with debootstrap from this machine's package
# source, clones the repository into it, and runs the README's two commands
# there (the demo, then every test), printing how long each took.
#   scripts/check-fresh.sh [ROOT]     (default /var/tmp/bridgefw-fresh; replaced)
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
root="${1:-/var/tmp/bridgefw-fresh}"
bash scripts/setup.sh --all

# The first Debian archive this machine's apt is configured with.
mirror=$(
  { grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources || true
    grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list || true
  } | awk '$2 !~ /-security/ {print $2; exit}'
)
[ -n "$mirror" ] || { echo "check-fresh: no package source configured" >&2; exit 1; }

unmount() {
  for m in dev/pts dev sys proc; do
    mountpoint -q "$root/$m" && umount -l "$root/$m"
  done
  return 0
}
trap unmount EXIT
unmount
rm -rf "$root"

start=$(date +%s)
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 20 "$root.debootstrap.log"; exit 1; }
# The same package sources and apt settings as this machine, and its resolver.
rm -f "$root/etc/apt/sources.list"
cp -a /etc/apt/sources.list.d/. "$root/etc/apt/sources.list.d/"
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/"
cp -a /etc/apt/apt.conf.d/. "$root/etc/apt/apt.conf.d/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "debootstrap: $(($(date +%s) - start)) s"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"

git clone -q --no-local "$repo" "$root/root/bridgefw"

timed() {
  local name="$1" begin status
  shift
  begin=$(date +%s)
  status=0
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 /bin/bash -c "cd /root/bridgefw && $*" || status=$?
  echo "== $name: $(($(date +%s) - begin)) s, status $status"
  return "$status"
}
timed "demo (bash scripts/demo.sh)" bash scripts/demo.sh
timed "tests (bash scripts/test.sh)" CI=true bash scripts/test.sh </dev/null
