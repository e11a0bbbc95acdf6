#!/usr/bin/env bash
# Builds the desktop program and photographs its two tabs in a virtual X server:
# docs/gif-tab.png with the GIF files of samples/ listed and tested and the first one
# selected, so that both panes show it, and docs/jpg-tab.png with
# samples/photo.png open (scripts/make-sample-photo.sh draws it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release corvane-gui
mkdir -p docs

shopt -s nullglob nocaseglob
samples=(samples/*.gif)
shoot() {  # picture, program arguments...
  local picture=$1
  shift
  CORVANE_SCREENSHOT="$picture" xvfb-run -a -s "-screen 0 1024x768x24" build/release/src/app/corvane-gui "$@"
  echo "wrote $picture"
}
shoot docs/gif-tab.png --tab=gif --test-all --select=1 "${samples[@]}"
shoot docs/jpg-tab.png --open=samples/photo.png
