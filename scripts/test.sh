#!/usr/bin/env bash
# Sets up the machine, then builds and runs the whole suite in every preset:
# linux (release), linux-debug (ASan+UBSan), linux-tsan (TSan), win32 and win64 (under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# GUI tests (X11 here, Win32 under Wine) need a display; start a private one when there is none.
if [ -z "${DISPLAY:-}" ]; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=$display
  sleep 1
fi

presets=${TW_PRESETS:-"linux linux-debug linux-tsan win32 win64"}
for preset in $presets; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
  echo "=== $preset: test"
  ctest --preset "$preset" -j 2
done
