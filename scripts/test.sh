#!/usr/bin/env bash
# The test command.
#
#   scripts/test.sh           everything, as CI runs it: installs what is missing, compiles each
#                             configuration once (default, sanitizer, release as the Debian package,
#                             fuzz), runs every test in the first two, checks the package, runs each
#                             fuzz target for a bounded time and a six-hour soak.
#   scripts/test.sh --quick   everyday work: an incremental default build and every test not
#                             labelled slow, the layer check among them.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  -h | --help)
    sed -n '2,9s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
  *)
    echo "usage: scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac
fuzz_seconds=${ZELK_FUZZ_SECONDS:-30}
started=$SECONDS
step() { echo "== $* ($((SECONDS - started)) s)"; }

# The user's own registrations and settings must come out of the run byte for byte as they went in:
# a listing of names, kinds, modes and contents, compared at the end.
user_settings() {
  local folder
  for folder in "${HOME-}/.config/zelk" "${XDG_CONFIG_HOME:-${HOME-}/.config}/zelk"; do
    echo "== $folder"
    [ -d "$folder" ] || continue
    (cd "$folder" && find . -printf '%p %y %m %s %l\n' | LC_ALL=C sort &&
      find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum)
  done
}
settings_before=$(user_settings)
check_user_settings() {
  step "the user's registry and settings are as they were"
  if ! diff <(echo "$settings_before") <(user_settings); then
    echo "FAILED: the run changed the user's registry or settings (above)"
    exit 1
  fi
}

scripts/install-deps.sh

if ((quick)); then
  step "default: build"
  [ -f build/default/build.ninja ] || cmake --preset default >/dev/null
  cmake --build --preset default
  step "default: every test not labelled slow"
  ctest --preset default -LE slow
  check_user_settings
  step "quick tests passed"
  exit 0
fi

# The layers first: a forbidden include fails here, before anything is built; the CTest runs below
# leave out the same check (label layers), which `--quick` runs.
step "layers: every include against the layer table"
scripts/check-layers.py
scripts/check-layers.py --self-test

for preset in default sanitize; do
  step "$preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  step "$preset: test"
  ctest --preset "$preset" -LE layers
done

# The optimised build users install from is the Debian package's: its warnings differ from the
# default build's, and lintian and the package's contents are checked on it.
step "release: the Debian package"
scripts/package-deb.sh --check

step "fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan.supp:print_suppressions=0"
# One fuzz target a core at a time; each one's last lines are shown when it ends.
run_fuzzer() {
  local fuzzer=$1 name corpus work
  name=$(basename "$fuzzer")
  corpus=fuzz/corpus/${name#fuzz_}
  work=build/fuzz/corpus/${name#fuzz_}
  mkdir -p "$work"
  local seeds=() options=()
  [ -d "$corpus" ] && seeds=("$corpus")
  # fuzz/<target>.options: further options of a target (a larger -max_len for whole files).
  [ -f "fuzz/$name.options" ] && read -ra options <"fuzz/$name.options"
  local status=0
  "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 "${options[@]}" \
    "$work" "${seeds[@]}" >"build/fuzz/$name.log" 2>&1 || status=$?
  echo "== fuzz: $name for ${fuzz_seconds}s: exit $status"
  tail -n 12 "build/fuzz/$name.log"
  return "$status"
}
shopt -s nullglob
fuzzers=(build/fuzz/bin/fuzz_*)
jobs=$(nproc)
failed=0
for fuzzer in "${fuzzers[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do
    wait -n || failed=1
  done
  run_fuzzer "$fuzzer" &
done
while (($(jobs -rp | wc -l) > 0)); do
  wait -n || failed=1
done
((failed == 0)) || {
  echo "FAILED: a fuzz target found a fault (above)"
  exit 1
}

step "soak: 6 hours of signal with daily logs and a live image"
scripts/soak.sh 6

check_user_settings
step "all tests passed"
