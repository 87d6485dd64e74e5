#!/usr/bin/env bash
# The recorder window recording synthetic:vlf in real time for SECONDS (default 60) on a private
# X server, with eight stations and without: the CPU time of zelkchart alone (user + system) over
# the run's wall time, as a share of one core, and the stations' own share as the difference.
# Usage: bench/window_stations.sh [BUILD_DIR] [SECONDS]   (default build/default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
seconds=${2:-60}
zelkchart=$(realpath "$build/bin/zelkchart")
if [ ! -x "$zelkchart" ] || ! command -v xvfb-run >/dev/null; then
  echo "window_stations: needs $build/bin/zelkchart and xvfb-run" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/sid"
stations="--station NWC:19800:200 --station NPM:21400 --station NAA:24000 --station NAU:40750
  --station GBZ:19580:200 --station JXN:16400 --station NLK:24800 --station DHO38:23400"
run() {  # name, extra options
  XDG_CONFIG_HOME=$work xvfb-run -a /usr/bin/time -f "%U %S %e" -o "$work/$1.time" \
    "$zelkchart" --input synthetic:vlf --start --seconds "$seconds" $2 >/dev/null 2>&1
  awk -v name="$1" '{ printf "%-18s cpu %.2f s over %.1f s: %.2f%% of a core\n", name, $1 + $2, $3,
    100 * ($1 + $2) / $3 }' "$work/$1.time"
}
run "eight stations" "$stations --sid-dir $work/sid"
run "no stations" ""
paste "$work/eight stations.time" "$work/no stations.time" |
  awk '{ printf "what the stations add: %.2f%% of a core\n", 100 * (($1 + $2) - ($4 + $5)) / $3 }'
