# Shared by the end-to-end cases through the kernel's virtual MIDI cables (CTest label vm), run
# in the QEMU guest of scripts/alsa-vm.sh by scripts/vm-tests.sh. A case holds one cable (CTest
# RESOURCE_LOCK): its far end is kelvora-sim on the cable's raw MIDI device, and kelvora-cli
# reaches it through the cable's sequencer port "VirMIDI 0-N", as it would reach a sampler behind
# a USB MIDI interface. Sourced by the cases; environment: KELVORA_CLI, KELVORA_SIM, and CABLE
# (0..3, or empty for a case that uses no cable).
set -uo pipefail

scratch=$(mktemp -d)
far_end=
failures=0
device="VirMIDI 0-$CABLE"
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

# kelvora-sim (paced, as on a cable) on the cable's raw MIDI device, with the options given.
# Until it first waits for input the kernel drops what comes down the cable, as a sampler still
# switching on would miss it, so this returns once its reading thread waits in poll and it
# answers.
far_end_start() {
  "$KELVORA_SIM" --stdio --paced "$@" <"$raw" >"$raw" 2>>"$scratch/far-end.log" &
  far_end=$!
  local tries
  for tries in $(seq 200); do
    grep -qs poll /proc/"$far_end"/task/*/wchan && { far_end_answers; return; }
    kill -0 "$far_end" 2>/dev/null || break
    sleep 0.1
  done
  fail "kelvora-sim did not start on $raw: $(cat "$scratch/far-end.log")"
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

# expect CODE WHAT ARGS...: kelvora-cli ARGS must end with CODE.
expect() {
  local want=$1 what=$2 got=0
  shift 2
  cli "$@" || got=$?
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
