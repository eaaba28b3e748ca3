#!/usr/bin/env bash
# On virtual cable 3 (with the window program's case and P1): a multisample of three files named by
# their notes into an empty sampler, a backup of it, its restore into an emptied sampler, and a
# second backup that holds the same samples.
CABLE=${CABLE:-3}
source "$(dirname "$0")/vm_lib.sh"

far_end_start --empty || exit 1
mkdir -p "$scratch/notes"
for note in C3 E3 G3; do
  make_wav "$scratch/notes/Piano_$note.wav" 300
done
expect 0 "multisample upload" upload "$scratch/notes/"*.wav --to 1 --root auto --range auto
expect 0 "ls of the multisample" ls 1 &&
  for expected in "root C3" "root E3" "root G3" "keys A0\.\." "\.\.C8"; do
    grep -q -- "$expected" "$scratch/out" || fail "ls does not show '$expected': $(cat "$scratch/out")"
  done

expect 0 "backup" backup "$scratch/first" || { finish; exit; }
far_end_stop
far_end_start --empty || exit 1
expect 0 "restore into an empty sampler" restore "$scratch/first"
expect 0 "backup of the restored sampler" backup "$scratch/second"
count=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  relative=${file#"$scratch/first/"}
  same_samples "$file" "$scratch/second/$relative" || fail "$relative differs after the restore"
done < <(find "$scratch/first" -name '*.wav' -print0)
[ "$count" -eq 3 ] || fail "the backup holds $count WAV files, not 3"
finish
