#!/usr/bin/env bash
# Signs a Windows exe (Authenticode, with osslsigncode) in place and verifies
# the signature.
#   scripts/sign-windows.sh EXE CERT KEY
# CERT: the code-signing certificate, PEM, followed by its chain if any;
# KEY: its private key, PEM (passphrase in BRIDGEFW_SIGN_PASSWORD, if any).
# Optional: BRIDGEFW_SIGN_CA (the root certificate the verification trusts;
# default CERT, which suits a self-made certificate) and
# BRIDGEFW_SIGN_TIMESTAMP (URL of a time-stamping service).
# Without CERT and KEY nothing is signed: the exe stays unsigned.
set -euo pipefail
exe="${1:?usage: sign-windows.sh EXE [CERT KEY]}"
cert="${2:-}"
key="${3:-}"
if [[ -z "$cert" || -z "$key" ]]; then
  echo "sign-windows: no certificate and key given, $exe stays unsigned"
  exit 0
fi

args=(sign -certs "$cert" -key "$key" -h sha256 -n bridgefw -in "$exe" -out "$exe.signed")
[[ -n "${BRIDGEFW_SIGN_PASSWORD:-}" ]] && args+=(-pass "$BRIDGEFW_SIGN_PASSWORD")
[[ -n "${BRIDGEFW_SIGN_TIMESTAMP:-}" ]] && args+=(-ts "$BRIDGEFW_SIGN_TIMESTAMP")
trap 'rm -f "$exe.signed"' EXIT
osslsigncode "${args[@]}" >/dev/null
mv "$exe.signed" "$exe"
osslsigncode verify -CAfile "${BRIDGEFW_SIGN_CA:-$cert}" -in "$exe" >/dev/null ||
  { echo "sign-windows: $exe: the signature does not verify" >&2; exit 1; }
echo "sign-windows: $exe: signed and verified"
