#!/usr/bin/env bash
# Installs the Debian packages that building, testing, fuzzing, benchmarking and packaging
# need. With --cli only those of the command-line build (-DCORVANE_GUI=OFF): its programs,
# tests, benchmarks and package, and no Qt.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libpng-dev libtiff-dev zlib1g-dev
  libmagick++-6.q16-dev libmagickcore-6.q16-6-extra imagemagick
  libemf2svg-dev librsvg2-dev libcairo2-dev
  libgtest-dev libgmock-dev libbenchmark-dev libgif-dev
  gifsicle jpegoptim python3 bsdutils
  dpkg-dev file
)
case ${1:-} in
  --cli) ;;
  "")
    packages+=(
      qt6-base-dev xvfb xauth openbox xdotool fonts-liberation fonts-wqy-microhei  # the desktop program and its tests
      clang libclang-rt-14-dev                                     # the fuzz targets
    ) ;;
  *)
    echo "usage: $0 [--cli]" >&2
    exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
