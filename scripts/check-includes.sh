#!/usr/bin/env bash
# Include directions: the one place that says which folder may include which.
# Each project include ("dir/file.h") of a source must start with one of the
# prefixes of the first row whose pattern matches the source's path.
# The tool's layers, top to bottom: app/ (program entry), line/ and ui/ (front
# ends; the line runs the command line and the menu on a chosen device),
# ops/ (operations), then sdk/ (library contract) and runtime/ (console and
# device list) side by side, then platform/. A layer includes only itself and
# layers below it; runtime/ takes nothing from sdk/ but the contract's sizes.
set -euo pipefail
cd "$(dirname "$0")/.."

rules=(
  # source pattern          may include
  "app/main.cpp             app/program platform/arguments.h"
  "app/*                    app/ line/ ui/ ops/ sdk/ runtime/ platform/"
  "ui/*                     ui/ ops/ sdk/ runtime/"
  "line/*                   line/ ui/ ops/ sdk/ runtime/ platform/"
  "ops/*                    ops/ sdk/ runtime/"
  "sdk/*                    sdk/ platform/"
  "runtime/*                runtime/ sdk/api_sizes.h"
  "platform/*               platform/"
  "callrecord/*             callrecord/ sdk/"
  "sim/bridge/*             sim/bridge/ sdk/ platform/"
  "sim/library/*            sim/library/ sim/bridge/ callrecord/ sdk/ platform/"
  "sim/commands/*           sim/commands/ sim/library/ sim/bridge/ platform/"
  "recorder/*               recorder/ callrecord/ sdk/ platform/"
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
  if [ -z "$allowed" ]; then
    # Tests may include anything; every other folder must have its row.
    [[ "$source" == tests/* ]] && continue
    echo "$source: no include rule for its folder" >&2
    status=1
    continue
  fi
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
