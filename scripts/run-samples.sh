#!/usr/bin/env bash
# Installs what is missing, builds the programs and runs the main job on samples/: for now
# it shows what each sample holds, writes it again into a temporary folder and writes the
# pictures each one shows.
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
  "$corvane" frames "$sample" "$out/$(basename "$sample" .gif)-frames"
done
