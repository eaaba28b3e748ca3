# Shared by the end-to-end cases through the kernel's virtual MIDI cables (CTest label vm), run
# in the QEMU guest of scripts/alsa-vm.sh by scripts/vm-tests.sh. A case holds one cable (CTest
# RESOURCE_LOCK): its far end is kelvora-sim on the cable's raw MIDI device, and kelvora-cli
# reaches it through the cable's sequencer port "VirMIDI 0-N", as it would reach a sampler behind
# a USB MIDI interface. A case without a cable has kelvora-sim --alsa, a sequencer client of
# its own, as its far end. Sourced by the cases; environment: KELVORA_CLI, KELVORA_SIM, and
# CABLE (0..3, or empty for no cable).
set -uo pipefail

scratch=$(mktemp -d)
far_end=
failures=0
device="VirMIDI 0-$CABLE"
[ -n "$CABLE" ] || device="Far EPS $$"
raw=/dev/snd/midiC0D$CABLE
proc=/proc/asound/card0/midi$CABLE

cleanup() {
  far_end_stop KILL
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures checks failed"
    exit 1
  fi
  echo "all checks passed"
}

if [ -n "$CABLE" ] && [ ! -c "$raw" ]; then
  echo "no virtual MIDI cable $raw here: run through scripts/alsa-vm.sh 'scripts/vm-tests.sh'"
  exit 1
fi

# kelvora-sim with the options given as the far end: on the cable's raw MIDI device, paced as
# on a cable, or without a cable as a sequencer client of its own (it paces its answers as
# Kelvora's ALSA output does; --paced would pace them a second time). Returns once it answers.
far_end_start() {
  if [ -n "$CABLE" ]; then
    "$KELVORA_SIM" --stdio --paced "$@" <"$raw" >"$raw" 2>>"$scratch/far-end.log" &
  else
    "$KELVORA_SIM" --alsa --name "$device" "$@" 2>"$scratch/far-end.log" &
  fi
  far_end=$!
  far_end_listens && far_end_answers
}

