#!/usr/bin/env bash
# The one test command: installs what is missing, builds the default, sanitizer and release presets,
# runs every test in the first two, then runs each fuzz target for a bounded time on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${ZELK_FUZZ_SECONDS:-30}

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

scripts/install-deps.sh

# The layers first: a forbidden include fails here, before anything is built.
echo "== layers: every include against the layer table"
scripts/check-layers.py
scripts/check-layers.py --self-test

for preset in default sanitize; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset"
done

echo "== docs: manual pages, --help texts and the README's examples agree with the programs"
scripts/check-docs.sh build/default/bin

# The optimised build users install from (README) must build too: its warnings differ.
echo "== release: configure and build"
cmake --preset release >/dev/null
cmake --build --preset release

echo "== package: install and build an outside program with find_package(Zelk)"
scripts/package-test.sh

echo "== desktop: launcher entries, metadata and file type; the Debian package"
desktop/check_metadata.sh desktop
scripts/package-deb.sh --check

echo "== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan.supp:print_suppressions=0"
for fuzzer in build/fuzz/bin/fuzz_*; do
  name=$(basename "$fuzzer")
  corpus=fuzz/corpus/${name#fuzz_}
  work=build/fuzz/corpus/${name#fuzz_}
  mkdir -p "$work"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  # fuzz/<target>.options: further options of a target (a larger -max_len for whole files).
  options=()
  [ -f "fuzz/$name.options" ] && read -ra options <"fuzz/$name.options"
  echo "== fuzz: $name for ${fuzz_seconds}s"
  "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 "${options[@]}" \
    "$work" "${seeds[@]}" \
    2>&1 | tail -n 12
  test "${PIPESTATUS[0]}" -eq 0
done
echo "== soak: 6 hours of signal with daily logs and a live image"
scripts/soak.sh 6

echo "== the user's registry and settings are as they were"
if ! diff <(echo "$settings_before") <(user_settings); then
  echo "FAILED: the run changed the user's registry or settings (above)"
  exit 1
fi

echo "== all tests passed"
