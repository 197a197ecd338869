#!/usr/bin/env bash
# The library is loaded from beside the executable (or the system's folders)
# only: a copy in the current directory, in a folder on the Windows PATH, or
# reached through an empty or relative LD_LIBRARY_PATH entry is refused.
# Environment as for the end-to-end suite: BRIDGEFW_E2E_TOOL, _RUNNER, _BIN;
# the library under test lies beside BRIDGEFW_E2E_TOOL.
set -euo pipefail
tool="$BRIDGEFW_E2E_TOOL"
read -ra runner <<<"${BRIDGEFW_E2E_RUNNER:-}"
lib="$(dirname "$tool")/libQZFWUpdateDll.so"
[[ "$tool" == *.exe ]] && lib="$(dirname "$tool")/QZFWUpdateDll.dll"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/exe" "$work/cwd/lib" "$work/on-path"
exe="$work/exe/$(basename "$tool")"
cp "$tool" "$exe"
unset BRIDGESIM_FAULT LD_LIBRARY_PATH
export BRIDGESIM_STATE="$work/state.json" BRIDGESIM_TRACE="$work/trace.txt" WINEDEBUG=-all
"$BRIDGEFW_E2E_BIN/bridgesim" reset

failed=0
# check CASE WANTED [VAR=VALUE...]: runs `bridgefw -fv` in cwd/ with the
# variables set; WANTED is the whole output, "*" standing for any text.
check() {
  local name="$1" want="$2"
  shift 2
  local got
  # Standard error aside: wine's helper processes would hold the caller's open.
  got=$(cd "$work/cwd" && env "$@" "${runner[@]}" "$exe" -fv </dev/null 2>/dev/null && echo .)
  # shellcheck disable=SC2053
  if [[ "${got%.}" == $want ]]; then echo "ok: $name"; else
    echo "FAILED: $name: got '${got%.}'"
    failed=1
  fi
}
# A Windows console program ends its lines with CRLF.
eol=$'\n'
[[ "$tool" == *.exe ]] && eol=$'\r\n'
refused="Initalize the API entries fail!$eol"
if [[ "$tool" == *.exe ]]; then
  cp "$lib" "$work/cwd/"
  check "library in the current directory" "$refused"
  mv "$work/cwd/$(basename "$lib")" "$work/on-path/"
  check "library in a folder on PATH" "$refused" "WINEPATH=Z:${work//\//\\}\\on-path"
else
  cp "$lib" "$work/cwd/"
  cp "$lib" "$work/cwd/lib/"
  for path in /opt/x: : . lib; do
    check "LD_LIBRARY_PATH=$path" "$refused" "LD_LIBRARY_PATH=$path"
  done
fi
cp "$lib" "$work/exe/"
check "library beside the executable" "FW version: *$eol"
exit "$failed"
