#!/usr/bin/env bash
# The test command.
#
#   scripts/test.sh           everything, as CI runs it: installs what is missing, compiles each
#                             configuration once (release as the Debian package, sanitizer, the
#                             fuzz targets), runs every test in the first two, checks the package,
#                             runs each fuzz target for a bounded time and a six-hour soak.
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
# Each fuzz target is led by the coverage of every library it drives; 20 s a target.
fuzz_seconds=${ZELK_FUZZ_SECONDS:-20}
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

# The suite runs on the optimised build users install, the Debian package's (its warnings differ
# from the everyday build's), which is then packaged, checked by lintian and for its contents; then
# under the sanitizers. Each configuration is compiled once; `--quick`'s everyday build is not
# among them.
step "deb: configure and build, with the tests and benchmarks"
cmake --preset deb -DZELK_BUILD_TESTS=ON -DZELK_BUILD_BENCH=ON >/dev/null
cmake --build --preset deb
step "deb: test"
ctest --preset deb -LE layers
step "deb: the Debian package"
scripts/package-deb.sh --check

step "sanitize: configure and build"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
step "sanitize: test"
ctest --preset sanitize -LE layers

step "fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_all
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
ZELKCHART=build/deb/bin/zelkchart scripts/soak.sh 6

check_user_settings
step "all tests passed"
