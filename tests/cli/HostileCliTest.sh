#!/usr/bin/env bash
# Runs the corvane program on what it must refuse or bound: pipes and devices given as files or
# found in folders, and tiny files that declare huge frames, within a small memory budget.
# Usage: HostileCliTest.sh CORVANE SAMPLES_DIR (needs gifsicle)
set -u
corvane=$1
samples=$2
source "$(dirname "$0")/Checks.sh"

mkfifo "$tmp/pipe.gif"
# A hang would stop the run here: nothing writes to the pipe.
for command in info frames resave jpeg; do
  case $command in
    frames) args=("$tmp/pipe.gif" "$tmp/frames") ;;
    resave) args=("$tmp/pipe.gif" "$tmp/out.gif") ;;
    *) args=("$tmp/pipe.gif") ;;
  esac
  check "$command refuses a pipe" status 1 timeout 60 "$corvane" "$command" "${args[@]}"
done
check "verify refuses a pipe" status 2 timeout 60 "$corvane" verify "$tmp/pipe.gif" "$samples/still.gif"
check "naming it" grep -q "Cannot open file $tmp/pipe.gif" "$tmp/err"
check "info refuses an endless device" status 1 timeout 60 "$corvane" info /dev/zero
ln -s /dev/zero "$tmp/zero.gif"
check "also through a link" status 1 timeout 60 "$corvane" info "$tmp/zero.gif"

mkdir "$tmp/folder"
cp "$samples/still.gif" "$tmp/folder/"
mkfifo "$tmp/folder/pipe.gif"
check "a folder with a pipe is tested" status 1 timeout 60 "$corvane" test -j 1 "$tmp/folder"
check "the pipe has a row" grep -q "^$tmp/folder/pipe.gif  *skipped: not a regular file$" "$tmp/out"
check "the picture too" grep -q "still.gif" "$tmp/out"

# Eight frames of 65535 x 4096 pixels in 137 bytes: each frame's data sets one pixel.
{
  printf 'GIF89a\xff\xff\x00\x10\x80\x00\x00\x00\x00\x00\xff\xff\xff'
  for _ in 1 2 3 4 5 6 7 8; do printf '\x2c\x00\x00\x00\x00\xff\xff\x00\x10\x00\x02\x02\x4c\x01\x00'; done
  printf '\x3b'
} >"$tmp/tiny.gif"
check "a tiny file of huge frames is tested within 1 MB of frame pixels" \
  status 0 "$corvane" test -j 2 --max-memory 1 "$tmp/tiny.gif" "$tmp/tiny.gif"
check "its frames are played" status 0 "$corvane" info "$tmp/tiny.gif"
check "and resaved" status 0 "$corvane" resave "$tmp/tiny.gif" "$tmp/tiny2.gif"
check "verify tells at once that viewers leave most of it" status 2 "$corvane" verify "$tmp/tiny.gif" "$tmp/tiny2.gif"
check "naming the first image" grep -q "The data of image 0 ends before its last pixel" "$tmp/err"

gifsicle --resize 1200x1000 "$samples/still.gif" >"$tmp/big.gif"
check "a file beyond the budget fails" status 1 "$corvane" test --max-memory 1 "$tmp/big.gif" "$samples/still.gif"
check "telling the sizes" grep -q "Not enough memory: the file needs more than [0-9]* bytes of pixels, and the memory budget is 1048576 bytes" "$tmp/out"
check "the next file is tested" grep -q "^$samples/still.gif .*%  can shrink$" "$tmp/out"
finish
