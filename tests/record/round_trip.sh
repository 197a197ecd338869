#!/usr/bin/env bash
# Record and replay round trips. Every option and a menu session run over the
# recorder, with the simulated library as the "real" one, print exactly what
# they print without it; replayed against a bridge in another state they print
# the same bytes again. A run that calls otherwise gets nothing, and the trace
# says so. Environment as for the end-to-end tests: BRIDGEFW_E2E_TOOL,
# BRIDGEFW_E2E_RUNNER (e.g. wine) and BRIDGEFW_E2E_BIN (native bridgesim).
set -euo pipefail
tool=$BRIDGEFW_E2E_TOOL
bin=$BRIDGEFW_E2E_BIN
read -ra runner <<<"${BRIDGEFW_E2E_RUNNER:-}"
from=$(dirname "$tool")
if [[ $tool == *.exe ]]; then lib=QZFWUpdateDll.dll real=QZFWUpdateDll.real.dll
else lib=libQZFWUpdateDll.so real=libQZFWUpdateDll.real.so; fi

work=$(mktemp -d /tmp/bridgefw-record-XXXXXX)
unset BRIDGESIM_TRACE BRIDGESIM_FAULT BRIDGESIM_REPLAY BRIDGEFW_RECORD BRIDGEFW_RECORD_LIBRARY
export BRIDGESIM_STATE=$work/state.json WINEDEBUG=-all
mkdir "$work/rec"
cp "$tool" "$from/recorder/$lib" "$work/rec/"
cp "$from/$lib" "$work/rec/$real"
"$bin/bridgesim-image" --out "$work/fw.bin" --series other --version 02.00.00.00 >/dev/null
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
sim() { "$bin/bridgesim" "$@" >/dev/null; }

# run FOLDER OUT INPUT ARGS...: the tool from FOLDER, standard output to OUT
# with CRLF as LF (a Windows console program ends every line with CRLF);
# nothing may reach standard error (wine's own notes aside).
run() {
  local folder=$1 out=$2 input=$3
  shift 3
  (cd "$work" && printf '%b' "$input" |
    "${runner[@]}" "$folder/$(basename "$tool")" "$@" >"$out.raw" 2>"$out.err")
  sed 's/\r$//' "$out.raw" >"$out"
  [[ $tool != *.exe ]] || ! grep -qv $'\r$' "$out.raw" || fail "$out: a line without CRLF"
  [[ -n ${runner[*]} || ! -s $out.err ]] || fail "$out: standard error: $(cat "$out.err")"
}

# A case: standard input, then the arguments as shell words.
cases=(
  "|-h" "|-fv" "|-ged" "|-gvd" "|-gpd" "|-gsd" "|-gmd" "|-gid" "|-gtd" "|-gnd"
  "|-sv 12AB" "|-sp 0C4" "|-ss SN-42" "|-sm 'New Maker'" "|-si 'New Box'" "|-st 300"
  "|-sn ACME 'FAST DISK'" "|-ub fw.bin" "|-un fw.bin"
  "|-ue -f fw.bin -v 1A2B -p 0C0D -m 'Demo Maker' -i 'Demo Disk' -s DEMO01 -n DEMO DISK -t 300"
  "6\n|" "5\nfw.bin\n12AB\n34CD\nMaker\nBridge\nSN1\nH1\nH2\n300\n|"
)
# A fresh bridge to record on, and another bridge altogether to replay on: a
# QZT7 series with other settings, running its internal code.
sim reset && cp "$work/state.json" "$work/fresh.json"
sim set series t7 && sim set vid 0001 && sim set serial OTHER && sim set mode 1
cp "$work/state.json" "$work/other.json"
for i in "${!cases[@]}"; do
  input=${cases[i]%%|*}
  eval "set -- ${cases[i]#*|}"
  s=$work/s$i
  cp "$work/fresh.json" "$work/state.json"
  run "$from" "$s.plain" "$input" "$@"
  cp "$work/fresh.json" "$work/state.json"
  BRIDGEFW_RECORD=$s.session run "$work/rec" "$s.recorded" "$input" "$@"
  cmp -s "$s.plain" "$s.recorded" || fail "${cases[i]}: the recorder changed the output"
  [[ $(grep -c '^run ' "$s.session") == 1 ]] || fail "${cases[i]}: no single run in the session"
  cp "$work/other.json" "$work/state.json"
  BRIDGESIM_REPLAY=$s.session BRIDGESIM_TRACE=$s.trace run "$from" "$s.replayed" "$input" "$@"
  cmp -s "$s.plain" "$s.replayed" || fail "${cases[i]}: the replay printed otherwise"
  ! grep -q 'replay: ' "$s.trace" || fail "${cases[i]}: $(grep 'replay: ' "$s.trace")"
