#!/usr/bin/env bash
# Runs corvane where a user's files could be lost: backups, an existing JPEG output,
# what a replaced file keeps, files changed while optimize works on them, files and
# folders that fail in a batch, and optimize -j 2 stopped at random moments.
# Usage: NothingLostCliTest.sh CORVANE MAKE_ANIMATIONS SAMPLES_DIR
set -u
corvane=$(realpath "$1")
make_animations=$(realpath "$2")
samples=$(realpath "$3")
source "$(dirname "$0")/Checks.sh"
chmod 755 "$tmp"
cd "$tmp" || exit 1
fresh() {  # copies of the samples in work/, ball.gif again in work/sub/, an empty backup/
  rm -rf work backup
  mkdir -p work/sub backup
  cp "$samples"/*.gif work/
  cp "$samples/ball.gif" work/sub/
}
optimize() { "$corvane" optimize --yes "$@"; }
unprivileged() {  # runs the command as nobody when the test runs as root, who may read anything
  if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}
shows_the_same() {  # original copy: byte for byte, or optimized and showing the same
  cmp -s "$1" "$2" || "$corvane" verify "$1" "$2" >/dev/null
}

fresh
check "optimize with a backup folder" status 0 optimize --backup backup work
check "copies each file below it at its listed path" cmp -s "$samples/ball.gif" backup/work/ball.gif
check "so that files of one name do not meet" cmp -s "$samples/ball.gif" backup/work/sub/ball.gif
check "a second run into the same folder" status 0 optimize --backup backup work
check "keeps the originals" cmp -s "$samples/ball.gif" backup/work/ball.gif
check "and copies a file that changed since under the next free name" cmp -s work/ball.gif "backup/work/ball (2).gif"
check "which its row tells" grep -Eq "^work/ball.gif .*, backed up as backup/work/ball \(2\)\.gif$" out
check "a file that did not change shares its first copy" test ! -e "backup/work/interlaced (2).gif"

fresh
check "a file listed twice" status 0 optimize --backup backup work/ball.gif work/./ball.gif
check "has the version each time read backed up" \
  bash -c 'cmp -s "$0/ball.gif" backup/work/ball.gif && cmp -s work/ball.gif "backup/work/ball (2).gif"' "$samples"
check "an absolute path" status 0 optimize --backup backup "$tmp/work/still.gif"
check "is copied below the folder without its leading /" cmp -s "$samples/still.gif" "backup$tmp/work/still.gif"

fresh
check "a backup folder that is a listed file's folder is refused" status 2 optimize --backup work work/sub/ball.gif work/ball.gif
check "saying why" grep -q "backup directory work is the folder of work/ball.gif" err
check "before anything changes" bash -c "cmp -s '$samples/ball.gif' work/ball.gif && cmp -s '$samples/ball.gif' work/sub/ball.gif"
check "as is one that would put a copy in its file's folder" status 2 optimize --backup . work/ball.gif

cp "$samples/photo.png" photo.png
echo "an unrelated picture" >photo.jpg
check "jpeg refuses to replace an existing output" status 1 "$corvane" jpeg photo.png
check "which stays as it was" grep -q "an unrelated picture" photo.jpg
check "and says how to replace it" grep -q "pass --force" err
check "jpeg --force replaces it" status 0 "$corvane" jpeg --force photo.png
check "by a JPEG file" test "$(head -c 3 photo.jpg | od -An -tx1 | tr -d ' ')" = ffd8ff

fresh
chmod 640 work/ball.gif
touch -d "2020-01-02 03:04:05" work/ball.gif work/sub/ball.gif
[ "$(id -u)" -eq 0 ] && chown 65534:65534 work/ball.gif
check "a replaced file" status 0 optimize work/ball.gif
check "is replaced" test "$(stat -c %s work/ball.gif)" -lt "$(stat -c %s "$samples/ball.gif")"
check "keeps its permissions" test "$(stat -c %a work/ball.gif)" = 640
if [ "$(id -u)" -eq 0 ]; then
  check "and its owner and group" test "$(stat -c %u:%g work/ball.gif)" = 65534:65534
fi
check "and shows by its time that it changed" test "$(stat -c %Y work/ball.gif)" -gt "$(date -d 2021-01-01 +%s)"
check "with --preserve-time" status 0 optimize --preserve-time work/sub/ball.gif
check "it keeps its modification time" test "$(stat -c %Y work/sub/ball.gif)" = "$(date -d "2020-01-02 03:04:05" +%s)"

fresh
for name in grows gone swapped rewritten untouched; do cp "$samples/ball.gif" "work/$name.gif"; done
cat >hook.sh <<'EOF'
#!/bin/sh
# Changes the file optimize is about to replace, each in its own way.
case "$1" in
  *grows.gif) printf 'more' >>"$1" ;;
  *gone.gif) rm "$1" ;;
  *swapped.gif) cp "$1" "$1.new" && mv "$1.new" "$1" ;;
  *rewritten.gif) printf 'GIF87a' | dd of="$1" conv=notrunc status=none && touch -r "$0" "$1" ;;
esac
EOF
chmod +x hook.sh
touch -d "2020-01-02 03:04:05" hook.sh work/rewritten.gif
cp work/ball.gif rewritten.gif
printf 'GIF87a' | dd of=rewritten.gif conv=notrunc status=none
check "files changed while optimize works on them" status 1 env CORVANE_TEST_BEFORE_REPLACE="$tmp/hook.sh" \
  "$corvane" optimize --yes -j 2 work/grows.gif work/gone.gif work/swapped.gif work/rewritten.gif work/untouched.gif
check "are not replaced, and their rows say so" \
  test "$(grep -Ec '^work/(grows|gone|swapped|rewritten)\.gif .*  not replaced: the file changed during the run$' out)" -eq 4
check "a file that grew keeps what was added" test "$(stat -c %s work/grows.gif)" -eq $(($(stat -c %s "$samples/ball.gif") + 4))
check "a deleted file does not come back" test ! -e work/gone.gif
check "a file replaced by another stays the other" cmp -s work/swapped.gif "$samples/ball.gif"
check "a file rewritten in place with its old size and time keeps the new bytes" cmp -s work/rewritten.gif rewritten.gif
check "the file left alone is replaced" bash -c "! cmp -s work/untouched.gif '$samples/ball.gif'"

fresh
mkdir work/locked ro
cp "$samples/ball.gif" work/locked/
cp "$samples/ball.gif" work/unreadable.gif
cp "$samples/ball.gif" ro/ball.gif
chmod 000 work/locked work/unreadable.gif
[ "$(id -u)" -eq 0 ] && chown -R 65534:65534 work
chmod 555 ro
check "a run over files and folders that fail" status 1 unprivileged "$corvane" optimize --yes -j 2 work missing.gif ro/ball.gif
check "gives a folder that cannot be read a row with the system's reason" \
  grep -Eq "^work/locked +failed: Cannot open folder work/locked: Permission denied$" out
check "and a file that cannot be read" grep -Eq "^work/unreadable.gif +failed: Cannot open file work/unreadable.gif: Permission denied$" out
check "and a missing file" grep -Eq "^missing.gif +failed: Cannot open file missing.gif: No such file or directory$" out
check "and a file that cannot be replaced" \
  grep -Eq "^ro/ball.gif .*%  not replaced: Cannot create file ro/ball.gif: Permission denied$" out
check "which keeps its bytes" cmp -s ro/ball.gif "$samples/ball.gif"
check "goes on with the other files" test "$(grep -Ec '^work/[a-z/-]+\.gif +[0-9]+ +[0-9]+ +-?[0-9]+%  (replaced|kept: not smaller)$' out)" -eq 5
check "and prints the total" grep -Eq "^Total saved :  [0-9]+ bytes \([0-9]+%\) in 9 files, 3 failed, 1 not replaced$" out
check "test --json gives every row and the total" status 1 unprivileged "$corvane" test --json work missing.gif
check "the failures with their errors" python3 -c '
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1])]
errors = {r["path"]: r["error"] for r in rows if r.get("result") == "failed"}
assert errors["work/locked"].endswith(": Permission denied"), errors
assert errors["missing.gif"].endswith(": No such file or directory") and rows[-2]["size"] is None, rows
assert sum(r.get("result") == "complete" for r in rows) == 5 and "total_saved" in rows[-1], rows' out
chmod -R u+rwx work ro

"$make_animations" "$tmp" >/dev/null || exit 1
for round in 1 2 3 4 5 6; do
  rm -rf many
  mkdir many
  for i in $(seq 10 21); do cp large-frames.gif "many/f$i.gif"; done
  signal=INT
  [ $((round % 2)) -eq 0 ] && signal=KILL
  "$corvane" optimize --yes -j 2 many >out 2>err &
  pid=$!
  sleep "$((RANDOM % 3)).$((RANDOM % 10))$((RANDOM % 10))"
  kill -"$signal" "$pid"
  { wait "$pid"; } 2>/dev/null
  ended=$?
  damaged=$(for f in many/*.gif; do shows_the_same large-frames.gif "$f" || echo "$f"; done)
  check "optimize -j 2 stopped by SIG$signal at a random moment leaves every file whole" test -z "$damaged"
  check "and no temporary file" test -z "$(find many -name '*.tmp*')"
  echo "round $round: SIG$signal, status $ended, $(grep -c '%  ' out) complete rows"
  if [ "$signal" = INT ] && [ "$ended" -eq 130 ]; then
    rows=$(grep -c '^many/f' out)
    check "rows for the first files of the list, in its order" \
      test "$(grep '^many/f' out | cut -d' ' -f1)" = "$(ls -d many/* | head -n "$rows")"
    check "all complete but the row of the file under work" test "$(head -n -2 out | grep -Evc '%  ')" -eq 0
    replaced=$(for f in many/*.gif; do cmp -s "$f" large-frames.gif || basename "$f"; done)
    check "exactly the files with complete rows were replaced" \
      test "$replaced" = "$(grep -E '^many/f[0-9]+\.gif .*%  replaced$' out | cut -d' ' -f1 | xargs -n1 basename)"
  fi
done

finish
