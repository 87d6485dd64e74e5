#!/usr/bin/env bash
# A long unattended recording, as fast as the machine goes: the synthetic signal with daily logs
# and a live image. Checks that every second and point was logged once, that memory stays flat
# after the first minute of signal (resident size growth under 1 MB), and that every day's log
# plays back. Usage: scripts/soak.sh HOURS   (ZELKCHART names the program to run)
set -euo pipefail
cd "$(dirname "$0")/.."
hours=${1:?usage: scripts/soak.sh HOURS}
bin=${ZELKCHART:-build/default/bin/zelkchart}
seconds=$((hours * 3600))
start_of_day=$((21 * 3600))  # 21:00:00, so that the run passes midnight after three hours
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "soak: FAILED: $*" >&2; exit 1; }

started=$(date +%s.%N)
"$bin" --headless --input synthetic:11 --seconds "$seconds" --start-time 21:00:00 \
  --start-date 2026-01-01 --rotate daily --log "$work/soak.log" \
  --image "$work/live.png" --image-every 60 --image-labels 2>"$work/stderr" &
pid=$!
baseline="" peak=0 cpu_ticks=0
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  stat=$(cat "/proc/$pid/stat" 2>/dev/null || true)
  [ -n "$rss" ] && [ -n "$stat" ] || break
  cpu_ticks=$(echo "$stat" | awk '{print $14 + $15}')
  if [ -z "$baseline" ]; then
    # Memory is measured from the end of the first minute of signal on.
    seconds_logged=$(grep -c '^"T"' "$work/soak.log" 2>/dev/null || true)
    if [ "${seconds_logged:-0}" -ge 60 ]; then
      baseline=$rss peak=$rss
    fi
  elif [ "$rss" -gt "$peak" ]; then
    peak=$rss
  fi
  sleep 0.2
done
status=0
wait "$pid" || status=$?
finished=$(date +%s.%N)
[ "$status" -eq 0 ] || { cat "$work/stderr" >&2; fail "the recording exited with $status"; }

files=("$work"/soak*.log)
times=0 points=0
for f in "${files[@]}"; do
  times=$((times + $(grep -c '^"T"' "$f" || true)))
  points=$((points + $(grep -c '^"D"' "$f" || true)))
done
days=$((1 + (start_of_day + seconds) / 86400))
cpu=$(awk -v t="$cpu_ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.1f", t / hz}')
wall=$(awk -v a="$started" -v b="$finished" 'BEGIN {printf "%.1f", b - a}')
ratio=$(awk -v s="$seconds" -v c="$cpu" 'BEGIN {printf "%.0f", (c > 0 ? s / c : 0)}')
echo "soak: $hours h of signal in ${wall} s (${cpu} CPU s, $ratio signal-s per CPU-s)"
echo "soak: ${#files[@]} logs, $times time records, $points data records"
echo "soak: resident size ${baseline:-?} kB after the first minute, peak ${peak} kB"
[ "${#files[@]}" -eq "$days" ] || fail "${#files[@]} logs, expected $days"
[ "$times" -eq "$seconds" ] || fail "$times time records, expected $seconds"
[ "$points" -eq $((20 * seconds)) ] || fail "$points data records, expected $((20 * seconds))"
[ -n "$baseline" ] || fail "the run ended before its memory could be measured"
[ $((peak - baseline)) -lt 1024 ] || fail "resident size grew by $((peak - baseline)) kB"
head -c 4 "$work/live.png" | grep -q PNG || fail "no live image"
for f in "${files[@]}"; do
  "$bin" --headless --playback "$f" 2>>"$work/stderr" || fail "$(basename "$f") does not play back"
done
echo "soak: every log plays back; passed"
