#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a desktop user gets a working program:
# the files in their usual places, valid desktop metadata, manual pages that render, and programs
# that run from the prefix. Optional checkers that are missing are reported and skipped.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build=$1 source=$2 version=$3
scratch=$(mktemp -d)
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
prefix=$scratch/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "skipped: $*"; }

if ! cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

id=org.kelvora.Kelvora
expected=(bin/kelvora bin/kelvora-sim bin/kelvora-cli
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/kelvora.1 share/man/man1/kelvora-sim.1 share/man/man1/kelvora-cli.1
  share/bash-completion/completions/kelvora-cli)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for page in "$source"/src/app/help/*.html; do
  expected+=("share/kelvora/help/$(basename "$page")")
done
for file in "${expected[@]}"; do
  [[ -s $prefix/$file ]] || fail "$file is not installed"
done
for program in kelvora kelvora-sim kelvora-cli; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program is not executable"
done
extra=$(find "$prefix" -type f \( -name '*_test' -o -name '*bench*' -o -name '*.a' -o -name 'kelvora-iconrender' \))
[[ -z $extra ]] || fail "build-only files are installed: $extra"

# Each rendered icon has the size its folder promises.
if command -v file >/dev/null; then
  for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
  done
else
  skip "file is missing, icon sizes not checked"
fi

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1)
  [[ $? -eq 0 && -z $out ]] || fail "desktop-file-validate: $out"
  grep -qx 'Exec=kelvora %F' "$prefix/share/applications/$id.desktop" || fail "Exec line"
  grep -q '^MimeType=.*audio/x-wav;' "$prefix/share/applications/$id.desktop" || fail "MimeType line"
else
  skip "desktop-file-validate is missing"
fi

if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
  grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo has no release $version"
else
  skip "appstreamcli is missing"
fi

for page in kelvora kelvora-sim kelvora-cli; do
  man_file=$prefix/share/man/man1/$page.1
  if command -v man >/dev/null; then
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_file" 2>"$scratch/man.err")
    [[ ! -s $scratch/man.err ]] || fail "man $page: $(cat "$scratch/man.err")"
    for section in NAME SYNOPSIS OPTIONS "EXIT STATUS"; do
      grep -q "^$section" <<<"$text" || fail "man $page has no $section"
    done
  elif command -v groff >/dev/null; then
    out=$(groff -man -Tutf8 -ww -z "$man_file" 2>&1)
    [[ -z $out ]] || fail "groff $page: $out"
  else
    skip "neither man nor groff is present, $page.1 not rendered"
  fi
done

# --version and --help need no display: with an X platform and no X server, creating the
# application would abort.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
out=$("${no_display[@]}" "$prefix/bin/kelvora" --version 2>&1)
[[ $? -eq 0 && $out == "kelvora $version" ]] || fail "kelvora --version printed '$out'"
out=$("${no_display[@]}" "$prefix/bin/kelvora" /DF --help 2>&1)
[[ $? -eq 0 && $out == Usage:\ kelvora* && $out == */DEL* ]] || fail "kelvora --help printed '$out'"
"$prefix/bin/kelvora" --version >/dev/full 2>/dev/null && fail "kelvora --version into a full disk succeeded"

"$prefix/bin/kelvora-sim" --help >/dev/null || fail "kelvora-sim --help"
answer=$(printf '\xf0\x0f\x03\x00\x40\x00\x23\xf7' | "$prefix/bin/kelvora-sim" --stdio 2>/dev/null | od -An -tx1 | tr -d ' \n')
[[ $answer == f00f0300010000f7 ]] || fail "the installed kelvora-sim answered the probe with '$answer'"

# kelvora-cli runs from the prefix with a fresh home and lists the built-in sampler's demo.
cli_home=$scratch/cli-home
mkdir -p "$cli_home"
cli=(env -i PATH="$prefix/bin:$PATH" HOME="$cli_home" XDG_CONFIG_HOME="$cli_home/config"
  XDG_STATE_HOME="$cli_home/state" ASAN_OPTIONS=detect_leaks=0)
out=$("${cli[@]}" kelvora-cli --version 2>&1)
[[ $? -eq 0 && $out == "kelvora-cli $version" ]] || fail "kelvora-cli --version printed '$out'"
out=$("${cli[@]}" kelvora-cli --device sim ls 2>&1)
[[ $? -eq 0 && $out == *"1/1/1  Sine"* ]] || fail "kelvora-cli --device sim ls printed '$out'"
"${cli[@]}" kelvora-cli --device sim ls >/dev/full 2>/dev/null && fail "kelvora-cli ls into a full disk succeeded"

# The bash completion completes commands, option values and device names.
completion=$prefix/share/bash-completion/completions/kelvora-cli
complete_line() {
  "${cli[@]}" bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _kelvora_cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@"
}
out=$(complete_line kelvora-cli fa)
[[ $out == $'fade-in\nfade-out' ]] || fail "completing 'fa' gave '$out'"
out=$(complete_line kelvora-cli --device Simu)
[[ $out == 'Simulated\ EPS-16\ PLUS' ]] || fail "completing a device gave '$out'"
out=$(complete_line kelvora-cli upload --channel l)
[[ $out == left ]] || fail "completing an upload channel gave '$out'"

# The installed program starts on the offscreen platform with a fresh home, writes its first
# settings and keeps running until it is ended.
home=$scratch/home
mkdir -p "$home/config" "$home/state" "$home/runtime" && chmod 700 "$home/runtime"
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state" \
  XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  "$prefix/bin/kelvora" >"$scratch/app.log" 2>&1 &
app_pid=$!
ini=$home/config/Kelvora/Kelvora.ini
for _ in $(seq 100); do
  [[ -s $ini ]] || ! kill -0 "$app_pid" 2>/dev/null && break
  sleep 0.1
done
sleep 1
if ! kill -0 "$app_pid" 2>/dev/null; then
  wait "$app_pid"
  fail "the installed kelvora ended by itself (exit $?): $(cat "$scratch/app.log")"
else
  [[ -s $ini ]] || fail "the installed kelvora wrote no settings to $ini"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null
fi
app_pid=

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed layout, metadata, manual pages and programs are in order"
