#!/usr/bin/env bash
# Benchmark: what bridgefw costs beyond the library's own work.
#
#   bench/run.sh
#
# Builds the bench preset (a Release tree in build-bench/), then compares, on a
# fresh simulator state in a temporary folder:
#   - `bridgefw -gvd` and `bridgefw -ged` against bridgefw-floor (a minimal C
#     program making the same library calls): median wall time (hyperfine),
#     peak resident memory (/usr/bin/time -v) and instructions (callgrind);
#   - `bridgefw --apply bench/line.toml --all` over 16 simulated bridges
#     against `bridgefw-floor --apply`, which makes the same calls and writes
#     an equivalent record: the same three figures, and the exact resident
#     memory at the peak (gdb);
#   - programming a 32 MiB image (`bridgefw -ub`) against `cp` + `sync` of it;
#   - a station: 16 units at 2 s of programming each with --jobs 16 against
#     one unit's time and with --jobs 1 against sixteen times it; the time
#     from a plug to the unit's first library call under --watch (median of
#     16 plugs); an idle station's processor time;
#   - replaying the last run of a 100 MB session (`bridgefw -ged` recorded once
#     through the recorder, then repeated as runs of their own) against
#     replaying a session of that one run: wall time and peak memory.
# Prints a table with PASS/MISS per target. Not a test: exits 0 unless a step
# fails to run. Knobs: BENCH_RUNS (default 300 per command, split into
# BENCH_ROUNDS rounds, default 5), BENCH_LINE_RUNS (default 40, the same
# rounds), BENCH_IMAGE_RUNS (default 10), BENCH_SESSION_MB (default 100).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
bin="$build/bin"
runs="${BENCH_RUNS:-300}"
rounds="${BENCH_ROUNDS:-5}"
line_runs="${BENCH_LINE_RUNS:-40}"
image_runs="${BENCH_IMAGE_RUNS:-10}"
image_size=33554432
session_mb="${BENCH_SESSION_MB:-100}"

need_tools() {
  local missing=()
  command -v hyperfine >/dev/null || missing+=(hyperfine)
  [ -x /usr/bin/time ] || missing+=(time)
  command -v valgrind >/dev/null || missing+=(valgrind)
  command -v gdb >/dev/null || missing+=(gdb)
  command -v ninja >/dev/null || missing+=(ninja-build)
  [ ${#missing[@]} -eq 0 ] && return
  echo "installing: ${missing[*]}"
  apt-get install -y "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null && apt-get install -y "${missing[@]}" >/dev/null; }
}

need_tools
echo "building Release in $build"
(cd "$root" && cmake --preset bench >/dev/null && cmake --build --preset bench -j 2 >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
log="$work/log"
export BRIDGESIM_STATE="$work/state"
unset BRIDGESIM_TRACE BRIDGESIM_FAULT
"$bin/bridgesim" reset >/dev/null

# The floor only means something if it does the same work. Fails the run
# unless the tool's and the floor's files $work/PROG$1.KIND are the same for
# each KIND given.
same_work() {
  local what="$1" kind
  shift
  for kind in "$@"; do
    if ! diff "$work/bridgefw$what.$kind" "$work/bridgefw-floor$what.$kind" >"$work/diff"; then
      echo "bridgefw and bridgefw-floor differ ($what: $kind):" >&2
      cat "$work/diff" >&2
      exit 1
    fi
  done
}

# -gvd and -ged: the same lines printed, the same library calls in the same order.
for opt in -gvd -ged; do
  for prog in bridgefw bridgefw-floor; do
    BRIDGESIM_TRACE="$work/$prog$opt.calls" "$bin/$prog" "$opt" >"$work/$prog$opt.out"
    # The calls without the time and process id that begin each trace line.
    cut -d' ' -f3- "$work/$prog$opt.calls" >"$work/$prog$opt.trace"
  done
  same_work "$opt" out trace
done

# Median seconds of each command of one hyperfine run, one per line.
medians() { tail -n +2 "$1" | cut -d, -f4; }

median_of() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Two commands timed in alternating rounds, so that load from elsewhere on the
# machine falls on both alike; prints the median of each one's round medians.
# Optional: the runs in all (default BENCH_RUNS) and the warm-up runs a round.
paired_medians() {
  local a="$1" b="$2" all="${3:-$runs}" warmup="${4:-10}" i
  : >"$work/rounds"
  for ((i = 0; i < rounds; i++)); do
    if ((i % 2 == 0)); then
      hyperfine -N --warmup "$warmup" --runs $((all / rounds)) --export-csv "$work/round.csv" "$a" "$b" >>"$log" 2>&1
      medians "$work/round.csv" | paste -sd' ' >>"$work/rounds"
    else
      hyperfine -N --warmup "$warmup" --runs $((all / rounds)) --export-csv "$work/round.csv" "$b" "$a" >>"$log" 2>&1
      medians "$work/round.csv" | tac | paste -sd' ' >>"$work/rounds"
    fi
  done
  echo "$(cut -d' ' -f1 "$work/rounds" | median_of) $(cut -d' ' -f2 "$work/rounds" | median_of)"
}

peak_kib() {
  local values=()
  for _ in 1 2 3 4 5; do
    values+=("$(/usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}')")
  done
  printf '%s\n' "${values[@]}" | sort -n | sed -n 3p
}

# Resident KiB just before the library is released (the first dlclose), the
# run's peak: summed from the page tables (smaps_rollup), with address-space
# randomization off, so the same on every run. The peak above comes from the
# kernel's resident-page counters, which it keeps in per-CPU batches and
# samples when memory is unmapped: it reads low by a varying amount.
resident_kib() {
  gdb -q -batch -ex 'set breakpoint pending on' -ex 'break dlclose' -ex run \
    -ex 'python print("RSS", open("/proc/%d/smaps_rollup" % gdb.selected_inferior().pid).read().split("Rss:")[1].split()[0])' \
    -ex kill --args "$@" 2>/dev/null </dev/null | awk '/^RSS / {print $2}'
}

instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" "$@" >/dev/null 2>"$work/cg.err"
  awk '/^summary:/ {print $2}' "$work/cg.out"
}

rows=()
row() { rows+=("$(printf '%-30s %14s %14s %12s %9s  %s' "$@")"); }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t) ? "PASS" : "MISS" }'; }

