#!/usr/bin/env bash
# Include directions: each project include ("dir/file.h") of a source must
# begin with one of the entries of its row in the layer table
# (scripts/layers.txt), where the layers are stated. Tests may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/layers.sh

status=0
while IFS= read -r source; do
  if ! row=$(layer_row "$source"); then
    echo "$source: no include rule for its folder" >&2
    status=1
    continue
  fi
  read -r -a allowed <<<"$row"
  while IFS= read -r included; do
    ok=no
    for prefix in "${allowed[@]}"; do
      [[ "$prefix" == "*" || "$included" == "$prefix"* ]] && ok=yes
    done
    if [ "$ok" = no ]; then
      echo "$source includes $included: not allowed (may include: $row)" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$source")
done < <(git ls-files '*.c' '*.cpp' '*.h')
exit "$status"
