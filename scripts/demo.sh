#!/usr/bin/env bash
# The main job: record ten minutes of the synthetic receiver signal with the headless recorder,
# writing a log and a chart image, then play the log back into a second image.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${ZELK_DEMO_DIR:-demo-output}
if [ ! -x build/release/bin/zelkchart ]; then
  scripts/build.sh release
fi
if [ ! -x build/release/bin/zelkchart ]; then
  echo "demo: the recorder is not built yet; nothing to show." >&2
  exit 0
fi
mkdir -p "$out"
build/release/bin/zelkchart --headless --input synthetic --seconds 600 \
  --log "$out/night.log" --image "$out/night.png"
build/release/bin/zelkchart --headless --playback "$out/night.log" --image "$out/playback.png"
if [ -x build/release/bin/chart_png ]; then
  build/release/bin/chart_png "$out/sine.png"
fi
echo "demo: wrote $out/night.log, $out/night.png, $out/playback.png and $out/sine.png"
