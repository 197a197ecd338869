#!/usr/bin/env bash
# A short demo of bridgefw against the simulated bridge (no hardware needed).
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the demo shows: the tool, the simulated bridge and its two commands.
bash scripts/setup.sh demo
cmake --preset demo >/dev/null
cmake --build --preset demo -j "${BRIDGEFW_JOBS:-2}" >/dev/null

bin=build-demo/bin
export BRIDGESIM_STATE="${BRIDGESIM_STATE:-$PWD/build-demo/demo-state.json}"
"$bin/bridgesim" reset

run() {
  printf '$ bridgefw'
  printf ' %q' "$@"
  echo
  "$bin/bridgefw" "$@"
  echo
}

run -h
run -fv
run -ged
run -sm "Demo Maker"
run -gmd
"$bin/bridgesim-image" --out build-demo/demo.bin --series other --version 02.00.00.01
run -ue -f build-demo/demo.bin -v 1A2B -p 0C0D -m DemoMaker -i DemoDisk -s DEMO0001 -n DEMO DISK -t 300
run -fv
run -ged
echo "\$ printf '1 7\\n' | bridgefw | tail -n 3"
printf '1 7\n' | "$bin/bridgefw" | tail -n 3

# A production line: three bridges brought to one profile, the third made to
# fail its commit by a fault on that device alone.
echo
line=build-demo/line
rm -rf "$line"
mkdir -p "$line"
echo '$ bridgesim add; bridgesim add'
"$bin/bridgesim" add
"$bin/bridgesim" add
profile='vid = "1A2B"\nserial = "LINE-{n:4}"\nhdd1 = "ACME"\nhdd2 = "FAST DISK"\ntimer = 120\n'
echo "\$ printf '$profile' > line.toml"
# shellcheck disable=SC2059  # the profile is the format, as shown
printf "$profile" >"$line/line.toml"
echo '$ BRIDGESIM_FAULT=QZ_UpdateCustomizedSetting/sim2 bridgefw --apply line.toml --all'
status=0
(cd "$line" && BRIDGESIM_FAULT=QZ_UpdateCustomizedSetting/sim2 "$OLDPWD/$bin/bridgefw" \
  --apply line.toml --all) || status=$?
echo "(exit status $status)"
echo
echo '$ cat bridgefw-record.jsonl'
cat "$line/bridgefw-record.jsonl"

# A station: it waits for units and serves each as it is plugged in, two at a
# time; a script plugs four while it runs, the third made to fail.
echo
station=build-demo/station
rm -rf "$station"
mkdir -p "$station"
"$bin/bridgesim" remove-all
profile='vid = "1A2B"\nserial = "ST-{n:4}"\ntimer = 60\n'
# shellcheck disable=SC2059  # the profile is the format, as shown
printf "$profile" >"$station/station.toml"
echo "\$ printf '$profile' > station.toml"
echo '$ BRIDGESIM_FAULT=QZ_UpdateCustomizedSetting/sim2 bridgefw --apply station.toml --watch --jobs 2 --units 4 &'
echo '$ bridgesim plug  # four times, while the station runs'
(cd "$station" && BRIDGESIM_FAULT=QZ_UpdateCustomizedSetting/sim2 \
  "$OLDPWD/$bin/bridgefw" --apply station.toml --watch --jobs 2 --units 4 --poll 100) &
served=$!
for _ in 1 2 3 4; do
  sleep 0.4
  "$bin/bridgesim" plug >/dev/null
done
status=0
wait "$served" || status=$?
echo "(exit status $status)"
