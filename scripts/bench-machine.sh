#!/usr/bin/env bash
# Times the emulated machine that runs Wine where this machine runs no
# 32-bit code (scripts/emulated-machine.sh), whether or not it is needed
# here: making it in an empty cache folder (fetching the kernel and busybox
# included), starting it, and make run's way from nothing running to the
# first screenshot of setup.exe (the machine started, a new Wine prefix,
# the backdrop painted).
#   bench-machine.sh BUILD [RUNS]
# Writes BUILD/bench/machine.md and prints it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: bench-machine.sh BUILD [RUNS]}" && pwd)
runs=${2:-3}
[ -f "$build/setup.exe" ] || { echo "bench-machine: build first (make)"; exit 1; }
command -v qemu-system-x86_64 >/dev/null || { echo "bench-machine: no qemu-system-x86_64 (scripts/install-deps.sh installs it where it is needed)"; exit 0; }
mkdir -p "$build/bench"
work="$build/bench/machine"
rm -rf "$work"
mkdir -p "$work"

seconds() { echo "$(( $2 - $1 ))" | awk '{ printf "%.1f", $1 / 1e9 }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Making it, in a cache folder of its own.
begin=$(date +%s%N)
XDG_CACHE_HOME="$work/cache" "$here/emulated-machine.sh" make 2>/dev/null
made=$(seconds "$begin" "$(date +%s%N)")
rm -rf "$work/cache"

starts=() shots=()
for _ in $(seq "$runs"); do
  begin=$(date +%s%N)
  NORVU_EMULATED=1 "$here/emulated-machine.sh" start "$work"
  starts+=("$(seconds "$begin" "$(date +%s%N)")")
  NORVU_EMULATED=1 "$here/emulated-machine.sh" stop "$work"

  begin=$(date +%s%N)
  NORVU_EMULATED=1 "$here/run-setup.sh" "$build" </dev/null >"$work/run.log" 2>&1 || { cat "$work/run.log"; exit 1; }
  shown=$(date -r "$build/screenshots/run.png" +%s%N)
  shots+=("$(seconds "$begin" "$shown")")
done

{
  echo "## The emulated machine"
  echo
  echo "What Wine runs in where this machine runs no 32-bit code (README, \"Where Wine runs\"), software emulation"
  echo "on this machine's processors ($runs runs, median, wall-clock seconds), by \`scripts/bench-machine.sh\`."
  echo "Reproduce: \`make bench\` or \`scripts/bench-machine.sh build $runs\`."
  echo
  echo "| step | median s | all runs |"
  echo "|---|---|---|"
  echo "| making the machine in an empty cache folder: the kernel and busybox fetched, the start-up image made | $made | $made |"
  echo "| starting it, until it takes jobs | $(median "${starts[@]}") | ${starts[*]} |"
  echo "| make run's run of setup.exe, from no machine to the first screenshot (machine, new prefix, backdrop) | $(median "${shots[@]}") | ${shots[*]} |"
} | tee "$build/bench/machine.md"
