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
# quoted WORD...: the words as texts of the call notation, a blank between them.
quoted() {
  local word text=
  for word; do
    word=${word//\\/\\\\}
    text+=" \"${word//\"/\\\"}\""
  done
  echo "${text# }"
}
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
  [[ $(grep -c '^[^ ]* [^ ]* run ' "$s.session") == 1 ]] || fail "${cases[i]}: no single run in the session"
  # Natively the run line tells the command line argument by argument.
  [[ -n ${runner[*]} ]] || grep -qF " run command $(quoted "$work/rec/bridgefw" "$@") library \"" "$s.session" ||
    fail "${cases[i]}: the run line tells another command line: $(head -n 1 "$s.session")"
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
sed 's/out=0x3A5C/out=0x12AB/' "$work/s3.session" >"$work/edited.session"
BRIDGESIM_REPLAY=$work/edited.session run "$from" "$work/edited" "" -gvd
[[ $(cat "$work/edited") == "VID: 0x12AB" ]] || fail "edited session: $(cat "$work/edited")"
# Sessions written before the one call notation read `out VALUE` and `out [...]`.
sed -E 's/(out|list)=/out /g' "$work/s3.session" >"$work/old.session"
BRIDGESIM_REPLAY=$work/old.session run "$from" "$work/old" "" -gvd
cmp -s "$work/old" "$work/s3.plain" || fail "a session in the old form replayed otherwise"
sed '3s/= 0$/= zero/' "$work/s3.session" >"$work/bad.session"
BRIDGESIM_REPLAY=$work/bad.session BRIDGESIM_TRACE=$work/bad.trace run "$from" "$work/bad" "" -gvd
[[ $(cat "$work/bad") == "Not connect device" ]] || fail "unreadable session: $(cat "$work/bad")"
expect_trace bad 'bad.session#1: line 3: expected = and a 32-bit result at the end; call 1 '
# The N-th run of a session; a session that cannot be written; no real library.
cp "$work/s3.session" "$work/two.session"
cat "$work/s4.session" >>"$work/two.session"
BRIDGESIM_REPLAY=$work/two.session#2 run "$from" "$work/second" "" -gpd
cmp -s "$work/second" "$work/s4.plain" || fail "the second run of a session printed otherwise"
cat "$work/s3.session" "$work/s3.session" >"$work/doubled.session"
BRIDGESIM_REPLAY=$work/doubled.session BRIDGESIM_TRACE=$work/doubled.trace run "$from" "$work/doubled" "" -gvd
! grep 'replay: ' "$work/doubled.trace" || fail "a session appended to itself strayed"
cp "$work/fresh.json" "$work/state.json"
BRIDGEFW_RECORD=$work/missing/s.txt run "$work/rec" "$work/unwritten" "" -gvd
cmp -s "$work/unwritten" "$work/s3.plain" || fail "a session that cannot be written changed the output"
BRIDGEFW_RECORD=$work/none.session BRIDGEFW_RECORD_LIBRARY=$work/none run "$work/rec" "$work/none" "" -fv
[[ $(cat "$work/none") == "Not connect device" ]] || fail "without the real library: $(cat "$work/none")"
grep -q ' run command .* library ".*none" not loaded$' "$work/none.session" || fail "no 'not loaded' run line"
# A command line is told as far as its first 4096 bytes, and `...` says there was more.
if [[ -z ${runner[*]} ]]; then
  long=\\\"$(printf "%05000d" 0)
  BRIDGEFW_RECORD=$work/long.session run "$work/rec" "$work/long" "" -sm "$long"
  told=$(printf '%s\0-sm\0%s' "$work/rec/bridgefw" "$long" | head -c 4096 | tr '\0' '\n')
  mapfile -t told <<<"$told"
  grep -qF " run command $(quoted "${told[@]}") ... library " "$work/long.session" ||
    fail "a long command line: $(head -c 300 "$work/long.session")"
fi

# Run numbers: there is no run 0, and a long number is a number, not part of the name.
for n in 0 1234567 000000000000000000000000000000; do
  BRIDGESIM_REPLAY=$work/two.session#$n BRIDGESIM_TRACE=$work/n$n.trace run "$from" "$work/n$n" "" -gvd
  expect_trace "n$n" "two.session#$n: there is no run $n (the file holds 2); call 1 "
done
# A blank knob is no knob: the bridge answers.
for blank in '' ' '; do
  BRIDGESIM_REPLAY=$blank run "$from" "$work/blank" "" -gvd
  cmp -s "$work/blank" "$work/s3.plain" || fail "BRIDGESIM_REPLAY='$blank': $(cat "$work/blank")"
done
# A recorder never takes a recorder for the real library: neither itself nor a
# copy of it (the renaming done twice). The tool then sees no device.
mkdir "$work/twice"
cp "$tool" "$from/recorder/$lib" "$work/twice/"
cp "$from/recorder/$lib" "$work/twice/$real"
own=$work/rec/$lib
[[ -z ${runner[*]} ]] || own="Z:${own//\//\\}"
BRIDGEFW_RECORD=$work/loop.session run "$work/twice" "$work/copy" "" -fv
BRIDGEFW_RECORD=$work/loop.session BRIDGEFW_RECORD_LIBRARY=$own run "$work/rec" "$work/self" "" -fv
for out in copy self; do
  [[ $(cat "$work/$out") == "Not connect device" ]] || fail "a recorder as its own library: $out"
done
[[ $(grep -c ' run command .* library ".*" is a recorder$' "$work/loop.session") == 2 ]] ||
  fail "recorder loops: $(cat "$work/loop.session")"
# Four recorders at once, ten -ged runs each, into one session: each of the 40
# runs replays, however their lines mix (a slow listing makes them overlap).
for r in 1 2 3 4; do
  for i in {1..10}; do
    BRIDGEFW_RECORD=$work/day.session BRIDGESIM_DELAY=QZ_GetDeviceList=20 \
      run "$work/rec" "$work/day$r.$i" "" -ged
  done &
done
wait
for n in {1..40}; do
  BRIDGESIM_REPLAY=$work/day.session#$n BRIDGESIM_TRACE=$work/day.trace run "$from" "$work/day" "" -ged
  cmp -s "$work/day" "$work/s2.plain" || fail "run $n of four recorders at once replayed otherwise"
done
for out in "$work"/day[1-4].{1..10}; do
  cmp -s "$out" "$work/s2.plain" || fail "$out: a recorder among four printed otherwise"
done
! grep 'replay: ' "$work/day.trace" || fail "runs of four recorders at once strayed"
# A day on a line: a session of 10 MB, read without holding it; its last run
# replays, and so does a trace of that size.
awk '{ line[NR] = $0 } END { for (k = 1; k <= 15000; k++) for (i = 1; i <= NR; i++) {
       l = line[i]; sub(/ [0-9]+-[0-9]+ /, " " k "-1 ", l); print l } }' "$work/s2.session" >"$work/big"
((${#cases[@]} && $(wc -c <"$work/big") > 10000000)) || fail "the big session is too small"
BRIDGESIM_REPLAY=$work/big#15000 BRIDGESIM_TRACE=$work/big.trace run "$from" "$work/last" "" -ged
cmp -s "$work/last" "$work/s2.plain" || fail "the last run of 10 MB replayed otherwise"
BRIDGESIM_TRACE=$work/big "$bin/bridgesim" trace | cmp -s - "$work/big" || fail "bridgesim trace of 10 MB"

if ((failures)); then echo "$failures failures; files kept in $work"; exit 1; fi
rm -rf "$work"
echo "record and replay: ${#cases[@]} cases, all round trips hold"
