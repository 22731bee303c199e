#!/usr/bin/env bash
# Sets up the machine, then builds and runs the whole suite in every preset:
# linux (release), linux-debug (ASan+UBSan), linux-tsan (TSan), win32 and win64 (under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# GUI tests (X11 here, Win32 under Wine) need a display; start a private one when there is none.
# Xvfb picks a free display number itself and writes it to the given descriptor once it takes
# connections, so the tests start only when the display is there.
if [ -z "${DISPLAY:-}" ]; then
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$ready"' EXIT
  # The number is complete once its line ends.
  written() { [ "$(tail -c 1 "$ready" | od -An -tx1 | tr -d ' ')" = 0a ]; }
  deadline=$((SECONDS + 60))
  until written; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "Xvfb did not come up within a minute" >&2; exit 1; }
    sleep 0.01
  done
  export DISPLAY=":$(head -n 1 "$ready")"
fi

presets=${TW_PRESETS:-"linux linux-debug linux-tsan win32 win64"}
for preset in $presets; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
  echo "=== $preset: test"
  ctest --preset "$preset" -j 2
done
