#!/usr/bin/env bash
# Installs what is missing, builds the programs and runs the main job on samples/: for now
# it shows what each sample holds and writes it again into a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release corvane
corvane=build/release/src/cli/corvane
"$corvane" info samples/*.gif
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for sample in samples/*.gif; do
  "$corvane" resave "$sample" "$out/$(basename "$sample")"
done
