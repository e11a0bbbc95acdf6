#!/usr/bin/env bash
# Runs corvane test and optimize with their output choices and list files as a user and a
# script would: -o, --output-dir, '-' for standard input and output, --files-from with
# and without -0, -q, --json with names that are not UTF-8, the header on a terminal, and
# the choices that must be refused. Usage: OutputCliTest.sh CORVANE SAMPLES_DIR
set -u
corvane=$(realpath "$1")
samples=$(realpath "$2")
source "$(dirname "$0")/Checks.sh"
chmod 755 "$tmp"
cd "$tmp" || exit 1
mkdir -p in/sub
cp "$samples"/*.gif in/
cp "$samples/ball.gif" in/sub/
cp -r in pristine
optimize() { "$corvane" optimize "$@"; }
unprivileged() {  # as nobody when the test runs as root, who may write anywhere
  if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}
inputs_unchanged() { diff -r pristine in >/dev/null; }

# Choices that cannot hold together: usage errors that change and write nothing.
while IFS='|' read -r what command; do
  eval "set -- $command"
  check "$what is refused" status 2 "$corvane" "$@"
  check "  in one line" test "$(wc -l <err)" -eq 1
done <<'CASES'
-o with several inputs|optimize in/ball.gif in/still.gif -o refused.gif
-o with a folder|optimize in -o refused.gif
-o with a list file|optimize in/ball.gif --files-from /dev/null -o refused.gif
-o naming the input|optimize in/ball.gif -o in/./ball.gif
-o with --output-dir|optimize in/ball.gif -o refused.gif --output-dir refused
--backup with --output-dir|optimize --backup pristine in --output-dir refused
an output folder inside an input folder|optimize in --output-dir in/sub/refused
an output folder that is the input folder|optimize in --output-dir in/
'-' with another input|test - in/ball.gif
'-' with --output-dir|optimize - --output-dir refused
-o for test|test in/ball.gif -o refused.gif
CASES
check "and nothing was written" bash -c '! ls -d refused* in/sub/refused 2>/dev/null | grep -q .'
check "nor changed" inputs_unchanged

check "-o writes one file elsewhere" status 0 optimize in/ball.gif -o one.gif
check "  with the path as given and the outcome" grep -Eq "^in/ball\.gif +4893 +[0-9]+ +[0-9]+%  written$" out
check "  smaller" test "$(stat -c %s one.gif)" -lt "$(stat -c %s in/ball.gif)"
check "  showing the same" status 0 "$corvane" verify in/ball.gif one.gif
check "a file that gets no smaller is written as it is" status 0 optimize in/interlaced.gif -o kept.gif
check "  byte for byte" cmp -s in/interlaced.gif kept.gif
check "  and its row says kept" grep -q "%  kept: not smaller$" out

check "--output-dir keeps the folders below the given folder" status 0 optimize -j 2 in --output-dir all
check "  a file of the folder" status 0 "$corvane" verify in/ball.gif all/ball.gif
check "  a file of its sub-folder" status 0 "$corvane" verify in/sub/ball.gif all/sub/ball.gif
check "  every file, smaller or as it was" test "$(find all -name '*.gif' | wc -l)" -eq 5
check "  files named by path keep that path" status 0 optimize in/sub/ball.gif "$tmp/in/still.gif" --output-dir named
check "  below the folder" bash -c "test -s named/in/sub/ball.gif && test -s 'named$tmp/in/still.gif'"
check "a second run replaces the outputs" status 0 optimize in --output-dir all
check "a file inside the output folder is not read" status 1 optimize all/ball.gif in/still.gif --output-dir all
check "  its row says why" grep -Eq "^all/ball\.gif +not written: the file lies in the output folder all$" out
check "  and the others are written" grep -q "^in/still.gif .*written$" out
check "inputs are never changed" inputs_unchanged

mkdir locked
chmod 555 locked
check "an output folder that cannot be written" status 1 unprivileged "$corvane" optimize in/ball.gif --output-dir locked
check "  fails the file with the system's reason" \
  grep -Eq "^in/ball\.gif .*%  not written: Cannot create file locked/in/ball\.gif: Permission denied$" out
check "an output too large to write" bash -c "trap '' XFSZ; ulimit -f 2; '$corvane' optimize in/ball.gif -o big.gif >out 2>err; [ \$? -eq 1 ]"
check "  says so" grep -q "not written: Cannot create file big.gif: File too large$" out
check "  and leaves no file" bash -c "! ls -a | grep -q '^big'"

check "'-' reads standard input and writes standard output" bash -c "'$corvane' optimize - <in/ball.gif >piped.gif 2>err"
check "  the same bytes as -o" cmp -s piped.gif one.gif
check "  the row on the error output names '-'" grep -Eq "^- +4893 +[0-9]+ +[0-9]+%  written$" err
check "-o - writes standard output" bash -c "'$corvane' optimize in/ball.gif -o - 2>/dev/null | cmp -s - one.gif"
check "test - measures standard input" bash -c "'$corvane' test - <in/ball.gif | grep -Eq '^- +4893 '"
check "a file that is no GIF writes nothing to standard output" \
  bash -c "echo text | '$corvane' optimize - >piped.gif 2>err; [ \$? -eq 1 ] && [ ! -s piped.gif ]"

printf 'in/ball.gif\n\nin/still.gif\n' >list.txt
check "--files-from runs the files of a list" status 0 "$corvane" test --files-from list.txt in/interlaced.gif
check "  after those given, skipping empty lines" \
  test "$(cut -d' ' -f1 out | head -3 | tr '\n' ' ')" = "in/interlaced.gif in/ball.gif in/still.gif "
check "--files-from - reads standard input" bash -c "'$corvane' test --files-from - <list.txt | grep -c '^in/' | grep -qx 2"
mkdir -p "odd/new
line" "odd/$(printf 'bad\xff')"
cp in/still.gif "odd/new
line/a.gif"
cp in/still.gif "odd/$(printf 'bad\xff')/b.gif"
check "-0 takes names with a newline, and --json escapes bytes that are not UTF-8" \
  bash -c "find odd -name '*.gif' -print0 | sort -z | '$corvane' optimize --files-from - -0 --output-dir zero --json >out"
check "  every line valid JSON, numbers as numbers, one summary last" python3 -c '
import json, os, sys
rows = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
assert [r["path"] for r in rows[:-1]] == [os.fsdecode(b"odd/bad\xff/b.gif"), "odd/new\nline/a.gif"], rows
assert all(isinstance(r["reduction"], float) and r["outcome"] == "written" for r in rows[:-1]), rows
total = rows[-1]
assert total["files"] == 2 and total["failed"] == 0 and total["total_saved"] == sum(r["size"] - r["optimized"] for r in rows[:-1]), total
assert isinstance(total["reduction"], float) and not total["aborted"], total' out
check "  the outputs below the folder" test -s "zero/odd/new
line/a.gif"
check "a missing list file" status 1 "$corvane" test --files-from missing.txt
check "  is named with the reason" grep -q "Cannot open file missing.txt: No such file or directory" err
check "an empty list runs nothing and succeeds" status 0 "$corvane" test --files-from /dev/null
check "  with the closing line" grep -qx "Total saved :  0 bytes (0%) in 0 files" out
for i in $(seq 1 1203); do echo in/still.gif; done >long.txt
echo in/missing.gif >>long.txt
check "a list longer than one run's share of files" status 1 "$corvane" test -j 2 --files-from long.txt
check "  has every row in order and one closing line" \
  bash -c "[ \$(grep -c '^in/still.gif .*can shrink$' out) -eq 1203 ] && sed -n 1204p out | grep -q '^in/missing.gif' && tail -1 out | grep -q 'in 1204 files, 1 failed$'"

check "-q prints only the failed rows and the closing line" status 1 "$corvane" test -q in/ball.gif in/missing.gif
check "  two lines" test "$(wc -l <out)" -eq 2
check "  the failure first" grep -q "^in/missing.gif .*failed: Cannot open file" out
check "on a terminal a header names the columns" \
  bash -c "script -qec '$corvane test in/ball.gif' /dev/null | head -1 | grep -Eq '^FILE +SIZE +OPTIMIZED +SAVED +OUTCOME'"
check "elsewhere there is none" bash -c "'$corvane' test in/ball.gif | head -1 | grep -q '^in/ball.gif'"
check "inputs are still unchanged" inputs_unchanged

finish
