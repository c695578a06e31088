#!/usr/bin/env bash
# Signs a program of ours in place with Authenticode (SHA-256), right after
# its link:
#   sign-program.sh PROGRAM DESCRIPTION CERT KEY PASS_FILE SIGNING_TIME [TIMESTAMP_URL]
# CERT: PEM, the signing certificate followed by the rest of its chain.
# KEY: its PEM private key. PASS_FILE: the file that holds its password
# when it is encrypted, or empty; osslsigncode reads it itself, so the
# password shows in no command line and no environment.
# SIGNING_TIME: the signing time to record, in seconds since 1970; 0 for the
# time of signing. TIMESTAMP_URL: a time-stamping server (RFC 3161).
# When signing fails the program is removed, so that the next build links
# it anew instead of taking the unsigned file for a finished one.
set -u
program="$1" description="$2" cert="$3" key="$4" pass_file="$5" signing_time="$6" url="${7:-}"
signed="$program.signing"
options=(-certs "$cert" -key "$key" -h sha256 -n "$description")
[ -n "$pass_file" ] && options+=(-readpass "$pass_file")
[ "$signing_time" != 0 ] && options+=(-time "$signing_time")
[ -n "$url" ] && options+=(-ts "$url")
osslsigncode sign "${options[@]}" -in "$program" -out "$signed" </dev/null >/dev/null
status=$?
if [ $status -ne 0 ] || ! mv -f "$signed" "$program"; then
  echo "sign-program: could not sign $program (certificate $cert, key $key)" >&2
  rm -f "$signed" "$program"
  exit 1
fi
