#!/usr/bin/env bash
# A line asked to stop: the first SIGTERM lets the unit in progress finish and
# be recorded, and starts no other; a second one abandons it, recorded as
# interrupted. Progress reaches a redirected output as it is printed. An image
# replaced while a unit is programmed fails that unit.
# Environment as for the end-to-end suite: BRIDGEFW_E2E_TOOL, _BIN.
set -euo pipefail
work=$(mktemp -d)
# A check that fails leaves no line running behind it.
trap 'kill -KILL ${tool:-} 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export BRIDGESIM_STATE="$work/state.json"
sim="$BRIDGEFW_E2E_BIN/bridgesim"
fail() { echo "FAILED: $*"; cat out; exit 1; }
"$sim" reset && "$sim" add >/dev/null && "$sim" add >/dev/null
printf 'serial = "S-{n}"\ntimer = 5\n' >p.toml

# Each commit takes 1.5 s; the stop comes during the first unit's.
run() { BRIDGESIM_DELAY=QZ_UpdateCustomizedSetting=1500 "$BRIDGEFW_E2E_TOOL" --apply p.toml --all >out & }
run; tool=$!; sleep 0.7
grep -q '^\[1/3\] sim0: serial S-1 \.\.\. PASS' out || fail "progress not flushed"
kill -TERM $tool; status=0; wait $tool || status=$?
[[ $status == 1 ]] || fail "status $status after one stop"
grep -q '^Stopping: the unit in progress finishes' out || fail "no stop notice"
tail -2 out | tr '\n' '|' | grep -qx 'Stopped: 2 listed units not reached|1 unit: 1 passed, 0 failed|' ||
  fail "summary"
[[ $(wc -l <bridgefw-record.jsonl) == 1 ]] &&
  grep -q '"serial":"S-1".*"result":"pass".*"seconds":[1-9]' bridgefw-record.jsonl ||
  fail "record after one stop"

run; tool=$!; sleep 0.7; kill -TERM $tool; sleep 0.2; kill -TERM $tool; status=0; wait $tool || status=$?
[[ $status == 1 ]] || fail "status $status after two stops"
tail -1 out | grep -qx 'Abandoned: the unit in progress is recorded as failed, interrupted' || fail "abandon notice"
tail -1 bridgefw-record.jsonl | grep -q '"serial":"S-2".*"result":"fail","failed_step":"writing","messages":\["interrupted"\]' ||
  fail "record after two stops: $(tail -1 bridgefw-record.jsonl)"

# Units side by side: a stop lets each one in progress finish.
BRIDGESIM_DELAY=QZ_UpdateCustomizedSetting=1500 "$BRIDGEFW_E2E_TOOL" --apply p.toml --all --jobs 2 >out &
tool=$!; sleep 0.7; kill -TERM $tool; status=0; wait $tool || status=$?
[[ $status == 1 ]] && grep -qx 'Stopping: the units in progress finish, no further unit starts (stop again within 5 s to abandon them: a bridge cut off while programming may not start again)' out ||
  fail "stop of units side by side"

"$BRIDGEFW_E2E_BIN/bridgesim-image" --out fw.bin --series other --version 02.00.00.01 >/dev/null
printf 'image = "fw.bin"\n' >img.toml
delay=QZ_FWUpdateProgrammingNoCustomizedSetting=1000
BRIDGESIM_DELAY=$delay "$BRIDGEFW_E2E_TOOL" --apply img.toml --device 1 >out & tool=$!
sleep 0.5; "$BRIDGEFW_E2E_BIN/bridgesim-image" --out fw.bin --series other --version 03.00.00.01 >/dev/null
status=0; wait $tool || status=$?
[[ $status == 1 ]] && grep -q '^  the image changed while it was programmed: sha256 ' out || fail "image replaced"
echo "ok: stopped, abandoned, stopped side by side, image replaced"
