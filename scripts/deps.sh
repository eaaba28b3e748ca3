#!/usr/bin/env bash
# Installs the Debian 12 packages Kelvora needs, when any is missing.
# Usage: deps.sh [build] [test] [fuzz]   (no argument: all three)
#   build: what building and running the programs needs (scripts/run.sh)
#   test:  the test frameworks and tools the suite uses, and clang for the sanitizer build
#   fuzz:  clang and its runtime for the libFuzzer targets
set -euo pipefail

build=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev
  libasound2-dev libsndfile1-dev libsoxr-dev libcli11-dev
  # Loaded at run time: the platform plugins and what Qt Multimedia's back-end plays WAV with.
  qt6-qpa-plugins gstreamer1.0-plugins-base gstreamer1.0-plugins-good
)
test=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  sox dbus-daemon
  clang
  desktop-file-utils appstream dpkg-dev file
  qemu-system-x86 busybox-static cpio
)
fuzz=(clang)

lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(build test fuzz)
wanted=()
for list in "${lists[@]}"; do
  case $list in
    build) wanted+=("${build[@]}") ;;
    test) wanted+=("${test[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    *) echo "deps.sh: no package list '$list' (build, test, fuzz)" >&2; exit 2 ;;
  esac
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=0
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ $updated = 0 ]; then
    $sudo apt-get update
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

install_missing "${wanted[@]}"
# The sanitizer and fuzzer runtimes come with the clang release that `clang` runs.
if [[ " ${wanted[*]} " == *" clang "* ]]; then
  install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
fi
