#!/usr/bin/env bash
# Builds every preset's deliverables, then shows the plug-ins at work through plughost.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in linux win32; do
  echo "=== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
done
echo "=== deliverables"
ls -l build/linux/plugins build/win32/plugins
