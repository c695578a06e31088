#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each for
# SECONDS (default 60):
#   fuzz.sh [SECONDS] [TARGET...]
# The build folder is NORVU_BUILD (default build/); the targets build in
# its fuzz/ folder. Each run starts from the committed seeds of
# tests/fuzz/corpus/<target>/ plus what earlier runs found, kept in
# fuzz/corpus/<target>/; the committed seeds are never changed. An input
# that breaks a target is saved as fuzz/artifacts/<target>-crash-...;
# the script then shows its report and fails after the other targets ran.
set -euo pipefail
seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NORVU_BUILD:-$root/build}
out=$build/fuzz
mkdir -p "$out/logs" "$out/artifacts" "$out/corpus"

# One run at a time per build folder: the build and the live corpus are
# shared.
exec 9>"$out/lock"
flock 9

if [ ! -f "$out/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$out" -DCMAKE_BUILD_TYPE= >"$out/logs/configure.log" 2>&1 ||
    { cat "$out/logs/configure.log"; exit 1; }
fi
cmake --build "$out" -j "$(nproc)" >"$out/logs/build.log" 2>&1 || { tail -n 60 "$out/logs/build.log"; exit 1; }

# The longest input each target is given: long enough for every case the
# target has (window wrap-around for the codec, over-long paths), short
# enough for many runs a second.
max_len() {
  case $1 in
    drive_list_fuzz) echo 512 ;;
    szdd_decode_fuzz) echo 20000 ;;
    szdd_roundtrip_fuzz) echo 10000 ;;
    *) echo 4096 ;;
  esac
}

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for program in "$out"/bin/*_fuzz; do targets+=("$(basename "$program")"); done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for target in "${targets[@]}"; do
  live=$out/corpus/$target
  mkdir -p "$live"
  seeds=$root/tests/fuzz/corpus/$target
  if [ -d "$seeds" ]; then cp -f "$seeds"/* "$live"/ 2>/dev/null || true; fi
  log=$out/logs/$target.log
  if "$out/bin/$target" -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" \
      "$live" >"$log" 2>&1 </dev/null; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target: ${runs:-?} runs in ${seconds}s, $(ls "$live" | wc -l) inputs in its corpus, no fault"
  else
    echo "fuzz: $target FAILED; its report ($log):"
    grep -v '^#[0-9]' "$log" | tail -n 40
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: faults in ${failed[*]}; the inputs are in $out/artifacts"
  exit 1
fi
echo "fuzz: ${#targets[@]} passed, 0 failed"
