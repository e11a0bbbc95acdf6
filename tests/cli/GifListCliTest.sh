#!/usr/bin/env bash
# Runs corvane test, optimize and verify as a user would, on copies of the samples and of
# the generated animations. Usage: GifListCliTest.sh CORVANE MAKE_ANIMATIONS SAMPLES_DIR
set -u
corvane=$1
make_animations=$2
samples=$3
source "$(dirname "$0")/Checks.sh"
fresh() {  # a folder of copies of the samples: $tmp/work
  rm -rf "$tmp/work" "$tmp/backup"
  mkdir -p "$tmp/work/sub" "$tmp/backup"
  cp "$samples"/*.gif "$tmp/work/"
  mv "$tmp/work/still.gif" "$tmp/work/sub/STILL.GIF"
  echo "not a picture" >"$tmp/work/notes.txt"
}
same_as_samples() {  # every file of $tmp/work shows what its sample shows
  local f
  for f in "$samples"/*.gif; do
    local name
    name=$(basename "$f")
    local copy="$tmp/work/$name"
    [ "$name" = still.gif ] && copy="$tmp/work/sub/STILL.GIF"
    "$corvane" verify "$f" "$copy" >/dev/null || return 1
  done
}

fresh
check "test on a folder" status 0 "$corvane" test "$tmp/work"
check "one row per GIF file found below it, then the total" test "$(wc -l <"$tmp/out")" -eq 5
check "upper-case extensions in sub-folders are found" grep -q "^$tmp/work/sub/STILL.GIF " "$tmp/out"
check "a row shows the path as given, size, optimized size, reduction and outcome" \
  grep -Eq "^$tmp/work/ball\.gif +4893 +[0-9]+ +[0-9]+%  can shrink$" "$tmp/out"
check "the closing line" grep -Eq "^Total saved :  [0-9]+ bytes \([0-9]+%\) in 4 files$" "$tmp/out"
check "test changes nothing" cmp -s "$samples/ball.gif" "$tmp/work/ball.gif"
check "no progress line when the error output is not a terminal" test ! -s "$tmp/err"

mkdir -p "$tmp/work/.cache"
cp "$samples/ball.gif" "$tmp/work/.hidden.gif"
cp "$samples/ball.gif" "$tmp/work/.cache/ball.gif"
check "hidden files and folders below a folder are left out" \
  bash -c "'$corvane' test '$tmp/work' >'$tmp/out' && ! grep -Eq '/\.(hidden|cache)' '$tmp/out'"
check "hidden files and folders named explicitly are taken" \
  bash -c "'$corvane' test '$tmp/work/.hidden.gif' '$tmp/work/.cache' | grep -c 'can shrink' | grep -qx 2"
rm -rf "$tmp/work/.cache" "$tmp/work/.hidden.gif"

check "test --json" status 0 "$corvane" test --json "$tmp/work"
check "rows and total are JSON objects" python3 -c '
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1])]
assert all(r["result"] == "complete" and r["size"] > 0 for r in rows[:-1]), rows
assert rows[-1]["total_saved"] == sum(r["size"] - r["optimized"] for r in rows[:-1] if r["optimized"] < r["size"])' "$tmp/out"

check "-j 1 and -j 3 print the same rows" bash -c "'$corvane' test -j 1 '$tmp/work' > '$tmp/j1' && '$corvane' test -j 3 '$tmp/work' > '$tmp/j3' && cmp -s '$tmp/j1' '$tmp/j3'"

check "a listed file that is not a GIF fails its row" status 1 "$corvane" test "$tmp/work/notes.txt" "$tmp/work/ball.gif"
check "with its size and the reader's message" grep -Eq "^$tmp/work/notes\.txt +14  +failed: Invalid GIF signature$" "$tmp/out"
check "and the run goes on" grep -q "^$tmp/work/ball.gif " "$tmp/out"
check "a missing file fails its row" status 1 "$corvane" test "$tmp/missing.gif" "$tmp/work/ball.gif"
check "with the open message and the reason" grep -Eq "^$tmp/missing.gif +failed: Cannot open file $tmp/missing.gif: No such file or directory$" "$tmp/out"
check "and the run goes on" grep -q "^$tmp/work/ball.gif " "$tmp/out"
check "test without files is a usage error" status 2 "$corvane" test
check "a bad -j is a usage error" status 2 "$corvane" test -j 0 "$tmp/work"

check "optimize without a terminal or --yes refuses" status 2 "$corvane" optimize "$tmp/work" </dev/null
check "in one line" test "$(wc -l <"$tmp/err")" -eq 1
check "and changes nothing" cmp -s "$samples/ball.gif" "$tmp/work/ball.gif"

check "optimize --yes --backup" status 0 "$corvane" optimize --yes --backup "$tmp/backup" "$tmp/work"
check "replaces the files that get smaller" test "$(stat -c %s "$tmp/work/ball.gif")" -lt "$(stat -c %s "$samples/ball.gif")"
check "leaves the others as they were" cmp -s "$samples/interlaced.gif" "$tmp/work/interlaced.gif"
check "every file shows what it showed" same_as_samples
check "backups are byte for byte" cmp -s "$samples/ball.gif" "$tmp/backup$tmp/work/ball.gif"
check "also of files not replaced" cmp -s "$samples/interlaced.gif" "$tmp/backup$tmp/work/interlaced.gif"
check "a second run saves nothing more" status 0 "$corvane" optimize --yes "$tmp/work"
check "and says so" grep -q "^Total saved :  0 bytes (0%) in 4 files$" "$tmp/out"

fresh
check "a path listed twice, on workers" status 0 "$corvane" optimize --yes -j 2 "$tmp/work/ball.gif" "$tmp/work/interlaced.gif" "$tmp/work/./ball.gif"
check "is optimized in list order: the second time reads the rewritten file" \
  test "$(awk 'NR == 3 { print $2 }' "$tmp/out")" = "$(awk 'NR == 1 { print $3 }' "$tmp/out")"
check "rows in list order" bash -c "cut -d' ' -f1 '$tmp/out' | head -3 | tr '\n' ' ' | grep -q '^$tmp/work/ball.gif $tmp/work/interlaced.gif $tmp/work/./ball.gif '"

fresh
check "the terminal's answer No starts nothing" bash -c "printf 'n\n' | script -qec '$corvane optimize $tmp/work/ball.gif' /dev/null > '$tmp/tty'; [ \$? -eq 1 ]"
check "after the question" grep -q "Are you sure that you want to Optimize all the GIF files ?" "$tmp/tty"
check "the file is as it was" cmp -s "$samples/ball.gif" "$tmp/work/ball.gif"
check "the answer y optimizes" bash -c "printf 'y\n' | script -qec '$corvane optimize $tmp/work/ball.gif' /dev/null > '$tmp/tty'"
check "with the progress line on the terminal" grep -q "1 / 1 files" "$tmp/tty"
check "and the file replaced" test "$(stat -c %s "$tmp/work/ball.gif")" -lt "$(stat -c %s "$samples/ball.gif")"

"$make_animations" "$tmp" || exit 1
mkdir -p "$tmp/many"
for i in $(seq 10 49); do cp "$tmp/large-frames.gif" "$tmp/many/f$i.gif"; done
"$corvane" optimize --yes -j 1 "$tmp/many" >"$tmp/out" 2>"$tmp/err" &
pid=$!
for _ in $(seq 1 400); do [ -s "$tmp/out" ] && break; sleep 0.01; done
kill -INT "$pid"
wait "$pid"
check "Ctrl-C stops the run" test $? -eq 130
check "only the last row, of the file under work, may lack its results" \
  bash -c "head -n -2 '$tmp/out' | grep -Evq '%  replaced$' && exit 1; tail -n 2 '$tmp/out' | head -1 | grep -Eq '(%  replaced|/f[0-9]+\.gif +824618 .*aborted: left as it was)$'"
replaced=$(for f in "$tmp"/many/*.gif; do cmp -s "$f" "$tmp/large-frames.gif" || echo "$f"; done | wc -l)
rows=$(grep -Ec '%  replaced$' "$tmp/out")
check "exactly the files with complete rows were replaced" test "$replaced" -eq "$rows"
check "later files are untouched" cmp -s "$tmp/many/f49.gif" "$tmp/large-frames.gif"

cp "$tmp/large-frames.gif" "$tmp/limited.gif"
check "a replacement that cannot be written fails" bash -c "trap '' XFSZ; ulimit -f 64; '$corvane' optimize --yes '$tmp/limited.gif' >'$tmp/out' 2>'$tmp/err'; [ \$? -eq 1 ]"
check "with the create message and the reason" grep -q "%  not replaced: Cannot create file $tmp/limited.gif: File too large$" "$tmp/out"
check "and leaves the file whole" cmp -s "$tmp/limited.gif" "$tmp/large-frames.gif"
check "a write killed half-way leaves the file whole" bash -c "exec 2>/dev/null; (ulimit -f 64; exec '$corvane' optimize --yes '$tmp/limited.gif') >/dev/null 2>&1; cmp -s '$tmp/limited.gif' '$tmp/large-frames.gif'"

check "verify of a file and its optimized form" status 0 "$corvane" verify "$samples/ball.gif" "$tmp/work/ball.gif"
check "says equal" grep -qx "equal" "$tmp/out"
check "verify of two different animations" status 1 "$corvane" verify "$samples/ball.gif" "$samples/still.gif"
check "prints the first difference" test -s "$tmp/out"
check "verify of a missing file" status 2 "$corvane" verify "$samples/ball.gif" "$tmp/missing.gif"
check "verify wants two files" status 2 "$corvane" verify "$samples/ball.gif"

finish
