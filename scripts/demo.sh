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
# The recorder's window as an operator sees it after twenty seconds of recording, on a private X
# server.
if command -v xvfb-run > /dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" build/release/bin/zelkchart \
    --input synthetic --start --seconds 20 --screenshot "$out/window.png"
  echo "demo: wrote $out/window.png"
fi
echo "demo: wrote $out/night.log, $out/night.png, $out/playback.png and $out/sine.png"
