#!/usr/bin/env bash
# Configures and builds one preset (default: "default"); installs missing packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
