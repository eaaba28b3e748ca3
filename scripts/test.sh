#!/usr/bin/env bash
# Builds Kelvora and passes its tests: a normal build, the tests that need the kernel's ALSA
# sequencer in a QEMU guest on that build, an AddressSanitizer + UndefinedBehaviorSanitizer build
# of the whole suite with clang (so every run compiles all code with both compilers), a
# ThreadSanitizer build of the concurrency tests, and a short run of every fuzz target over its
# seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test fuzz

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {  # build-dir, ctest label filter...
  local dir=$1; shift
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" "$@"
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DKELVORA_BENCH=ON
cmake --build build -j"$jobs"
run_suite build -LE 'bench|hardware|deb|vm'

# The only proof that the real MIDI stack works: a guest that cannot boot fails the run. A person
# on a machine that cannot run QEMU may set KELVORA_SKIP_VM=1; CI never does.
if [ "${KELVORA_SKIP_VM:-}" = 1 ]; then
  echo "KELVORA_SKIP_VM=1: the guest stage is skipped, the real ALSA stack is NOT tested" >&2
else
  scripts/alsa-vm.sh 'scripts/vm-tests.sh build'
fi

# A folder configured with another compiler starts afresh: on a compiler change CMake empties its
# cache and configures once without the options given here.
if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang++$' build-asan/CMakeCache.txt; then
  rm -rf build-asan
fi
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DBUILD_TESTING=ON -DKELVORA_BENCH=OFF -DKELVORA_SANITIZE=address,undefined
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_suite build-asan -LE 'bench|hardware|deb|vm'

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DKELVORA_GUI=OFF \
  -DKELVORA_SANITIZE=thread
# Only the concurrency tests are built here: they are the ones ThreadSanitizer has anything to say about.
mapfile -t tsan_targets < <(ctest --test-dir build-tsan -N -L concurrency | sed -n 's/^ *Test *#[0-9]*: //p')
cmake --build build-tsan -j"$jobs" --target "${tsan_targets[@]}"
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/scripts/tsan.supp" run_suite build-tsan -L concurrency

# Every parser of outside input under libFuzzer for a few seconds (clang; its own build).
scripts/fuzz-smoke.sh
