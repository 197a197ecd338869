#!/usr/bin/env bash
# Include directions: the one place that says which folder may include which.
# Each project include ("dir/file.h") of a source must start with one of the
# prefixes of the first row whose pattern matches the source's path.
# app/ holds two layers: the program entry, which starts a front end, and the
# console and device-list routines, which the front ends and operations use.
set -euo pipefail
cd "$(dirname "$0")/.."

rules=(
  # source pattern          may include
  "app/main.cpp             app/program"
  "app/program.*            app/ ui/ sdk/ line/"
  "app/close_prompt.*       app/close_prompt app/console platform/"
  "app/*                    app/console app/device_list"
  "ui/*                     ui/ ops/ sdk/ app/console app/device_list"
  "line/*                   line/ ui/ ops/ sdk/ platform/ app/console app/device_list"
  "ops/*                    ops/ sdk/ app/console app/device_list"
  "sdk/*                    sdk/ platform/"
  "platform/*               platform/"
  "sim/*                    sim/ sdk/"
  "recorder/*               recorder/ sim/ sdk/ platform/"
  "bench/*                  sdk/"
)

status=0
while IFS= read -r source; do
  allowed=""
  for rule in "${rules[@]}"; do
    read -r pattern prefixes <<<"$rule"
    # shellcheck disable=SC2053  # the pattern is a glob on purpose
    if [[ "$source" == $pattern ]]; then allowed="$prefixes"; break; fi
  done
  [ -n "$allowed" ] || continue
  while IFS= read -r included; do
    ok=no
    for prefix in $allowed; do [[ "$included" == "$prefix"* ]] && ok=yes; done
    if [ "$ok" = no ]; then
      echo "$source includes $included: not allowed (may include: $allowed)" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$source")
done < <(git ls-files '*.c' '*.cpp' '*.h')
exit "$status"
