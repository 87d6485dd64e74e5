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
# A headless run never empties a log that holds records: start the demo's logs afresh.
rm -f "$out"/night*.log "$out"/second-run*.log
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
# The spectrograph: a minute of the synthetic signal, and a rising chirp from 100 Hz to 3.9 kHz.
if [ -x build/release/bin/zelkspec ]; then
  build/release/bin/zelkspec --headless --input synthetic --seconds 60 --log-amp --palette HSV \
    --image "$out/spectrogram.png"
  if command -v python3 >/dev/null; then
    python3 - "$out/chirp.wav" <<'PY'
import math, struct, sys, wave
rate, seconds, low, high = 8000, 20, 100.0, 3900.0
phase, frames = 0.0, bytearray()
for i in range(rate * seconds):
    phase += 2 * math.pi * (low + (high - low) * i / (rate * seconds)) / rate
    frames += struct.pack("<h", int(12000 * math.sin(phase)))
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(bytes(frames))
PY
    build/release/bin/zelkspec --headless --input "$out/chirp.wav" --log-amp --palette Hot \
      --window Blackman --image "$out/chirp.png"
    echo "demo: wrote $out/spectrogram.png and $out/chirp.png"
  else
    echo "demo: wrote $out/spectrogram.png (no python3 to make the chirp)"
  fi
fi
# The whole minute with its whistles and the whole chirp, one column per transform, once the
# spectrograph takes --full; then the ten-minute log overlaid with a second run as a day plot.
if [ -x build/release/bin/zelkspec ] && build/release/bin/zelkspec --help 2>/dev/null | grep -q -- --full; then
  build/release/bin/zelkspec --headless --input synthetic --seconds 60 --full --log-amp \
    --palette HSV --colorbar --image "$out/spectrogram.png"
  if [ -f "$out/chirp.wav" ]; then
    build/release/bin/zelkspec --headless --input "$out/chirp.wav" --full --width 1200 \
      --log-amp --palette Hot --window Blackman --image "$out/chirp.png"
  fi
  echo "demo: wrote the whole minute to $out/spectrogram.png and the whole chirp to $out/chirp.png"
fi
if build/release/bin/zelkchart --help 2>/dev/null | grep -q -- --plot; then
  build/release/bin/zelkchart --headless --input synthetic:2 --seconds 600 \
    --log "$out/second-run.log" --image "$out/second-run.png"
  build/release/bin/zelkchart --plot "$out/night.log" "$out/second-run.log" \
    --image "$out/day-plot.png"
  echo "demo: wrote $out/day-plot.png (the ten-minute log overlaid with a second run)"
fi
# Four VLF transmitters of the synthetic receiver recorded as stations for ten minutes, their SID
# files plotted in dB.
if build/release/bin/zelkchart --help 2>/dev/null | grep -q -- --sid-dir; then
  rm -rf "$out/sid" && mkdir -p "$out/sid"
  build/release/bin/zelkchart --headless --input synthetic:vlf --seconds 600 \
    --station NWC:19800 --station NPM:21400 --station NAA:24000 --station NAU:40750 \
    --sid-dir "$out/sid" --site-name demo
  build/release/bin/zelkchart --plot "$out"/sid/demo_*.csv --image "$out/stations.png"
  echo "demo: wrote the stations' SID files to $out/sid and their day plot to $out/stations.png"
fi
# Ten minutes of the synthetic meteor-scatter receiver, its echoes counted into the three files
# and drawn as one picture with a tick over each echo counted.
if build/release/bin/zelkspec --help 2>/dev/null | grep -q -- --echoes; then
  rm -f "$out/echoes.csv" "$out/echo-counts.csv" "$out"/echo-rmob*.txt
  build/release/bin/zelkspec --headless --input synthetic:meteors --seconds 600 --full \
    --width 1200 --log-amp --echoes 800:1200 --start-date 2026-12-13 --start-time 23:55 \
    --events "$out/echoes.csv" --counts "$out/echo-counts.csv" --rmob "$out/echo-rmob.txt" \
    --image "$out/echoes.png"
  echo "demo: counted echoes into $out/echoes.csv, $out/echo-counts.csv, $out/echo-rmob*.txt;" \
    "the picture is $out/echoes.png"
fi
