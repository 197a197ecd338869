#!/usr/bin/env bash
# Release check, run by hand as root (not by CI: it downloads a whole system).
# Makes a minimal Debian 12 root with debootstrap from this machine's package
# source, clones the repository into it, and runs the README's two commands
# there (the demo, then every test), printing how long each took. Then the
# .deb that the tests made is installed there with apt, run by an ordinary
# user, and removed again, leaving nothing behind.
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

# The package as a user gets it. Afterwards everything outside the user's
# home, the clone and the package manager's own records must be as it was
# (man-db's index, which its trigger redoes on any change of man pages, aside),
# and dpkg must keep no file of the package.
cat >"$root/tmp/deb-check.sh" <<'CHECK'
set -euo pipefail
snapshot() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /root \
    -o -path /home -o -path /var/log -o -path /var/cache/apt -o -path /var/lib/apt \
    -o -path /var/lib/dpkg -o -path /var/cache/debconf -o -path /var/cache/man \) -prune -o -printf '%p %M %s\n' | sort
}
id bridgefw-user >/dev/null 2>&1 || useradd --create-home bridgefw-user
cp build-release/bridgefw-*-linux.deb /tmp/bridgefw.deb
snapshot >/tmp/before
apt-get install -y -q /tmp/bridgefw.deb >/dev/null
fv=$(runuser -l bridgefw-user -c 'bridgefw -fv')
echo "bridgefw -fv: $fv"
[[ $fv == "FW version: 01.02.03.04" ]]
devices=$(runuser -l bridgefw-user -c 'bridgesim show')
grep -qx 'device 0: sim0' <<<"$devices"
apt-get purge -y -q bridgefw >/dev/null
snapshot >/tmp/after
diff /tmp/before /tmp/after
if ls /var/lib/dpkg/info/bridgefw.* 2>/dev/null; then exit 1; fi
echo "installed, run as bridgefw-user, removed: nothing left"
CHECK
timed "package (install, run as a user, remove)" bash /tmp/deb-check.sh
