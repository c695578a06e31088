#!/usr/bin/env bash
# Compressed size and speed of our szdd against mscompress (Debian's
# mscompress package), on the payload and on real files of this machine:
#   bench-szdd.sh BUILD
# Writes the report to BUILD/bench/szdd.md and prints it. Fails when our
# output is larger than mscompress's on any file, or does not expand back.
set -euo pipefail
build=${1:?usage: bench-szdd.sh BUILD}
szdd=$build/native/bin/szdd
[ -x "$szdd" ] || { echo "bench-szdd: $szdd not built (run make first)"; exit 1; }
command -v mscompress >/dev/null || { echo "bench-szdd: mscompress not installed (make deps)"; exit 1; }

work=$build/bench/szdd
rm -rf "$work"
mkdir -p "$work/files" "$work/ours" "$work/ms"
list=$work/files.txt
: >"$list"

# add CATEGORY PATH: copies one input under a unique name.
count=0
add() {
  count=$((count + 1))
  local dest="$1-$count-$(basename "$2")"
  cp -L "$2" "$work/files/$dest"
  echo "$1 $dest" >>"$list"
}

# pick CATEGORY TARGET_BYTES MIN MAX FILE...: the named files (in the
# order given) whose size is within MIN..MAX, until TARGET_BYTES are taken.
pick() {
  local category=$1 target=$2 min=$3 max=$4 taken=0 f size
  shift 4
  for f in "$@"; do
    [ "$taken" -ge "$target" ] && break
    [ -f "$f" ] && [ ! -L "$f" ] || continue
    size=$(stat -c %s "$f")
    [ "$size" -ge "$min" ] && [ "$size" -le "$max" ] || continue
    add "$category" "$f"
    taken=$((taken + size))
  done
}

is_elf() { [ "$(head -c 4 "$1" | od -An -tx1 | tr -d ' ')" = 7f454c46 ]; }

# The payload, when it is built.
for name in norvu.exe norvu.cfg nvuhelp.hlp ferrox.dll nvustart.kbm notice.wri unsetup.exe; do
  [ -f "$build/win/payload/$name" ] && add payload "$build/win/payload/$name"
done

# Real files: Linux programs and libraries, Windows DLLs (Wine's), text.
mapfile -t programs < <(for f in /usr/bin/*; do [ -f "$f" ] && [ ! -L "$f" ] && is_elf "$f" && echo "$f"; done | LC_ALL=C sort)
pick program 3500000 50000 3000000 "${programs[@]}"
mapfile -t libraries < <(LC_ALL=C ls -d /usr/lib/x86_64-linux-gnu/*.so.* 2>/dev/null | LC_ALL=C sort)
pick library 3500000 50000 3000000 "${libraries[@]}"
mapfile -t dlls < <(LC_ALL=C ls -d /usr/lib/i386-linux-gnu/wine/i386-windows/*.dll 2>/dev/null | LC_ALL=C sort)
pick windows 2500000 30000 2000000 "${dlls[@]}"
mapfile -t texts < <({ ls -d /usr/share/common-licenses/* 2>/dev/null; find /usr/include -name '*.h' -type f 2>/dev/null; } | LC_ALL=C sort)
pick text 2500000 16000 1000000 "${texts[@]}"

# timed TOOL COMMAND...: runs the command, adding "TOOL real user system"
# (seconds) to the timing list. CPU time is reported beside wall time
# because it stays meaningful on a busy machine.
timed() {
  local tool=$1 TIMEFORMAT='%3R %3U %3S'
  shift
  { time "$@" >/dev/null 2>"$work/command.err"; } 2>"$work/time.txt" || {
    echo "bench-szdd: $* failed:"; cat "$work/command.err"; exit 1; }
  echo "$tool $(cat "$work/time.txt")" >>"$work/timings.txt"
}

larger=()
: >"$work/results.txt"
: >"$work/timings.txt"
while read -r category name; do
  in=$work/files/$name
  timed compress "$szdd" compress "$in" "$work/ours/${name%?}_"
  timed expand "$szdd" expand "$work/ours/${name%?}_" "$work/ours/$name"
  cp "$in" "$work/ms/$name"
  timed mscompress mscompress "$work/ms/$name"
  cmp -s "$in" "$work/ours/$name" || { echo "bench-szdd: $name does not expand back"; exit 1; }
  rm "$work/ours/$name" "$work/ms/$name"
  size=$(stat -c %s "$in")
  ours=$(stat -c %s "$work/ours/${name%?}_")
  ms=$(stat -c %s "$work/ms/${name}_")
  [ "$ours" -le "$ms" ] || larger+=("$name ($ours > $ms)")
  echo "$category $name $size $ours $ms" >>"$work/results.txt"
done <"$list"

report=$build/bench/szdd.md
awk '
  function pct(a, b) { return b ? sprintf("%.1f%%", 100 * a / b) : "-" }
  FILENAME ~ /timings/ { real[$1] += $2; cpu[$1] += $3 + $4; next }
  { n[$1]++; size[$1] += $3; ours[$1] += $4; ms[$1] += $5; tn++; ts += $3; to += $4; tm += $5
    if ($1 == "payload") payload[++np] = $0
    if ($4 > $5) worse++
    if (!(($1) in seen)) { seen[$1] = 1; order[++nc] = $1 } }
  END {
    if (np) {
      print "Payload, file by file:\n"
      print "| file | bytes | szdd | mscompress | szdd / mscompress |"
      print "|---|---:|---:|---:|---:|"
      for (i = 1; i <= np; i++) { split(payload[i], f, " "); sub(/^payload-[0-9]*-/, "", f[2])
        printf "| %s | %d | %d | %d | %s |\n", f[2], f[3], f[4], f[5], pct(f[4], f[5]) }
      print ""
    }
    print "By kind of file (sizes in bytes, each including the 14-byte header):\n"
    print "| kind | files | bytes | szdd | mscompress | szdd / mscompress |"
    print "|---|---:|---:|---:|---:|---:|"
    for (i = 1; i <= nc; i++) { c = order[i]
      printf "| %s | %d | %d | %d (%s) | %d (%s) | %s |\n", c, n[c], size[c], ours[c], pct(ours[c], size[c]), ms[c], pct(ms[c], size[c]), pct(ours[c], ms[c]) }
    printf "| **all** | %d | %d | %d (%s) | %d (%s) | %s |\n\n", tn, ts, to, pct(to, ts), tm, pct(tm, ts), pct(to, tm)
    printf "Speed over all %d files (%.1f MB, 1 MB = 10^6 bytes, one process per file):\n\n", tn, ts / 1e6
    printf "| | CPU seconds | MB/s of CPU time | wall seconds | MB/s of wall time |\n|---|---:|---:|---:|---:|\n"
    split("compress mscompress expand", tools, " ")
    split("szdd compress|mscompress|szdd expand", labels, "|")
    for (i = 1; i <= 3; i++) { k = tools[i]
      printf "| %s | %.2f | %.2f | %.2f | %.2f |\n", labels[i], cpu[k], ts / 1e6 / (cpu[k] ? cpu[k] : 1e-9), real[k], ts / 1e6 / (real[k] ? real[k] : 1e-9) }
    print ""
    printf "Files where szdd is larger than mscompress: %d.\n", worse
  }' "$work/timings.txt" "$work/results.txt" >"$report"
cat "$report"
echo "(report: $report; inputs and outputs: $work)"
if [ ${#larger[@]} -gt 0 ]; then
  echo "bench-szdd: szdd output larger than mscompress on: ${larger[*]}"
  exit 1
fi
