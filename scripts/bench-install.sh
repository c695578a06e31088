#!/usr/bin/env bash
# Times the copy phase and a whole installation under Wine, driven with the
# keyboard alone (Enter on every page):
#   bench-install.sh BUILD [RUNS]
# The copy phase runs from Next on the destination page until the program
# group page is up; the whole installation from the start of setup.exe to
# its end. Writes BUILD/bench/install.md and prints it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: bench-install.sh BUILD [RUNS]}
runs=${2:-5}
win=$build/win
[ -f "$win/tests/bench/install_bench.exe" ] || { echo "bench-install: build first (make)"; exit 1; }

"$here/test-session.sh" start "$win" >/dev/null
trap '"$here/test-session.sh" stop "$win" >/dev/null' EXIT
"$here/wine-run.sh" "$win" "$win/tests/bench/install_bench.exe" "$win/setup.exe" "$runs" </dev/null >"$build/bench-install.log" 2>&1 \
  || { cat "$build/bench-install.log"; exit 1; }
copy_times=($(awk '/^copy/ {print $2}' "$build/bench-install.log"))
total_times=($(awk '/^copy/ {print $4}' "$build/bench-install.log"))

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mkdir -p "$build/bench"
{
  echo "## Installation under Wine"
  echo
  echo "Keyboard-driven runs of setup.exe into a fresh folder D:\\bench ($runs runs, median, wall-clock seconds)"
  echo "by \`tests/bench/install_bench.cpp\` with the UI driver. Reproduce: \`make bench\` or"
  echo "\`scripts/bench-install.sh build 5\`."
  echo
  echo "| phase | median s | all runs |"
  echo "|---|---|---|"
  echo "| copy: Next on the destination page until the program group page is up | $(median "${copy_times[@]}") | ${copy_times[*]} |"
  echo "| whole installation: start of setup.exe to its end | $(median "${total_times[@]}") | ${total_times[*]} |"
} | tee "$build/bench/install.md"
