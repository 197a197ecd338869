#!/usr/bin/env bash
# Writes app/hot_text.txt: the code an --apply run of the line executes, to be
# linked in one block at the start of bridgefw's code (cmake/hot_text.cmake).
#
#   bench/hot-text.sh
#
# Why: every page of the binary a run touches is resident, and the kernel maps
# the 64 KiB around each fault with it. Laid out as compiled, the few functions
# a line run needs sit among the station's, the shift report's, the menu's and
# the parsers' it never calls, and a run holds the whole of the code. Kept
# together, a run touches the block and the windows at the code's two ends.
#
# How: builds the bench preset with a link map, runs `bridgefw --apply
# bench/line.toml --all` over 16 simulated bridges (as bench/run.sh does) under
# callgrind, and names each input section of the map that holds an executed
# instruction. Run it again when the line's code has changed much: a function
# the list misses still links, only away from the block.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
bin="$build/bin"
out="$root/app/hot_text.txt"

command -v valgrind >/dev/null || { echo "needs valgrind: bash scripts/setup.sh --all" >&2; exit 1; }
(cd "$root" && cmake --preset bench -DBRIDGEFW_LINK_MAP=ON >/dev/null &&
  cmake --build --preset bench -j 2 >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export BRIDGESIM_STATE="$work/state"
unset BRIDGESIM_TRACE BRIDGESIM_FAULT
"$bin/bridgesim" reset >/dev/null
for ((i = 1; i < 16; i++)); do
  "$bin/bridgesim" add --series "$( ((i % 2)) && echo t7 || echo other)" >/dev/null
done
cp "$root/bench/line.toml" "$work/line.toml"
# Three runs in one folder: the first makes the counter, the record and its
# index; the second finds the index gone and makes it anew from the record,
# reading its lines as it catches up with lines other programs appended (the
# benchmark's floor, another station on the same record); the third finds all.
for run in 1 2 3; do
  [ "$run" = 2 ] && rm "$work/bridgefw-record.jsonl.serials"
  (cd "$work" && valgrind --tool=callgrind --dump-instr=yes --dump-line=no \
    --callgrind-out-file="$work/calls.$run" "$bin/bridgefw" --apply line.toml --all >/dev/null 2>"$work/log") ||
    { cat "$work/log" >&2; exit 1; }
done

# The map's input sections of the code, "START END PATTERN", one a line: a
# function's own section by its name, the code of a file compiled without
# one section a function (nettle, the C runtime) by its file.
awk '
  /^Linker script and memory map/ { mapped = 1 }
  !mapped { next }
  /^\.text/ { code = 1; next }
  /^\.[a-z]/ { code = 0 }
  !code { next }
  /^ \.text[^ ]*$/ { name = $1; next }
  /^ \.text/ { name = $1; $1 = ""; $0 = substr($0, 2) }
  name != "" && $1 ~ /^0x/ && $2 ~ /^0x/ {
    start = $1 + 0; size = $2 + 0; file = $3
    if (size > 0) {
      if (name ~ /^\.text\.(startup|hot|unlikely|exit)$/ || name == ".text") {
        sub(/.*\//, "", file); sub(/\(/, ":", file); sub(/\)$/, "", file)
        pattern = "*" file "(" name ")"
      } else {
        pattern = "*(" name ")"
      }
      print start, start + size, pattern
    }
    name = ""
  }' "$bin/bridgefw.map" >"$work/sections"

# The executed instructions' addresses in bridgefw, each with the run that
# executed it (callgrind names each object once, then refers to it by number;
# positions are absolute or relative).
awk -v program="$bin/bridgefw" '
  FNR == 1 { split("", objects); inside = 0; run++ }  # each file numbers its objects anew
  /^c?ob=/ {
    id = $0; sub(/^c?ob=/, "", id); sub(/ .*/, "", id)
    if (index($0, " ")) { path = substr($0, index($0, " ") + 1); objects[id] = path }
    if ($0 ~ /^ob=/) inside = (objects[id] == program)
    next
  }
  /^(0x|\+|-)/ {
    if ($1 ~ /^0x/) at = $1 + 0; else at += $1
    if (inside) print at, run
  }' "$work"/calls.* | sort -u -n -k1,1 -k2,2 >"$work/executed"

# Sections and addresses merged in address order: a section holding any
# executed address is hot. The sections every run executed come first, those
# of the index made anew last, so that the common run's code is one
# stretch; within that, in address order.
{
  awk '{ print $1, "S", $2, $3 }' "$work/sections"
  awk '{ print $1, "E", $2 }' "$work/executed"
} | sort -n -k1,1 -k2,2r | awk '
  $2 == "S" { end = $3; pattern = $4; next }
  $1 < end && !((pattern, $3) in seen) {
    seen[pattern, $3] = 1
    if (!(pattern in runs)) order[++count] = pattern
    runs[pattern]++
  }
  END { for (i = 1; i <= count; i++) print runs[order[i]], i, order[i] }' |
  sort -k1,1nr -k2,2n | cut -d" " -f3 >"$work/hot"

[ -s "$work/hot" ] || { echo "no executed code found in $bin/bridgefw" >&2; exit 1; }
{
  echo "# The code an --apply run executes, linked first in bridgefw's .text"
  echo "# (optimized Linux builds, cmake/hot_text.cmake): input sections as the"
  echo "# linker names them. Written by bench/hot-text.sh; a function it misses"
  echo "# still links, only away from the block."
  cat "$work/hot"
} >"$out"
echo "$out: $(wc -l <"$work/hot") sections"
