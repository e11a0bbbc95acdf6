#!/usr/bin/env bash
# Installs what is missing, builds the programs and runs the main job on samples/: the
# Test run, which shows for every sample how small its optimized encoding is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release corvane
build/release/src/cli/corvane test samples