ms() { awk -v s="$1" 'BEGIN { printf "%.3f", s * 1000 }'; }

# The tool against the floor on the same options: wall time, peak memory and
# instructions. Arguments: the rows' label, the timed runs in all and the
# warm-up runs a round, the time and memory targets, then the options.
compare() {
  local label="$1" all="$2" warmup="$3" time_target="$4" rss_target="$5" tool floor ratio
  shift 5
  echo "timing bridgefw $label against the floor ($rounds rounds of $((all / rounds)) runs each)"
  read -r tool floor < <(paired_medians "$bin/bridgefw $*" "$bin/bridgefw-floor $*" "$all" "$warmup")
  ratio=$(awk -v a="$tool" -v b="$floor" 'BEGIN { printf "%.3f", a / b }')
  row "$label wall median (ms)" "$(ms "$tool")" "$(ms "$floor")" "${ratio}x" "<=${time_target}x" \
    "$(verdict "$ratio" "$time_target")"
  diff_row "$label peak RSS (KiB)" "$rss_target" "$(peak_kib "$bin/bridgefw" "$@")" \
    "$(peak_kib "$bin/bridgefw-floor" "$@")"
  tool=$(instructions "$bin/bridgefw" "$@")
  floor=$(instructions "$bin/bridgefw-floor" "$@")
  row "$label instructions (Ir)" "$tool" "$floor" \
    "$(awk -v a="$tool" -v b="$floor" 'BEGIN { printf "%.3fx", a / b }')" "-" "(info)"
}

# A row of two KiB figures, their difference against the target in KiB.
diff_row() {
  local difference=$(($3 - $4))
  row "$1" "$3" "$4" "$(printf "%+d KiB" "$difference")" "<=${2}KiB" "$(verdict "$difference" "$2")"
}

compare -gvd "$runs" 10 1.3 1024 -gvd
compare -ged "$runs" 10 1.3 1024 -ged

# The production line over 16 bridges, both series. The floor has the
# profile built in; it prints only a line per unit and the summary, so the
# check is on the calls and on the records, which differ only in their times.
for ((i = 1; i < 16; i++)); do
  "$bin/bridgesim" add --series "$( ((i % 2)) && echo t7 || echo other)" >/dev/null
