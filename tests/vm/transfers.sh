#!/usr/bin/env bash
# Probe, ls, and upload then download of 1, 257 and 20 000 samples at block sizes 256 and 10240,
# bit-exact, through virtual cable 0: "VirMIDI 0-0" to a sampler on /dev/snd/midiC0D0.
CABLE=${CABLE:-0}
source "$(dirname "$0")/vm_lib.sh"

far_end_start --empty || exit 1
expect 0 "probe" probe
expect 0 "ls of an empty sampler" ls

slot=0
for block in 256 10240; do
  for samples in 1 257 20000; do
    slot=$((slot + 1))
    round_trip "$samples" "$block" "1/1/$slot"
  done
done
expect 0 "ls after the uploads" ls 1 &&
  for listed in "1/1/1 .* 1 samples" "1/1/2 .* 257 samples" "1/1/6 .* 20000 samples"; do
    grep -q "$listed" "$scratch/out" || fail "ls does not list $listed: $(cat "$scratch/out")"
  done
finish
