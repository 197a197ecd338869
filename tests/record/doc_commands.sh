#!/usr/bin/env bash
# The shell commands docs/record-replay.md shows (its ```sh blocks) run as
# written, in order, in a folder where build/ is the build tree: each one
# succeeds, and no replay strays. BRIDGEFW_E2E_TOOL: the built tool in bin/.
set -euo pipefail
doc=$(cd "$(dirname "$0")/../.." && pwd)/docs/record-replay.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$(dirname "$BRIDGEFW_E2E_TOOL")/.." "$work/build"
awk '/^```sh$/ { shown = 1; next } /^```/ { shown = 0 } shown' "$doc" >"$work/commands.sh"
unset BRIDGESIM_TRACE BRIDGESIM_FAULT BRIDGESIM_REPLAY BRIDGEFW_RECORD BRIDGEFW_RECORD_LIBRARY
export BRIDGESIM_STATE=$work/state.json
(cd "$work" && bash -euo pipefail commands.sh >/dev/null) || { echo "FAILED: a command of $doc"; exit 1; }
! grep 'replay: ' "$work/trace.txt" || { echo "FAILED: a replay strayed"; exit 1; }
echo "ok: the $(grep -c . "$work/commands.sh") commands of $doc"