# Until the far end first waits for input the kernel drops what comes down the cable, as a
# sampler still switching on would miss it: this waits until its reading thread waits in poll
# (on a cable) or it tells its port (a client of its own).
far_end_listens() {
  local tries
  for tries in $(seq 200); do
    if [ -n "$CABLE" ]; then
      grep -qs poll /proc/"$far_end"/task/*/wchan && return 0
    else
      grep -qs "Ctrl+C ends" "$scratch/far-end.log" && return 0
    fi
    kill -0 "$far_end" 2>/dev/null || break
    sleep 0.1
  done
  fail "kelvora-sim did not start: $(cat "$scratch/far-end.log")"
  return 1
}

# Returns once the far end answers a probe, at most 5 tries. A sampler answers within the
# protocol's 2 s, but the first answer of a far end just started in the emulated guest can take
# longer: its code is read over 9p as it first runs. A late first answer is logged.
far_end_answers() {
  local try
  for try in 1 2 3 4 5; do
    if cli probe; then
      [ "$try" -eq 1 ] || echo "Note: the far end on $device answered probe $try only"
      return 0
    fi
  done
  fail "the far end on $device answers no probe: $(tail -n 3 "$scratch/err")"
  return 1
}

far_end_stop() {  # [signal]
  [ -n "$far_end" ] || return 0
  kill -"${1:-TERM}" "$far_end" 2>/dev/null
  wait "$far_end" 2>/dev/null
  far_end=
}

# kelvora-cli on the cable; its output lands in $scratch/out and $scratch/err.
cli() {
  timeout 900 "$KELVORA_CLI" --device "$device" "$@" >"$scratch/out" 2>"$scratch/err"
}

# expect CODE WHAT ARGS...: kelvora-cli ARGS must end with CODE. A command whose opening probe
# went unanswered (exit code 3: nothing but the probe was sent) is tried again, twice at most,
# and listed: the emulated guest, starved by a busy host, can miss the protocol's 2 s for an
# answer (whole probe commands measured up to 2.9 s there under the stage's load, 0.3 s idle).
expect() {
  local want=$1 what=$2 got=0 try
  shift 2
  for try in 1 2 3; do
    got=0
    cli "$@" || got=$?
    [ "$got" -eq 3 ] && [ "$want" -ne 3 ] || break
    echo "Note: $what: no answer to the opening probe on $device, try $try"
  done
  [ "$got" -eq "$want" ] && return 0
  fail "$what: exit code $got, not $want: $(tail -n 3 "$scratch/err")"
  return 1
}

# A mono 16-bit WAV file of SAMPLES samples of noise (the same each run), at 31250 Hz, a rate
# the sampler plays exactly, so the upload sends the samples as they are.
make_wav() {  # file samples
  sox -R -r 31250 -n -b 16 -c 1 "$1" synth "$2s" whitenoise vol 0.8 &&
    [ "$(soxi -s "$1")" -eq "$2" ] || fail "sox made no file of $2 samples"
}

# True when two WAV files hold the same samples, bit for bit (and there are some).
same_samples() {
  sox "$1" -t s16 "$scratch/first.raw" && sox "$2" -t s16 "$scratch/second.raw" &&
    [ -s "$scratch/first.raw" ] && cmp -s "$scratch/first.raw" "$scratch/second.raw"
}

# Bytes the far end has taken from and put on the cable since it opened the device.
cable_bytes() {
  awk '/Rx bytes|Tx bytes/ { n += $4 } END { print n + 0 }' "$proc"
}

# Seconds since START (an $EPOCHREALTIME), to a tenth.
seconds_since() {
  awk -v start="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.1f", now - start }'
}

# round_trip SAMPLES BLOCK SLOT: a file of SAMPLES samples uploaded into SLOT and downloaded again
# in blocks of BLOCK samples comes back bit for bit.
round_trip() {
  local what="$1 samples at block size $2"
  make_wav "$scratch/up.wav" "$1"
  rm -f "$scratch/down.wav"
  expect 0 "upload of $what" --block-size "$2" upload "$scratch/up.wav" --to "$3" &&
    expect 0 "download of $what" --block-size "$2" download "$3" -o "$scratch/down.wav" &&
    { same_samples "$scratch/up.wav" "$scratch/down.wav" || fail "$what came back changed"; }
}

# On an empty far end: a multisample of three files named by their notes, a backup of it, its
# restore into a far end started empty again, and a second backup that holds the same samples.
multisample_backup_restore() {
  mkdir -p "$scratch/notes"
  local note
  for note in C3 E3 G3; do
    make_wav "$scratch/notes/Piano_$note.wav" 300
  done
  expect 0 "multisample upload" upload "$scratch/notes/"*.wav --to 1 --root auto --range auto
  expect 0 "ls of the multisample" ls 1 &&
    for expected in "root C3" "root E3" "root G3" "keys A0\.\." "\.\.C8"; do
      grep -q -- "$expected" "$scratch/out" || fail "ls does not show '$expected': $(cat "$scratch/out")"
    done
  expect 0 "backup" backup "$scratch/first" || return 1
  far_end_stop
  far_end_start --empty || return 1
  expect 0 "restore into an empty sampler" restore "$scratch/first"
  expect 0 "backup of the restored sampler" backup "$scratch/second"
  same_wav_files "$scratch/first" "$scratch/second" 3
}

# same_wav_files FIRST SECOND COUNT: FIRST holds COUNT WAV files, each with the same samples as
# the file of its name in SECOND.
same_wav_files() {
  local count=0 file relative
  while IFS= read -r -d '' file; do
    count=$((count + 1))
    relative=${file#"$1/"}
    same_samples "$file" "$2/$relative" || fail "$relative differs after the restore"
  done < <(find "$1" -name '*.wav' -print0)
  [ "$count" -eq "$3" ] || fail "the backup holds $count WAV files, not $3"
}
