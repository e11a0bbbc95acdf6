#!/usr/bin/env bash
# Runs corvane jpeg as a user would: several inputs and where their results go, files it must
# not replace, bad input, the coding choices and the metadata it keeps; and test and optimize
# with the options that keep GIF comments and application blocks.
# Usage: JpegCliTest.sh CORVANE SAMPLES_DIR (needs convert, djpeg, gifsicle, python3)
set -u
corvane=$(realpath "$1")
samples=$(realpath "$2")
metadata="python3 $(realpath "$(dirname "$0")")/PictureMetadata.py"
source "$(dirname "$0")/Checks.sh"
chmod 755 "$tmp"
cd "$tmp" || exit 1
jpeg() { "$corvane" jpeg "$@"; }
unprivileged() {  # runs the command as nobody when the test runs as root, who may write anywhere
  if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}
pixels() { djpeg "$1" | md5sum; }
jpeg_files() {
  for f in "$@"; do test "$(head -c 3 "$f" | od -An -tx1 | tr -d ' ')" = ffd8ff || return 1; done
}
not() { ! "$@"; }
progressive() { od -An -tx1 -v "$1" | tr -d '\n' | grep -q ' ff c2 '; }  # a progressive frame header

cp "$samples/photo.png" photo.png
convert photo.png -quality 85 photo.jpg
$metadata add photo.jpg meta.jpg
$metadata add photo.png meta.png
echo "not a picture" >text.png
mkdir results ro
chmod 555 ro

# Bad input: status, what the error output must hold (a regular expression), and the arguments.
while IFS='|' read -r expected message args; do
  eval "set -- $args"
  check "jpeg $args fails with status $expected" status "$expected" jpeg "$@"
  check "saying '$message'" grep -Eq -- "$message" err
done <<'EOF'
1|^corvane jpeg: Cannot open file missing.png: No such file or directory\.$|missing.png -o x.jpg
2|-o names the output of one INPUT|photo.png photo.jpg -o x.jpg
2|-o and --output-dir exclude each other|photo.png -o x.jpg --output-dir results
2|no folder nowhere|photo.png --output-dir nowhere
1|photo.jpg exists; pass --force to replace it|photo.png
1|would replace the input file photo.jpg|photo.png photo.jpg --force
1|results/photo.jpg was written for an earlier input|photo.png photo.jpg --output-dir results
1|Sorry, it is not a correct file format|text.png -o x.jpg
2|expects INPUT pictures|
EOF
check "a missing input" status 1 jpeg missing.png
check "is told in one line, without the message about the format" \
  test "$(cat err)" = "corvane jpeg: Cannot open file missing.png: No such file or directory."
check "an output that cannot be written fails" status 1 unprivileged "$corvane" jpeg photo.png -o ro/x.jpg
check "with the system's reason" grep -q "Cannot create file ro/x.jpg: Permission denied" err
check "and leaves nothing" test -z "$(ls ro)"

