#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in build-fuzz and runs each over its
# seed corpus for a few seconds. Fails on any crash, sanitizer report, broken invariant or hang.
# FUZZ_SECONDS sets the time per target (default 10).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-10}
targets=(fuzz_riff fuzz_responses fuzz_sim_parser fuzz_settings fuzz_audio)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELVORA_FUZZ=ON -DKELVORA_GUI=OFF -DBUILD_TESTING=OFF
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KELVORA_FUZZ_SCRATCH=$work
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=print_stacktrace=1
# Leaks inside the codec libraries that nothing above them can free (see the file).
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
for target in "${targets[@]}"; do
  # New inputs go to a scratch folder; the committed seeds stay as they are.
  mkdir -p "$work/$target" "$work/findings-$target"
  echo "== $target (${seconds} s)"
  if ! build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
       -artifact_prefix="$work/findings-$target/" "$work/$target" "fuzz/corpus/$target" \
       >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    mkdir -p build-fuzz/findings
    cp -r "$work/findings-$target" build-fuzz/findings/
    echo "$target found a fault; the input is in build-fuzz/findings/findings-$target" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$work/$target.log" || true
done
