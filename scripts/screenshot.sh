#!/usr/bin/env bash
# Builds the desktop program and photographs its two tabs in a virtual X server with a
# window manager: docs/gif-tab.png with copies of the GIF files of samples/ (and one file
# that is no GIF) optimized and the first one selected, so that the rows show what the run
# did and both panes show the first file, and docs/jpg-tab.png with samples/photo.png open
# (scripts/make-sample-photo.sh draws it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release corvane-gui
mkdir -p docs

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shopt -s nullglob nocaseglob
cp samples/*.gif "$work/"
printf 'not a picture\n' >"$work/notes.gif"
samples=("$work"/*.gif)

shoot() {  # picture, program arguments...
  local picture=$1
  shift
  CORVANE_SCREENSHOT="$picture" xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'openbox & sleep 0.5; exec "$@"' sh build/release/src/app/corvane-gui "$@"
  echo "wrote $picture"
}
shoot docs/gif-tab.png --tab=gif --optimize --select=1 "${samples[@]}"
shoot docs/jpg-tab.png --open=samples/photo.png
