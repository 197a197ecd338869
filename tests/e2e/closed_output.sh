#!/usr/bin/env bash
# A reader that goes away early ends nothing: a menu session whose output
# nobody reads any more still writes the setting, and the tool exits 0.
# Environment as for the end-to-end suite: BRIDGEFW_E2E_TOOL, _RUNNER, _BIN.
set -euo pipefail
read -ra runner <<<"${BRIDGEFW_E2E_RUNNER:-}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BRIDGESIM_STATE="$work/state.json" WINEDEBUG=-all
"$BRIDGEFW_E2E_BIN/bridgesim" reset
# `true` has closed the pipe before the tool prints its menu.
{
  sleep 0.5
  status=0
  printf '14\nAcme\n' | "${runner[@]}" "$BRIDGEFW_E2E_TOOL" 2>/dev/null || status=$?
  echo "$status" >"$work/status"
} | true
status=$(cat "$work/status") maker=$("$BRIDGEFW_E2E_BIN/bridgesim" get manufacturer)
[[ $status == 0 && $maker == Acme ]] || { echo "FAILED: status $status, manufacturer '$maker'"; exit 1; }
echo "ok: output closed early, setting written, status 0"
