#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, the address and undefined
# behaviour sanitizer build, the thread sanitizer build of the threaded tests, and every
# fuzz target for a while. Stages can be picked: scripts/test.sh release asan tsan fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(release asan tsan fuzz)
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

for stage in "${stages[@]}"; do
  echo "=== $stage ==="
  case $stage in
    release)
      configure_and_test build/release "" -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    asan)
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        configure_and_test build/asan "" -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF ;;
    tsan)
      TSAN_OPTIONS=halt_on_error=1 \
        configure_and_test build/tsan "threads" -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=thread \
          -DCORVANE_BENCH=OFF -DCORVANE_GUI=OFF ;;
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
