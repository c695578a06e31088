#!/usr/bin/env bash
# Compresses every input with the native szdd, expands it with one decoder
# and compares the result with the input, byte for byte.
#   roundtrip.sh DECODER NATIVE_BIN WORK SOURCE [WIN_BUILD LZ32_EXPAND_EXE]
# DECODER: szdd (ours; it also expands mscompress's output of each input),
#          msexpand (Debian's mscompress package) or lz32 (the system's LZ
#          expansion library under Wine, through lz32_expand.exe).
# SOURCE:  "corpus" (written by szdd_corpus) or the payload folder; one that
#          holds none of the seven payload files skips the test (exit 77).
set -euo pipefail
decoder=$1 bin=$2 work=$3 source=$4
win_build=${5:-} lz32_exe=${6:-}

rm -rf "$work"
mkdir -p "$work/in" "$work/z" "$work/out"
if [ "$source" = corpus ]; then
  "$bin/szdd_corpus" "$work/in"
else
  # The product's seven files, as the payload build leaves them.
  payload=(norvu.exe norvu.cfg nvuhelp.hlp ferrox.dll nvustart.kbm notice.wri unsetup.exe)
  missing=()
  for name in "${payload[@]}"; do
    if [ -f "$source/$name" ]; then cp "$source/$name" "$work/in/"; else missing+=("$name"); fi
  done
  if [ ${#missing[@]} -eq ${#payload[@]} ]; then
    echo "not run: no payload files in $source (the payload is not built yet)"
    exit 77
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: payload files missing from $source: ${missing[*]}"
    exit 1
  fi
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

names=()
for f in "$work"/in/*; do
  name=$(basename "$f")
  names+=("$name")
  z="$work/z/${name%?}_"
  "$bin/szdd" compress "$f" "$z" || { fail "$name: szdd compress failed"; continue; }
  # Header: mode 'A' and the last character of the input's name.
  header=$(od -An -c -j8 -N2 "$z" | tr -d ' ')
  [ "$header" = "A${name: -1}" ] || fail "$name: header mode/character is '$header'"
done

case "$decoder" in
  szdd)
    for name in "${names[@]}"; do
      "$bin/szdd" expand "$work/z/${name%?}_" "$work/out/$name" || fail "$name: szdd expand failed"
      # An independent encoder's output, whose references may overlap the
      # cells they write, must expand through our decoder as through msexpand.
      # msexpand decodes to the end of the data, past the header's size,
      # so only its first header-size bytes count. (Not compared with the
      # input: mscompress garbles files of 0 to 2 bytes.)
      mkdir -p "$work/ms"
      cp "$work/in/$name" "$work/ms/$name"
      (cd "$work/ms" && mscompress "$name" >/dev/null)
      msexpand <"$work/ms/${name}_" >"$work/ms/$name.msexpand" 2>/dev/null || fail "$name: msexpand of mscompress output failed"
      "$bin/szdd" expand "$work/ms/${name}_" "$work/ms/$name.szdd" || fail "$name: szdd expand of mscompress output failed"
      size=$(od -An -tu4 -j10 -N4 "$work/ms/${name}_" | tr -d ' ')
      head -c "$size" "$work/ms/$name.msexpand" | cmp -s - "$work/ms/$name.szdd" || fail "$name: szdd and msexpand differ on mscompress output"
    done
    ;;
  msexpand)
    for name in "${names[@]}"; do
      msexpand <"$work/z/${name%?}_" >"$work/out/$name" 2>"$work/msexpand.log" || fail "$name: msexpand failed"
    done
    ;;
  lz32)
    # One Wine start for all files; short relative paths suit the 128-byte
    # path field of the open-file record.
    args=()
    for name in "${names[@]}"; do args+=("z\\${name%?}_" "out\\$name"); done
    script_dir=$(cd "$(dirname "$0")/../../scripts" && pwd)
    status=0
    (cd "$work" && timeout 240 "$script_dir/wine-run.sh" "$win_build" "$lz32_exe" "${args[@]}" \
       >"$work/lz32.log" 2>&1 </dev/null) || status=$?
    # No Wine session here: not run, for the reason wine-run.sh gives.
    [ $status -eq 77 ] && { cat "$work/lz32.log"; exit 77; }
    if [ $status -ne 0 ]; then
      fail "lz32_expand reported failures:"
      grep -v '^[0-9a-f]*:\(err\|fixme\|warn\)' "$work/lz32.log" | head -40 || true
    fi
    ;;
  *)
    echo "unknown decoder $decoder"
    exit 2
    ;;
esac

for name in "${names[@]}"; do
  if [ ! -f "$work/out/$name" ]; then
    fail "$name: no output from $decoder"
  elif ! cmp -s "$work/in/$name" "$work/out/$name"; then
    fail "$name: $decoder output differs ($(stat -c %s "$work/out/$name") bytes, expected $(stat -c %s "$work/in/$name"))"
  fi
done

echo "round trip through $decoder: ${#names[@]} inputs, $failures problem(s)"
[ "$failures" -eq 0 ]
