#!/usr/bin/env bash
# kelvora-sim --alsa, a sequencer client of its own (no cable), reached by its name: probe, ls,
# and wavesamples downloaded through the kernel bit for bit the same as from the built-in
# simulated sampler, which holds the same demo instruments.
CABLE=
source "$(dirname "$0")/vm_lib.sh"

name="Far EPS $$"
# --alsa paces its answers as Kelvora's ALSA output does; --paced would pace them a second time.
"$KELVORA_SIM" --alsa --name "$name" 2>"$scratch/far-end.log" &
far_end=$!
for _ in $(seq 200); do
  grep -q "Ctrl+C ends" "$scratch/far-end.log" && break
  sleep 0.1
done
device=$name
far_end_answers
expect 0 "ls" ls && { grep -q "Demo Synth" "$scratch/out" || fail "ls lists no demo instrument"; }
for slot in 1/1/1 2/1/1; do
  file=$scratch/${slot//\//-}
  expect 0 "download of $slot" download "$slot" -o "$file.wav" &&
    (device=sim && expect 0 "download of $slot from the built-in sampler" download "$slot" -o "$file-sim.wav") &&
    { same_samples "$file.wav" "$file-sim.wav" || fail "$slot came through the kernel changed"; }
done
finish
