#!/usr/bin/env bash
# Builds every preset's deliverables, then shows the plug-ins at work through plughost.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in linux win32 win64; do
  echo "=== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j 2
done

host=build/linux/bin/plughost
plugins=build/linux/plugins
out=build/demo
mkdir -p "$out"

echo; echo "=== the deliverables"
ls -l build/linux/plugins/*.so build/linux/plugins/*.rsr
echo "32-bit Windows:"; ls -l build/win32/plugins/*.dll build/win32/plugins/*.rsr
echo "64-bit Windows:"; ls -l build/win64/plugins/*.dll

echo; echo "=== plughost info +msgrid"
$host info $plugins/msgrid_vst.so

echo; echo "=== +msgrid: encode left/right to mid/side, then decode it back"
python3 scripts/wavtool.py tone "$out/tone.wav" 4
$host process $plugins/msgrid_vst.so "$out/tone.wav" "$out/midside.wav"
$host process $plugins/msgrid_vst.so "$out/midside.wav" "$out/decoded.wav" --param 2=1
python3 scripts/wavtool.py compare "$out/tone.wav" "$out/decoded.wav"
echo "decoded output equals the input"

echo; echo "=== plughost info +squeezr"
$host info $plugins/squeezr_vst.so

echo; echo "=== +squeezr: 4:1 above -20 dB, fast attack"
$host process $plugins/squeezr_vst.so "$out/tone.wav" "$out/squeezed.wav" \
  --param 0=0.8571429 --param 1=0.6666667 --param 2=0
python3 scripts/wavtool.py peak "$out/tone.wav"
python3 scripts/wavtool.py peak "$out/squeezed.wav"

echo; echo "=== plughost info +vectorgram"
$host info $plugins/vectorgram_vst.so

echo; echo "=== +vectorgram: audio passes through untouched"
$host process $plugins/vectorgram_vst.so "$out/tone.wav" "$out/passed.wav"
python3 scripts/wavtool.py compare "$out/tone.wav" "$out/passed.wav"

echo; echo "=== plughost info +vectorgram for Pro Tools"
$host info $plugins/vectorgram_rtas.so

echo; echo "=== +vectorgram for Pro Tools: one insert, control 2 in the middle (261 samples), then bypassed"
$host process $plugins/vectorgram_rtas.so "$out/tone.wav" "$out/passed-rtas.wav" --control 2=0
python3 scripts/wavtool.py compare "$out/tone.wav" "$out/passed-rtas.wav"
$host process $plugins/vectorgram_rtas.so "$out/tone.wav" "$out/bypassed-rtas.wav" --bypass
python3 scripts/wavtool.py compare "$out/tone.wav" "$out/bypassed-rtas.wav"

echo; echo "=== editors: each plug-in that has one, opened by plughost and pictured"
pictures=build/linux/demo
mkdir -p "$pictures"
for so in "$plugins"/*.so; do
  name=$(basename "$so" .so)
  case "$name" in testeditor*) continue ;; esac  # the framework's test editors, not products
  if $host info "$so" | grep -q '^editor: *none$'; then
    echo "$name: no editor"
    continue
  fi
  $host editor "$so" "$pictures/$name-editor.png" | grep -E '^(editor|picture|idle CPU):' | sed "s/^/$name: /"
done
echo "editor pictures in $pictures"
echo; echo "demo done: files in $out"
