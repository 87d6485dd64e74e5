#!/usr/bin/env bash
# Ten minutes of 8 kHz audio as a spectrogram at N = 512: zelkspec --headless against
# `sox FILE -n spectrogram` set up for the same transforms (512 points every 256 samples: 18749
# or 18750 of them), timed in the same run, best of three each, interleaved. Then the whole
# recording as one picture (zelkspec --full, one column per transform) against sox drawing the
# same number of columns (-x), likewise.
# Then a day of 8 kHz audio and an hour of 44.1 kHz stereo fitted into 1600 columns, once each
# (about 1.5 GB of scratch files).
# Usage: bench/spectrogram_vs_sox.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
zelkspec=$build/bin/zelkspec
if [ ! -x "$zelkspec" ]; then
  echo "spectrogram_vs_sox: build zelkspec first (cmake --build $build --target zelkspec)" >&2
  exit 2
fi
# sox is the baseline only: installed here, not by install-deps.sh.
if ! command -v sox >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  if ! DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    --no-install-recommends sox >/dev/null; then
    echo "spectrogram_vs_sox: sox is not installed and could not be; skipping" >&2
    exit 0
  fi
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A sweep over the band, 16-bit mono at 8000 per second, 600 seconds.
sox -n -r 8000 -b 16 -c 1 "$work/ten.wav" synth 600 sine 200-3800 vol 0.5
samples=$(soxi -s "$work/ten.wav")
transforms=$(( (samples - 512) / 256 + 1 ))

ours=("$zelkspec" --headless --input "$work/ten.wav" --fft 512 --log-amp --image "$work/ours.png")
# -y 257 rows make 512-point transforms; -X 31.25 columns per second a column every 256
# samples; -r leaves out the axes so the image is the columns alone.
theirs=(sox "$work/ten.wav" -n spectrogram -y 257 -X 31.25 -r -o "$work/sox.png")
measure() {  # prints elapsed seconds, CPU seconds and the largest resident size in MB
  /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@" >/dev/null 2>"$work/err" || {
    cat "$work/err" >&2
    exit 1
  }
  awk '{ printf "%.3f %.3f %.1f\n", $1, $2 + $3, $4 / 1024 }' "$work/t"
}
best_ours=999999 best_theirs=999999 cpu_ours=999999 cpu_theirs=999999
for _ in 1 2 3; do
  read -r e c _ < <(measure "${ours[@]}")
  best_ours=$(awk -v a="$best_ours" -v b="$e" 'BEGIN { print (b < a ? b : a) }')
  cpu_ours=$(awk -v a="$cpu_ours" -v b="$c" 'BEGIN { print (b < a ? b : a) }')
  read -r e c _ < <(measure "${theirs[@]}")
  best_theirs=$(awk -v a="$best_theirs" -v b="$e" 'BEGIN { print (b < a ? b : a) }')
  cpu_theirs=$(awk -v a="$cpu_theirs" -v b="$c" 'BEGIN { print (b < a ? b : a) }')
done
sox_columns=$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(struct.unpack('>I', d[16:20])[0])" "$work/sox.png" 2>/dev/null || echo "?")
echo "audio: $samples samples at 8000/s; our transforms: $transforms; sox image columns: $sox_columns"
echo "zelkspec --headless: ${best_ours} s elapsed, ${cpu_ours} s CPU (best of 3)"
echo "sox spectrogram:     ${best_theirs} s elapsed, ${cpu_theirs} s CPU (best of 3)"
awk -v a="$best_ours" -v b="$best_theirs" -v c="$cpu_ours" -v d="$cpu_theirs" \
  'BEGIN { printf "ratio sox/zelkspec: %.1fx elapsed, %.1fx CPU (target: at least 2x)\n", b / a, d / c }'

# The whole recording: zelkspec --full when the program offers it, else the same run through
# the benchmark's driver.
if "$zelkspec" --help 2>/dev/null | grep -q -- --full; then
  full=("$zelkspec" --headless --input "$work/ten.wav" --full --width 0 --log-amp --image "$work/full.png")
elif [ -x "$build/bin/bench_full_spectrogram" ]; then
  full=("$build/bin/bench_full_spectrogram" "$work/ten.wav" "$work/full.png")
else
  echo "spectrogram_vs_sox: no --full in zelkspec and no bench_full_spectrogram; skipping" >&2
  exit 0
