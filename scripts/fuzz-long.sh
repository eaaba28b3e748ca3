#!/usr/bin/env bash
# Runs each fuzz target for FUZZ_RUNS executions (default 10 million), one after the other at
# low priority, and prints per target the executions done, the rate and what was found.
# Output: build-fuzz/long/<target>.log, the grown corpus in build-fuzz/long/<target>/, findings
# in build-fuzz/long/findings-<target>/. FUZZ_MAX_SECONDS (default 0: none) caps each target's
# time; FUZZ_TARGETS picks targets. Expects the build of scripts/fuzz-smoke.sh; FUZZ_BIN_DIR
# (default build-fuzz/fuzz) runs copies of the targets instead, so that a run of hours is not
# disturbed by rebuilding the tree. Several invocations with different FUZZ_TARGETS may run at
# the same time, one per core. FUZZ_JOB names a further job of a target that is already running:
# it shares that target's corpus, as libFuzzer's own parallel jobs do, and keeps its own log and
# findings (<target>-<job>.log, findings-<target>-<job>/); the executions of the jobs add up.
set -uo pipefail
cd "$(dirname "$0")/.."

runs=${FUZZ_RUNS:-10000000}
max_seconds=${FUZZ_MAX_SECONDS:-0}
read -r -a targets <<<"${FUZZ_TARGETS:-fuzz_riff fuzz_responses fuzz_sim_parser fuzz_settings fuzz_audio}"
bin=${FUZZ_BIN_DIR:-build-fuzz/fuzz}
job=${FUZZ_JOB:+-$FUZZ_JOB}
out=build-fuzz/long
# A 32 MB quarantine still outlives many inputs' worth of freed memory, and spares the page
# faults of the default 256 MB: the simulator's targets run about a fifth faster with it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=32} UBSAN_OPTIONS=print_stacktrace=1
# Leaks inside the codec libraries that nothing above them can free (see the file).
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}

# The settings target writes a file per input: keep them in memory where there is a tmpfs.
scratch_base=/tmp
[ -w /dev/shm ] && scratch_base=/dev/shm
export KELVORA_FUZZ_SCRATCH=$(mktemp -d -p "$scratch_base")
# Stopping the script stops its fuzzer first: a fuzzer left running without its scratch folder
# would report every input that writes a file as a finding.
fuzzer=0
cleanup() {
  if [ "$fuzzer" -ne 0 ]; then kill "$fuzzer" 2>/dev/null; wait "$fuzzer"; fi
  rm -rf "$KELVORA_FUZZ_SCRATCH"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
status=0
for target in "${targets[@]}"; do
  log=$out/$target$job.log findings_dir=$out/findings-$target$job
  mkdir -p "$out/$target" "$findings_dir"
  start=$(date +%s)
  nice -n 10 "$bin/$target" -runs="$runs" -max_total_time="$max_seconds" \
    -timeout=25 -print_final_stats=1 -artifact_prefix="$findings_dir/" \
    "$out/$target" "fuzz/corpus/$target" >"$log" 2>&1 &
  fuzzer=$!
  wait "$fuzzer"
  code=$?
  fuzzer=0
  seconds=$(( $(date +%s) - start ))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  findings=$(find "$findings_dir" -type f | wc -l)
  echo "$target: ${executed:-?} executions in ${seconds} s (${rate:-?} exec/s), exit $code," \
       "$findings finding(s) in $findings_dir"
  if [ "$code" -ne 0 ] || [ "$findings" -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|invariant|runtime error' "$log" | head -n 5
    status=1
  fi
done
exit $status
