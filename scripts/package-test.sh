#!/usr/bin/env bash
# Installs the default build into a scratch prefix and builds and runs an outside program
# against it with find_package(Zelk).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=build/package/prefix
rm -rf build/package
# Installing registers the control: into the scratch registry and configuration folder, never the
# user's.
ZELK_REGISTRY="$PWD/build/package/registry" XDG_CONFIG_HOME="$PWD/build/package/config" \
  cmake --install build/default --prefix "$prefix" >/dev/null
cmake -S tests/package -B build/package/consumer -G Ninja -DCMAKE_PREFIX_PATH="$PWD/$prefix" >/dev/null
cmake --build build/package/consumer >/dev/null
ZELK_REGISTRY="$PWD/build/package/registry" build/package/consumer/consumer
