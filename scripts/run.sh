#!/usr/bin/env bash
# Installs what is missing, builds Kelvora and starts it on the desktop session. Arguments are
# passed to the program (for example a WAV file to upload, or /DF for a debug log).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Kelvora is a desktop program: start it from a graphical session (no DISPLAY or WAYLAND_DISPLAY set)." >&2
  exit 1
fi

scripts/deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build -j"$(nproc)" --target kelvora
exec build/src/app/kelvora "$@"