done

# Sessions by case number: 3 is -gvd, 2 is -ged.
expect_trace() { grep -q "$2" "$work/$1.trace" || fail "$1: no '$2' in $(cat "$work/$1.trace")"; }
BRIDGESIM_REPLAY=$work/s3.session BRIDGESIM_TRACE=$work/stray.trace run "$from" "$work/stray" "" -gpd
[[ ! -s $work/stray ]] || fail "-gpd against a -gvd session printed $(cat "$work/stray")"
expect_trace stray 'call 3 QZ_GetPIDfromFlash(.*) strays from line 4, which expects QZ_GetVIDfromFlash'
expect_trace stray 'QZ_GetPIDfromFlash(.*) = 0$'
BRIDGESIM_REPLAY=$work/s2.session BRIDGESIM_TRACE=$work/short.trace run "$from" "$work/short" "" -gvd
cmp -s "$work/short" "$work/s3.plain" || fail "-gvd against a -ged session printed otherwise"
expect_trace short 'the run ended after 3 calls, before line 5, which expects QZ_IsQZT7Series'
# An edited session is answered as edited; one that cannot be read fails every call.
sed 's/out 0x3A5C/out 0x12AB/' "$work/s3.session" >"$work/edited.session"
BRIDGESIM_REPLAY=$work/edited.session run "$from" "$work/edited" "" -gvd
[[ $(cat "$work/edited") == "VID: 0x12AB" ]] || fail "edited session: $(cat "$work/edited")"
sed '3s/= 0$/= zero/' "$work/s3.session" >"$work/bad.session"
BRIDGESIM_REPLAY=$work/bad.session BRIDGESIM_TRACE=$work/bad.trace run "$from" "$work/bad" "" -gvd
[[ $(cat "$work/bad") == "Not connect device" ]] || fail "unreadable session: $(cat "$work/bad")"
expect_trace bad 'bad.session#1: line 3: expected = and a 32-bit result at the end; call 1 '
# The N-th run of a session; a session that cannot be written; no real library.
cp "$work/s3.session" "$work/two.session"
cat "$work/s4.session" >>"$work/two.session"
BRIDGESIM_REPLAY=$work/two.session#2 run "$from" "$work/second" "" -gpd
cmp -s "$work/second" "$work/s4.plain" || fail "the second run of a session printed otherwise"
cp "$work/fresh.json" "$work/state.json"
BRIDGEFW_RECORD=$work/missing/s.txt run "$work/rec" "$work/unwritten" "" -gvd
cmp -s "$work/unwritten" "$work/s3.plain" || fail "a session that cannot be written changed the output"
BRIDGEFW_RECORD=$work/none.session BRIDGEFW_RECORD_LIBRARY=$work/none run "$work/rec" "$work/none" "" -fv
[[ $(cat "$work/none") == "Not connect device" ]] || fail "without the real library: $(cat "$work/none")"
grep -q '^run .* library ".*none" not loaded$' "$work/none.session" || fail "no 'not loaded' run line"

if ((failures)); then echo "$failures failures; files kept in $work"; exit 1; fi
rm -rf "$work"
echo "record and replay: ${#cases[@]} cases, all round trips hold"
