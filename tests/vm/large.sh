#!/usr/bin/env bash
# The largest file, once each way: 100 000 samples (offsets past 16 bits) uploaded in blocks of
# 10240 and downloaded in blocks of 256, bit-exact, through virtual cable 1. About 96 s of wire
# time each way, so it runs on a cable of its own beside the other cases.
CABLE=${CABLE:-1}
source "$(dirname "$0")/vm_lib.sh"

far_end_start --empty || exit 1
make_wav "$scratch/up.wav" 100000
expect 0 "upload of 100000 samples" --block-size 10240 upload "$scratch/up.wav" --to 1/1/1 &&
  expect 0 "download of 100000 samples" --block-size 256 download 1/1/1 -o "$scratch/down.wav" &&
  { same_samples "$scratch/up.wav" "$scratch/down.wav" || fail "100000 samples came back changed"; }
finish