done
line="$work/line"
mkdir -p "$line"
cp "$root/bench/line.toml" "$line/line.toml"
cp "$BRIDGESIM_STATE" "$work/state.16"
for prog in bridgefw bridgefw-floor; do
  cp "$work/state.16" "$BRIDGESIM_STATE"
  rm -f "$line/line.toml.counter" "$line/bridgefw-record.jsonl"
  BRIDGESIM_TRACE="$work/$prog-apply.calls" "$bin/$prog" --apply "$line/line.toml" --all \
    >"$work/$prog-apply.out" || { echo "$prog --apply failed:" >&2; cat "$work/$prog-apply.out" >&2; exit 1; }
  cut -d' ' -f3- "$work/$prog-apply.calls" >"$work/$prog-apply.trace"
  sed -E 's/"time":"[^"]*"//; s/"seconds":[0-9.e+-]+//' "$line/bridgefw-record.jsonl" >"$work/$prog-apply.record"
done
same_work -apply trace record

apply=(--apply "$line/line.toml" --all)
compare "--apply x16" "$line_runs" 2 1.10 256 "${apply[@]}"
diff_row "--apply x16 resident (KiB)" 256 "$(resident_kib "$bin/bridgefw" "${apply[@]}")" \
  "$(resident_kib "$bin/bridgefw-floor" "${apply[@]}")"
# The image comparison below runs on the first bridge alone.
"$bin/bridgesim" reset >/dev/null

echo "programming a 32 MiB image against cp + sync ($image_runs runs each)"
image="$work/image.bin"
"$bin/bridgesim-image" --out "$image" --series other --version 01.02.03.05 \
  --payload-size "$image_size" >/dev/null
result="$("$bin/bridgefw" -ub "$image")"
if [ "$result" != "Update result: 1." ]; then
  echo "bridgefw -ub did not program the image: $result" >&2
  exit 1
fi
# Each run starts with nothing dirty, so sync flushes only the copy.
hyperfine --warmup 2 --runs "$image_runs" --export-csv "$work/ub.csv" \
  --prepare sync --prepare "rm -f $work/copy.bin; sync" \
  "$bin/bridgefw -ub $image" "cp $image $work/copy.bin && sync" >>"$log" 2>&1
read -r tool copy < <(medians "$work/ub.csv" | paste -sd' ')
ratio=$(awk -v a="$tool" -v b="$copy" 'BEGIN { printf "%.3f", a / b }')
row "-ub 32 MiB / cp+sync (ms)" "$(awk -v s="$tool" 'BEGIN { printf "%.1f", s * 1000 }')" \
  "$(awk -v s="$copy" 'BEGIN { printf "%.1f", s * 1000 }')" "${ratio}x" "<=2x" \
  "$(verdict "$ratio" 2)"
row "-ub 32 MiB peak RSS (KiB)" "$(peak_kib "$bin/bridgefw" -ub "$image")" "-" "-" "-" "(info)"

echo "replaying the last run of a $session_mb MB session against a session of one run"
mkdir "$work/rec"
cp "$bin/bridgefw" "$bin/recorder/libQZFWUpdateDll.so" "$work/rec/"
cp "$bin/libQZFWUpdateDll.so" "$work/rec/libQZFWUpdateDll.real.so"
BRIDGEFW_RECORD="$work/one.session" "$work/rec/bridgefw" -ged >"$work/ged.out"
# The one run again and again, each copy a run of its own id, up to the size.
awk -v bytes=$((session_mb * 1000000)) '{ line[NR] = $0; size += length($0) + 1 }
  END { for (k = 1; k * size < bytes + size; k++) for (i = 1; i <= NR; i++) {
          l = line[i]; sub(/ [0-9]+-[0-9]+ /, " " k "-1 ", l); print l } }' \
  "$work/one.session" >"$work/big.session"
last=$(grep -c '^[^ ]* [^ ]* run ' "$work/big.session")
for session in "big.session#$last" one.session; do
  BRIDGESIM_REPLAY="$work/$session" "$bin/bridgefw" -ged | cmp -s - "$work/ged.out" ||
    { echo "replaying $session printed otherwise" >&2; exit 1; }
done
hyperfine -N --warmup 1 --runs 5 --export-csv "$work/replay.csv" \
  "env BRIDGESIM_REPLAY=$work/big.session#$last $bin/bridgefw -ged" \
  "env BRIDGESIM_REPLAY=$work/one.session $bin/bridgefw -ged" >>"$log" 2>&1
read -r big one < <(medians "$work/replay.csv" | paste -sd' ')
row "replay last of $session_mb MB (ms)" "$(awk -v s="$big" 'BEGIN { printf "%.1f", s * 1000 }')" \
  "$(awk -v s="$one" 'BEGIN { printf "%.1f", s * 1000 }')" \
  "$(awk -v a="$big" -v b="$one" 'BEGIN { printf "%.1fx", a / b }')" "-" "(info)"
