#!/usr/bin/env bash
# Builds the four libFuzzer targets (the tool's command line and menu, the
# simulated bridge's image and state parsers) with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/, the fuzz preset, and runs each for
# a bounded time from its seed corpus; exits nonzero on any finding.
#   FUZZ_SECONDS=60 scripts/fuzz.sh [target ...]   (default: all four)
# Findings are kept as build-fuzz/findings/<target>/crash-* (or leak-, timeout-,
# oom-); rerun one with: BRIDGEFW_FUZZ_SHOW=1 build-fuzz/bin/<target> FILE (prints
# what the tool printed and the library calls it made)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
seconds="${FUZZ_SECONDS:-60}"
dir="$root/build-fuzz"
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(command_line_fuzzer menu_fuzzer image_parser_fuzzer state_parser_fuzzer)

if ! dpkg -s clang libclang-rt-14-dev >/dev/null 2>&1; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${BRIDGEFW_JOBS:-2}" --target "${targets[@]}"

# Scratch space outside the repository: the corpus grows there, and the
# targets run in a directory of their own under it.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
status=0
for target in "${targets[@]}"; do
  seeds="$root/tests/fuzz/corpus/${target%_fuzzer}"
  corpus="$scratch/corpus-$target"
  findings="$dir/findings/$target"
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  cp "$seeds"/* "$corpus"/
  # The state parser takes what a state file may hold, 1 MiB, from the start
  # (not grown slowly from its seeds' sizes), so deep nesting and repeated keys
  # are within its reach; the others keep libFuzzer's defaults.
  limits=()
  [ "$target" != state_parser_fuzzer ] || limits=(-max_len=1048576 -len_control=0)
  echo "== $target: ${seconds}s"
  if ! TMPDIR="$scratch" "$dir/bin/$target" "${limits[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" >"$dir/$target.log" 2>&1; then
    status=1
    echo "$target stopped with a finding ($dir/$target.log):"
    # From the sanitizer's or libFuzzer's report on.
    sed -n '/ERROR:\|runtime error\|deadly signal\|ALARM\|out-of-memory/,$p' "$dir/$target.log" |
      head -n 80
  fi
  # The last status line and the final statistics; the whole log stays beside.
  grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$dir/$target.log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
    "$dir/$target.log" || true
  if ls "$findings"/* >/dev/null 2>&1; then
    status=1
    echo "findings of $target, in $findings:"
    ls "$findings"
  fi
done
exit "$status"
