#!/usr/bin/env bash
# The tests that need the kernel's ALSA sequencer (CTest labels hardware and vm), run inside the
# guest of scripts/alsa-vm.sh on the binaries of the build folder given (default build):
#
#     scripts/alsa-vm.sh 'scripts/vm-tests.sh build'
#
# Here a sequencer is present, so a test that skips for want of one is a failure.
set -euo pipefail
build=${1:-build}

if [ ! -e /dev/snd/seq ] || [ ! -e /dev/snd/midiC0D0 ]; then
  echo "vm-tests: no ALSA sequencer or virtual MIDI cable here; run me through scripts/alsa-vm.sh" >&2
  exit 1
fi
status=0
# The end-to-end cases wait on paced MIDI most of the time, each on a cable of its own. The
# emulated guest under this load now and then misses a timing the kernel's sequencer keeps on real
# hardware, so a failing test gets one more run; its first failure stays in the output above.
ctest --test-dir "$build" -L 'hardware|vm' --no-tests=error --output-on-failure -j8 \
  --repeat until-pass:2 || status=$?
# Every test's whole output, also of those run in parallel, is in CTest's log of this run.
log=$build/Testing/Temporary/LastTest.log
if grep -E '^\[  SKIPPED \]|^SKIP   :' "$log"; then
  echo "vm-tests: the tests above were skipped, although the guest has a sequencer" >&2
  status=1
fi
# The figures the cases measured: P1 through the kernel, how the faults ended, late answers.
grep -E '^(P1 |Fault |Note: )' "$log" || true
exit "$status"
