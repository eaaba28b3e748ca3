#!/usr/bin/env bash
# P1 through the kernel on virtual cable 3 (after the window program's case and the backup): a
# paced 20 480-sample upload and download at block sizes 256 and 10240, each timed against the
# protocol's wire-time minimum. Reported, not asserted: the guest is emulated. The file must still
# come back bit for bit.
CABLE=${CABLE:-3}
source "$(dirname "$0")/vm_lib.sh"

# P1: the time of a paced transfer over the wire time of every byte that crossed the cable in
# both directions (one request is outstanding at a time), at 3125 bytes a second.
p1() {  # what, then the kelvora-cli arguments
  local what=$1 start bytes took
  shift
  bytes=$(cable_bytes)
  start=$EPOCHREALTIME
  expect 0 "$what" "$@" || return 1
  took=$(seconds_since "$start")
  bytes=$(($(cable_bytes) - bytes))
  # The command also starts, probes and reads records; kelvora-cli times the transfer alone.
  local transfer
  transfer=$(grep -o '[0-9]* samples in [0-9.]* s' "$scratch/err" | tail -n 1)
  awk -v what="$what" -v took="$took" -v bytes="$bytes" -v transfer="$transfer" 'BEGIN {
    printf "P1 %s: the command took %.1f s for %d bytes over the cable, wire minimum %.1f s:" \
           " ratio %.3f (the transfer itself: %s)\n",
           what, took, bytes, bytes / 3125, took * 3125 / bytes, transfer }'
}

far_end_start --empty || exit 1
make_wav "$scratch/p1.wav" 20480
slot=0
for block in 256 10240; do
  slot=$((slot + 1))
  what="20480 samples at block size $block"
  p1 "upload of $what" --block-size "$block" upload "$scratch/p1.wav" --to "1/1/$slot" &&
    p1 "download of $what" --block-size "$block" download "1/1/$slot" -o "$scratch/back.wav" &&
    { same_samples "$scratch/p1.wav" "$scratch/back.wav" || fail "$what came back changed"; }
  rm -f "$scratch/back.wav"
done
finish
