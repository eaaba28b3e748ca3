#!/usr/bin/env bash
# On virtual cable 2: the P1 figure through the kernel (reported, not asserted: the guest is
# emulated), then the far end killed in the middle of an upload and of a download. The transfer
# must fail cleanly within its time limits, leave no file that looks whole, and the next command
# must work once the far end is back.
CABLE=${CABLE:-2}
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

# kill_midway WHAT ARGS...: starts kelvora-cli, kills the far end once the transfer is under
# way, and checks that the command fails within its time limits.
kill_midway() {
  local what=$1 before start took code=0
  shift
  before=$(cable_bytes)
  cli "$@" &
  local command=$!
  for _ in $(seq 600); do
    [ $(($(cable_bytes) - before)) -gt 6000 ] && break
    sleep 0.1
  done
  far_end_stop KILL
  start=$EPOCHREALTIME
  wait "$command" || code=$?
  took=$(seconds_since "$start")
  echo "Fault $what: the far end killed, kelvora-cli ended $took s later with exit code $code:" \
    "$(tail -n 1 "$scratch/err")"
  [ "$code" -eq 1 ] || fail "$what: exit code $code after the far end was killed, not 1"
  # A transfer gives up after 35 s without a byte from the sampler.
  awk -v t="$took" 'BEGIN { exit !(t < 50) }' || fail "$what: kelvora-cli took $took s to give up"
}

far_end_start --empty || exit 1
make_wav "$scratch/p1.wav" 20480
p1 "upload of 20480 samples" --block-size 10240 upload "$scratch/p1.wav" --to 1/1/1 &&
  p1 "download of 20480 samples" --block-size 10240 download 1/1/1 -o "$scratch/p1-back.wav" &&
  { same_samples "$scratch/p1.wav" "$scratch/p1-back.wav" || fail "the P1 file came back changed"; }

make_wav "$scratch/long.wav" 20000
kill_midway "upload" upload "$scratch/long.wav" --to 1/1/2
far_end_start --empty || exit 1
expect 0 "probe after the far end is back" probe
expect 0 "upload after the far end is back" upload "$scratch/p1.wav" --to 1/1/1

# The demo instruments: 3/1/1 "WARM PAD" has 44 100 samples.
far_end_stop
far_end_start || exit 1
kill_midway "download" download 3/1/1 -o "$scratch/pad.wav"
[ ! -e "$scratch/pad.wav" ] || fail "a download cut short left $scratch/pad.wav, which looks whole"
far_end_start || exit 1
expect 0 "download after the far end is back" download 1/1/1 -o "$scratch/sine.wav"
[ -s "$scratch/sine.wav" ] || fail "the download after the far end came back wrote no file"
finish
