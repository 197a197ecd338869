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
