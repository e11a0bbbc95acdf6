#!/usr/bin/env bash
# Runs 'corvane frames' as a user would: on the samples, with --size, and on files it must
# refuse. Usage: FramesCliTest.sh CORVANE SAMPLES_DIR
set -u
corvane=$1
samples=$2
source "$(dirname "$0")/Checks.sh"
png_size() {  # file: "W H" from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }'
}

for sample in "$samples"/*.gif; do
  name=$(basename "$sample" .gif)
  check "frames of $name" status 0 "$corvane" frames "$sample" "$tmp/$name"
  check "a line per picture of $name" test "$(wc -l <"$tmp/out")" -eq "$(ls "$tmp/$name" | wc -l)"
done
check "ball.gif shows its 10 frames once" test "$(ls "$tmp/ball" | wc -l)" -eq 10
check "named by index and time" test -f "$tmp/ball/0000_0ms.png" -a -f "$tmp/ball/0001_96ms.png"
check "the pictures are PNG files of the screen's size" test "$(png_size "$tmp/ball/0001_96ms.png")" = "120 90"
check "a still picture gives one file" test "$(ls "$tmp/still" | wc -l)" -eq 1
status 0 "$corvane" frames "$samples/ball.gif" "$tmp/ball"
check "the lines tell the frame and the time" grep -qx "picture 1: frame 2 of 10 at 96 ms, 0001_96ms.png" "$tmp/out"

check "--size stretches the pictures" status 0 "$corvane" frames --size 60x45 "$samples/ball.gif" "$tmp/small"
check "to the size asked for" test "$(png_size "$tmp/small/0003_288ms.png")" = "60 45"
check "a bad size is a usage error" status 2 "$corvane" frames --size 60x "$samples/ball.gif" "$tmp/bad"
check "and writes nothing" test ! -e "$tmp/bad"
check "one input and one directory are needed" status 2 "$corvane" frames "$samples/ball.gif"
check "a missing file fails" status 1 "$corvane" frames "$tmp/missing.gif" "$tmp/missing"
check "with the reason" grep -q "Cannot open file" "$tmp/err"

# A 1 x 1 frame on a screen of 65535 x 65535, and on one of 0 x 0.
gif() { printf 'GIF89a%b\x80\x00\x00\xff\x00\x00\x00\x00\xff\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b' "$1"; }
gif '\xff\xff\xff\xff' >"$tmp/huge.gif"
gif '\x00\x00\x00\x00' >"$tmp/zero.gif"
check "a huge screen is refused" status 1 "$corvane" frames "$tmp/huge.gif" "$tmp/huge"
check "clearly" grep -q "Image too large to draw (65535 x 65535 pixels)" "$tmp/err"
check "a screen without area is refused" status 1 "$corvane" frames "$tmp/zero.gif" "$tmp/zero"
check "clearly" grep -q "The logical screen has no area" "$tmp/err"
check "frames --help" status 0 "$corvane" frames --help
check "tells the usage" grep -q "Usage: corvane frames" "$tmp/out"

finish