big_rss=$(peak_kib env BRIDGESIM_REPLAY="$work/big.session#$last" "$bin/bridgefw" -ged)
one_rss=$(peak_kib env BRIDGESIM_REPLAY="$work/one.session" "$bin/bridgefw" -ged)
row "replay $session_mb MB peak RSS (KiB)" "$big_rss" "$one_rss" \
  "$(printf "%+d KiB" $((big_rss - one_rss)))" "<=1024KiB" "$(verdict $((big_rss - one_rss)) 1024)"

echo "a station: 16 units programmed for 2 s each, side by side and one after another"
"$bin/bridgesim" remove-all
for ((i = 0; i < 16; i++)); do "$bin/bridgesim" plug >/dev/null; done
station="$work/station"
mkdir -p "$station"
"$bin/bridgesim-image" --out "$station/fw.bin" --series other --version 02.00.00.01 >/dev/null
printf 'image = "fw.bin"\n' >"$station/image.toml"
# 64 KiB of payload at 31 ms a KiB: about 2 s a unit.
export BRIDGESIM_PROGRAM_MS_PER_KIB=31
seconds_of() { local start; start=$(date +%s.%N); "$@" >/dev/null; awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }
one=$(seconds_of "$bin/bridgefw" --apply "$station/image.toml" --device sim0)
jobs16=$(seconds_of "$bin/bridgefw" --apply "$station/image.toml" --all --jobs 16)
jobs1=$(seconds_of "$bin/bridgefw" --apply "$station/image.toml" --all --jobs 1)
unset BRIDGESIM_PROGRAM_MS_PER_KIB
ratio=$(awk -v a="$jobs16" -v b="$one" 'BEGIN { printf "%.3f", a / b }')
row "--jobs 16 x16 / one unit (s)" "$jobs16" "$one" "${ratio}x" "<=1.25x" "$(verdict "$ratio" 1.25)"
ratio=$(awk -v a="$jobs1" -v b="$one" 'BEGIN { printf "%.3f", a / (16 * b) }')
row "--jobs 1 x16 / 16 units (s)" "$jobs1" "$(awk -v b="$one" 'BEGIN { print 16 * b }')" \
  "${ratio}x" "<=1.05x" "$(verdict "$ratio" 1.05)"
# From a plug to the unit's first library call (the trace's time), over 16 plugs.
"$bin/bridgesim" remove-all
printf 'vid = "1A2B"\n' >"$station/vid.toml"
BRIDGESIM_TRACE="$station/trace" "$bin/bridgefw" --apply "$station/vid.toml" --watch --units 16 \
  >/dev/null &
watcher=$!
sleep 1
for ((i = 0; i < 16; i++)); do
  echo "$("$bin/bridgesim" plug) $(date -u +%s.%N)" >>"$station/plugs"
  sleep 0.37
done
wait "$watcher"
latency=$(awk 'NR == FNR { plugged[$1] = $2; next }
  match($0, /\("sim[0-9]+"/) { path = substr($0, RSTART + 2, RLENGTH - 3)
    if (!(path in first)) { split($1, t, /[-T:Z]/); first[path] = t[4] * 3600 + t[5] * 60 + t[6] } }
  END { for (p in first) { day = plugged[p] % 86400; print (first[p] - day) * 1000 } }' \
  "$station/plugs" "$station/trace" | median_of)
row "--watch plug to call (ms)" "$(printf '%.0f' "$latency")" "250" "-" "<=350" \
  "$(verdict "$latency" 350)"
# An idle station: no unit for 10 s.
"$bin/bridgesim" remove-all
# Ended by SIGINT, as an operator would, so its status is not 0.
idle=$({ /usr/bin/time -f '%U %S' timeout -s INT 10 "$bin/bridgefw" --apply "$station/vid.toml" \
  --watch 2>&1 >/dev/null || true; } | tail -1 | awk '{ printf "%.2f", ($1 + $2) * 10 }')
row "--watch idle (% of a core)" "$idle" "-" "-" "<1" "$(verdict "$idle" 1)"
"$bin/bridgesim" reset >/dev/null

echo
printf '%-30s %14s %14s %12s %9s  %s\n' figure bridgefw baseline ratio/diff target result
printf '%s\n' "${rows[@]}"
echo
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "hyperfine output:"
sed 's/^/  /' "$log"
