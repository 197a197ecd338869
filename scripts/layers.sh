# shellcheck shell=bash
# The layer table (scripts/layers.txt) for the include and the link check,
# which source this file from the top folder:
#   layer_row PATH   prints the entries of the first row matching PATH (a
#                    source file, or a folder ending in /); fails when none does.
layer_rows=()
while read -r from entries; do
  [[ -z "$from" || "$from" == \#* ]] && continue
  if [ -z "$entries" ]; then
    echo "scripts/layers.txt: the row $from names nothing it may use" >&2
    exit 1
  fi
  layer_rows+=("$from $entries")
done <scripts/layers.txt

layer_row() {
  local row from entries
  for row in "${layer_rows[@]}"; do
    read -r from entries <<<"$row"
    if [[ "$from" == */ && "$1" == "$from"* ]] || [[ "$1" == "$from" ]]; then
      echo "$entries"
      return 0
    fi
  done
  return 1
}
