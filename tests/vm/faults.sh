#!/usr/bin/env bash
# On virtual cable 2: the far end killed in the middle of an upload and of a download. The transfer
# must fail cleanly within its time limits, leave no file that looks whole, and the next command
# must work once the far end is back.
CABLE=${CABLE:-2}
source "$(dirname "$0")/vm_lib.sh"

# kill_midway WHAT ARGS...: starts kelvora-cli, kills the far end once the transfer is under
# way, and checks that the command fails within its time limits.
kill_midway() {
  local what=$1 before start took code=0
  shift
  before=$(cable_bytes)
  cli "$@" &
  local command=$!
  # Until 6000 bytes crossed (two seconds of wire time), for at most a minute: a command that
  # ended before is a failure of its own, reported by its exit code below.
  local deadline=$((SECONDS + 60))
  while kill -0 "$command" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
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
make_wav "$scratch/long.wav" 20000
kill_midway "upload" upload "$scratch/long.wav" --to 1/1/1
far_end_start --empty || exit 1
expect 0 "probe after the far end is back" probe
expect 0 "upload after the far end is back" upload "$scratch/long.wav" --to 1/1/1

# The demo instruments: 3/1/1 "WARM PAD" has 44 100 samples.
far_end_stop
far_end_start || exit 1
kill_midway "download" download 3/1/1 -o "$scratch/pad.wav"
[ ! -e "$scratch/pad.wav" ] || fail "a download cut short left $scratch/pad.wav, which looks whole"
far_end_start || exit 1
expect 0 "download after the far end is back" download 1/1/1 -o "$scratch/sine.wav"
[ -s "$scratch/sine.wav" ] || fail "the download after the far end came back wrote no file"
finish