fi
sox_full=(sox "$work/ten.wav" -n spectrogram -y 257 -x "$transforms" -r -o "$work/sox-full.png")
best_full=999999 best_sox=999999 cpu_full=999999 cpu_sox=999999
for _ in 1 2 3; do
  read -r e c _ < <(measure "${full[@]}")
  best_full=$(awk -v a="$best_full" -v b="$e" 'BEGIN { print (b < a ? b : a) }')
  cpu_full=$(awk -v a="$cpu_full" -v b="$c" 'BEGIN { print (b < a ? b : a) }')
  read -r e c _ < <(measure "${sox_full[@]}")
  best_sox=$(awk -v a="$best_sox" -v b="$e" 'BEGIN { print (b < a ? b : a) }')
  cpu_sox=$(awk -v a="$cpu_sox" -v b="$c" 'BEGIN { print (b < a ? b : a) }')
done
png_width() {
  python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(struct.unpack('>I', d[16:20])[0])" "$1" 2>/dev/null || echo "?"
}
echo "whole recording: our picture $(png_width "$work/full.png") pixels wide (40 of scale), sox's $(png_width "$work/sox-full.png")"
echo "zelkspec --full:          ${best_full} s elapsed, ${cpu_full} s CPU (best of 3)"
echo "sox spectrogram -x $transforms: ${best_sox} s elapsed, ${cpu_sox} s CPU (best of 3)"
awk -v a="$best_full" -v b="$best_sox" -v c="$cpu_full" -v d="$cpu_sox" \
  'BEGIN { printf "ratio sox/zelkspec --full: %.1fx elapsed, %.1fx CPU (target: at least 2x)\n", b / a, d / c }'

# Long recordings fitted into 1600 columns, one run each: a day of 8 kHz mono against
# `sox -x 1600` on the same file, and an hour of 44.1 kHz stereo against an hour of 8 kHz mono.
rm -f "$work"/*.png "$work/ten.wav"
sox -n -r 8000 -b 16 -c 1 "$work/day.wav" synth 86400 sine 200-3800 vol 0.5
read -r e_day c_day m_day < <(measure "$zelkspec" --headless --input "$work/day.wav" --full --width 1600 \
  --log-amp --image "$work/day.png")
read -r e_soxday c_soxday _ < <(measure sox "$work/day.wav" -n spectrogram -y 257 -x 1600 -r \
  -o "$work/sox-day.png")
echo "24 h at 8 kHz, --full --width 1600: ${e_day} s elapsed, ${c_day} s CPU;" \
  "sox -x 1600: ${e_soxday} s elapsed, ${c_soxday} s CPU (target: no more than sox)"
awk -v a="$e_day" -v b="$e_soxday" -v c="$c_day" -v d="$c_soxday" \
  'BEGIN { printf "ratio zelkspec/sox for 24 h: %.2fx elapsed, %.2fx CPU (target: at most 1x elapsed)\n", a / b, c / d }'
rm -f "$work/day.wav"
sox -n -r 8000 -b 16 -c 1 "$work/hour8.wav" synth 3600 sine 200-3800 vol 0.5
sox -n -r 44100 -b 16 -c 2 "$work/hour44.wav" synth 3600 sine 200-3800 vol 0.5
read -r e8 c8 m8 < <(measure "$zelkspec" --headless --input "$work/hour8.wav" --full --width 1600 \
  --log-amp --image "$work/h8.png")
read -r e44 c44 m44 < <(measure "$zelkspec" --headless --input "$work/hour44.wav" --full --width 1600 \
  --log-amp --image "$work/h44.png")
echo "1 h, --full --width 1600: 8 kHz mono ${e8} s elapsed, ${c8} s CPU;" \
  "44.1 kHz stereo ${e44} s elapsed, ${c44} s CPU"
echo "largest resident size: 24 h ${m_day} MB, 1 h 8 kHz ${m8} MB, 1 h 44.1 kHz ${m44} MB (target: under 64 MB)"
awk -v a="$c8" -v b="$c44" -v c="$e8" -v d="$e44" \
  'BEGIN { printf "44.1 kHz stereo costs %.1fx 8 kHz mono in CPU, %.1fx elapsed (target: at most 1.5x)\n", b / a, d / c }'
# The floor under the 44.1 kHz hour: starting the program, and reading its 635 MB from the page
# cache with nothing done with them (dd in the pieces zelkspec reads), against the 8 kHz hour.
read -r e_start _ < <(measure "$zelkspec" --help)
read -r e_read c_read _ < <(measure dd if="$work/hour44.wav" of=/dev/null bs=256k status=none)
echo "floor: starting zelkspec ${e_start} s; reading the 44.1 kHz hour alone ${e_read} s elapsed," \
  "${c_read} s CPU"
awk -v s="$e_start" -v r="$e_read" -v c="$e8" \
  'BEGIN { printf "start and read alone: %.1fx the whole 8 kHz hour elapsed\n", (s + r) / c }'
