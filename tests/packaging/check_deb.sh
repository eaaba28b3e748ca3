#!/usr/bin/env bash
# Builds the Debian package with cpack, checks its control data and contents, and installs it
# with apt-get into a clean Debian 12 container. Without a working docker the install step is
# skipped (exit 77) after the package checks have passed.
# Usage: check_deb.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
deb=$out/kelvora_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { echo "FAIL: no $(basename "$deb") in: $(ls "$out")"; exit 1; }

info=$(dpkg-deb -I "$deb")
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for library in libc6 libstdc++6 libasound2 libsndfile1 libsoxr0 libqt6core6 libqt6widgets6 libqt6svg6 \
  qt6-qpa-plugins libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done
for field in "Section: sound" "Homepage: https://kelvora.org/" "Maintainer: " "Version: $version"; do
  grep -q "^ $field" <<<"$info" || fail "control has no '$field'"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/kelvora ./usr/bin/kelvora-sim ./usr/bin/kelvora-cli \
  ./usr/share/applications/org.kelvora.Kelvora.desktop ./usr/share/man/man1/kelvora.1 \
  ./usr/share/man/man1/kelvora-cli.1 ./usr/share/bash-completion/completions/kelvora-cli \
  ./usr/share/kelvora/help/index.html; do
  grep -qx -- "$file" <<<"$contents" || fail "the package lacks $file"
done
((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }

if ! command -v docker >/dev/null || ! docker info >/dev/null 2>&1; then
  echo "skipped: the package is built and in order, but docker is not usable here, so it was not installed into Debian 12"
  exit 77
fi
docker run --rm -v "$out:/pkg:ro" debian:12 sh -ec "
  apt-get update -qq
  apt-get install -y -qq /pkg/$(basename "$deb") >/dev/null
  kelvora --version | grep -qx 'kelvora $version'
  kelvora-sim --help >/dev/null
  kelvora-cli --device sim ls | grep -q 'Demo Synth'
  test -s /usr/share/icons/hicolor/256x256/apps/org.kelvora.Kelvora.png
  QT_QPA_PLATFORM=offscreen timeout 5 kelvora || test \$? -eq 124
" || { echo "FAIL: installing the package into Debian 12"; exit 1; }
echo "the package builds, declares its dependencies and installs into Debian 12"
