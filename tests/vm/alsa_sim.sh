#!/usr/bin/env bash
# kelvora-sim --alsa, a sequencer client of its own (no cable), reached by its name: probe, ls,
# and wavesamples downloaded through the kernel bit for bit the same as from the built-in
# simulated sampler, which holds the same demo instruments; then, started empty, a multisample
# with its backup and restore, and uploads and downloads at both block sizes.
CABLE=
source "$(dirname "$0")/vm_lib.sh"

far_end_start || exit 1
expect 0 "ls" ls && { grep -q "Demo Synth" "$scratch/out" || fail "ls lists no demo instrument"; }
for slot in 1/1/1 2/1/1; do
  file=$scratch/${slot//\//-}
  expect 0 "download of $slot" download "$slot" -o "$file.wav" &&
    (device=sim && expect 0 "download of $slot from the built-in sampler" download "$slot" -o "$file-sim.wav") &&
    { same_samples "$file.wav" "$file-sim.wav" || fail "$slot came through the kernel changed"; }
done

far_end_stop
far_end_start --empty && multisample_backup_restore
round_trip 257 256 2/1/1
round_trip 20000 10240 2/1/2
finish
