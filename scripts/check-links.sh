#!/usr/bin/env bash
# Link directions: each link between two targets of the CMake build must go
# along the layer table (scripts/layers.txt), as includes do: the linked
# target's folder must be one of the folder entries of the linking target's
# row. The graph is CMake's own, written when it configured the tree
# (cmake/link_graph.cmake: BUILD/link-graph.txt):
#   scripts/check-links.sh [BUILD]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/layers.sh
graph="${1:-build}/link-graph.txt"
[ -s "$graph" ] || { echo "$graph: no link graph, configure the tree first" >&2; exit 1; }

status=0
while read -r folder target linked_folder linked; do
  if [ "$folder" = "?" ]; then
    echo "$target links $linked_folder: not a plain target name, so unchecked" >&2
    status=1
    continue
  fi
  # The compile settings every target links hold no code.
  [ "$linked_folder" = cmake/ ] && continue
  if ! row=$(layer_row "$folder"); then
    echo "$target ($folder): no link rule for its folder" >&2
    status=1
    continue
  fi
  read -r -a allowed <<<"$row"
  ok=no
  for entry in "${allowed[@]}"; do
    [[ "$entry" == "*" || ("$entry" == */ && "$linked_folder" == "$entry"*) ]] && ok=yes
  done
  if [ "$ok" = no ]; then
    echo "$target ($folder) links $linked ($linked_folder): not allowed (may use: $row)" >&2
    status=1
  fi
done <"$graph"
exit "$status"
