#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, its Debian packages unpacked and
# run, the address and undefined behaviour sanitizer build, the thread sanitizer build of
# the threaded tests, and every fuzz target for a while. Stages can be picked:
# scripts/test.sh release package asan tsan fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(release package asan tsan fuzz)
jobs=$(nproc)
fuzz_seconds=${CORVANE_FUZZ_SECONDS:-60}

configure_and_test() {  # dir, label regex or "", cmake options...
  local dir=$1 labels=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
  ninja -C "$dir"
  if [ -n "$labels" ]; then
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" -L "$labels"
  else
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  fi
}

expect() {  # description, then a command that must succeed
  local what=$1
  shift
  "$@" || { echo "FAIL: $what" >&2; exit 1; }
}

# Makes the Debian packages of the release build, unpacks them into a scratch root and runs
# the programs from there.
package_and_run() {
  local dir=build/release deb version
  cmake -S . -B "$dir" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C "$dir"
  rm -rf "$dir/packages" "$dir/package-root"
  (cd "$dir" && cpack -B packages >/dev/null)
  for deb in "$dir"/packages/*.deb; do
    expect "$deb depends on the libraries' packages" grep -q libjpeg62-turbo <(dpkg-deb -f "$deb" Depends)
    dpkg-deb -x "$deb" "$dir/package-root"
  done
  version=$(dpkg-deb -f "$dir"/packages/corvane_*.deb Version)
  local root=$dir/package-root/usr
  expect "corvane --version" [ "$("$root/bin/corvane" --version)" = "corvane $version" ]
  expect "corvane-gui --version" [ "$("$root/bin/corvane-gui" --version)" = "corvane-gui $version" ]
  for file in man/man1/corvane.1.gz doc/corvane/copyright doc/corvane-gui/copyright applications/corvane-gui.desktop \
    icons/hicolor/scalable/apps/corvane-gui.svg; do
    expect "the packages hold $file" [ -s "$root/share/$file" ]
  done
  echo "$(cd "$dir/packages" && echo *.deb) unpacked; corvane $version runs"
}

for stage in "${stages[@]}"; do
  echo "=== $stage ==="
  case $stage in
    release)
      configure_and_test build/release "" -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    package)
      package_and_run ;;
    asan)
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        configure_and_test build/asan "" -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF ;;
    tsan)
      # Qt is kept out of sight: the command-line build must not look for it.
      TSAN_OPTIONS=halt_on_error=1 \
        configure_and_test build/tsan "threads" -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=thread \
          -DCORVANE_BENCH=OFF -DCORVANE_GUI=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON ;;
    fuzz)
      cmake -S . -B build/fuzz -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON \
        -DCORVANE_GUI=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
      ninja -C build/fuzz
      for target in build/fuzz/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        corpus=build/fuzz/corpus/$name
        mkdir -p "$corpus"
        seeds=()
        [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
        echo "--- $name for ${fuzz_seconds}s"
        "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
          "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
      done ;;
    *)
      echo "unknown stage '$stage'" >&2
      exit 2 ;;
  esac
done
echo "=== all stages passed ==="