rm -rf results/*
check "several inputs into a folder" status 0 jpeg -q 75 photo.png meta.png --output-dir results
check "each written as a JPEG file" jpeg_files results/photo.jpg results/meta.jpg
check "with its sizes" test "$(grep -c '^Written: results/' out)" -eq 2
first=$(pixels results/photo.jpg)
check "a second run does not replace them" status 1 jpeg -q 90 photo.png --output-dir results
check "--force replaces them" status 0 jpeg -q 90 --force photo.png meta.png --output-dir results
check "with the new result" bash -c "test '$first' != \"\$(djpeg results/photo.jpg | md5sum)\""

check "the default result" status 0 jpeg photo.png -o default.jpg
check "--optimize-coding" status 0 jpeg photo.png --optimize-coding -o optimized.jpg
check "is smaller" test "$(stat -c %s optimized.jpg)" -lt "$(stat -c %s default.jpg)"
check "with the same pixels" test "$(pixels optimized.jpg)" = "$(pixels default.jpg)"
check "--progressive" status 0 jpeg photo.png --progressive -o progressive.jpg
check "is progressive" progressive progressive.jpg
check "with the same pixels" test "$(pixels progressive.jpg)" = "$(pixels default.jpg)"
check "and the default is not" not progressive default.jpg
jpeg "$samples/still.gif" -o a.jpg >/dev/null
check "--keep-metadata on a picture type without any" status 0 jpeg --keep-metadata "$samples/still.gif" -o b.jpg
check "gives the default result" cmp -s a.jpg b.jpg

check "the default keeps no metadata" status 0 jpeg meta.jpg -o plain.jpg
check "nor does it write any" test -z "$($metadata show plain.jpg)"
for source in meta.jpg meta.png; do
  check "--keep-metadata from $source" status 0 jpeg --keep-metadata "$source" -o "kept-$source.jpg"
  check "copies its ICC profile, EXIF block and comments" \
    test "$($metadata show "kept-$source.jpg" | sort)" = "$($metadata show meta.jpg | sort)"
done

check "a result larger than its JPEG source" status 0 jpeg -q 98 photo.jpg -o larger.jpg
check "is written and told" grep -Eq "^Larger than the source by [0-9]+ bytes; --skip-larger keeps the source's bytes$" out
check "with --skip-larger" status 0 jpeg -q 98 --skip-larger photo.jpg -o kept.jpg
check "the source's bytes are written" cmp -s kept.jpg photo.jpg
check "and told" grep -q "^Larger than the source: written with the source's bytes$" out
check "a smaller result is written as made" status 0 jpeg -q 40 --skip-larger photo.jpg -o smaller.jpg
check "with nothing told" not grep -q Larger out
check "not the source's bytes" not cmp -s smaller.jpg photo.jpg

# GIF blocks: the options, then how many comments and application blocks (not the loop
# extension) the optimized animation and still keep, and whether the still keeps its loop.
gifsicle --loopcount=forever --app-extension "XMP DataXMP" "<x:xmpmeta/>" --comment "first" \
  "$samples/ball.gif" -o anim.gif
gifsicle --loopcount=3 --app-extension "ICCRGBG1012" "profile" --comment "still" "$samples/still.gif" -o still.gif
declare -A animBytes
while IFS='|' read -r options comments blocks stillLoops; do
  rm -rf gifs
  mkdir gifs
  cp anim.gif still.gif gifs/
  check "optimize $options" status 0 "$corvane" optimize --yes $options gifs
  for f in anim still; do
    check "$f.gif shows the same" status 0 "$corvane" verify "$f.gif" "gifs/$f.gif"
    "$corvane" info "gifs/$f.gif" >"$f.info"
  done
  check "keeps $comments comments" test "$(cat anim.info still.info | grep -c '    comment:')" -eq "$comments"
  check "and $blocks application blocks" test "$(cat anim.info still.info | grep -c '    application ')" -eq "$blocks"
  check "the animation its loop extension" grep -q "loop (NETSCAPE2.0): repeat count 0" anim.info
  check "the still $stillLoops of its own" test "$(grep -c 'loop (NETSCAPE2.0)' still.info)" -eq "$stillLoops"
  animBytes[x$options]=$(stat -c %s gifs/anim.gif)
  check "test $options" status 0 "$corvane" test $options anim.gif still.gif
  check "measures what optimize writes" grep -qw "$(stat -c %s gifs/anim.gif)" out
done <<'EOF'
|0|0|0
--keep-comments|2|0|0
--keep-extensions|0|2|1
--keep-comments --keep-extensions|2|2|1
--keep-comments --keep-extensions --deep|2|2|1
EOF
check "--deep makes the animation smaller with its blocks kept" \
  test "${animBytes[x--keep-comments --keep-extensions --deep]}" -lt "${animBytes[x--keep-comments --keep-extensions]}"

finish
