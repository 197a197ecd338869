#!/usr/bin/env bash
# A station serving units as they are plugged in: eight units, two failing by
# per-device faults, one plugged twice (already done, never numbered again); it
# ends after the eighth and exits 1. Then a worker killed in the middle of its
# unit: the station records the unit as failed, and a board on a terminal. Then
# the shift report.
# Environment as for the end-to-end suite: BRIDGEFW_E2E_TOOL, _RUNNER, _BIN.
set -euo pipefail
read -ra runner <<<"${BRIDGEFW_E2E_RUNNER:-}"
work=$(mktemp -d)
# A check that fails leaves no station or worker running behind it.
trap 'kill -KILL ${station:-} 2>/dev/null || true; pkill -KILL -f -- "$work.*--worker" || true; rm -rf "$work"' EXIT
cd "$work"
export BRIDGESIM_STATE="$work/state.json" WINEDEBUG=-all
sim="$BRIDGEFW_E2E_BIN/bridgesim"
tool() { "${runner[@]}" "$BRIDGEFW_E2E_TOOL" "$@"; }
fail() { echo "FAILED: $*"; cat out; exit 1; }
waitfor() { for _ in $(seq 200); do grep -q "$1" out && return; sleep 0.1; done; fail "no '$1'"; }
"$sim" remove-all
printf 'vid = "1A2B"\nserial = "ST-{n:4}"\ntimer = 60\n' >p.toml

BRIDGESIM_FAULT=QZ_UpdateCustomizedSetting/sim2,QZ_UpdateCustomizedSetting/sim5 \
  tool --apply p.toml --watch --jobs 4 --units 8 --poll 50 >out &
station=$!
sleep 0.5  # no unit yet: the station waits
"$sim" plug >/dev/null; "$sim" plug >/dev/null
waitfor '^sim0: PASS'
"$sim" unplug sim0; sleep 0.2; "$sim" plug --back sim0
waitfor '^sim0: already done (ST-000[12]), remove the unit'
for _ in 1 2 3 4 5 6; do "$sim" plug >/dev/null; sleep "0.$((RANDOM % 3))"; done
status=0; wait $station || status=$?
[[ $status == 1 ]] || fail "status $status"
grep -q '^sim2: FAIL at writing: QZ_UpdateCustomizedSetting' out || fail "sim2"
grep -q '^sim5: FAIL at writing: QZ_UpdateCustomizedSetting' out || fail "sim5"
tail -1 out | grep -q '^8 units: 6 passed, 2 failed, yield 75%' || fail "tally"
[[ $(wc -l <bridgefw-record.jsonl) == 8 ]] || fail "record lines"
[[ $(grep -o '"serial":"ST-[0-9]*"' bridgefw-record.jsonl | sort -u | wc -l) == 8 ]] || fail "serials"

# A worker killed while its unit commits: recorded by the station (natively:
# the kill finds the worker by its command line).
if [[ ${#runner[@]} -eq 0 ]]; then
BRIDGESIM_DELAY=QZ_UpdateCustomizedSetting=3000 tool --apply p.toml --watch --units 1 --poll 50 >out &
station=$!
"$sim" plug >/dev/null
waitfor 'started in slot 1'
sleep 1
pkill -KILL -f -- "$work.*--worker" || fail "no worker to kill"
status=0; wait $station || status=$?
[[ $status == 1 ]] || fail "status $status after a killed worker"
tail -1 bridgefw-record.jsonl | grep -q '"result":"fail","messages":\["worker ended without a result' ||
  fail "record of the killed worker: $(tail -1 bridgefw-record.jsonl)"
# On a terminal (script gives one), the board is drawn and redrawn in place.
"$sim" plug >/dev/null
script -qec "$BRIDGEFW_E2E_TOOL --apply p.toml --watch --units 1 --poll 50" /dev/null >out
grep -q $'^\x1b\[[0-9]*A\x1b\[Jsim[0-9]*: PASS' out && grep -q $'^\x1b\[2K1 unit: 1 passed' out ||
  fail "board on a terminal"
fi

# Windows ends its lines with CR LF.
{ tool --report bridgefw-record.jsonl || true; } | tr -d '\r' >out
grep -Eq '^units *(8|10)$' out && grep -Eq '^passed *(6|7)$' out && grep -q '^duplicates *none$' out ||
  fail "report"
echo "ok: station served, failed, already done, killed worker recorded, board, report"
