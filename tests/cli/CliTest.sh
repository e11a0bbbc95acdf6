#!/usr/bin/env bash
# Runs the corvane program as a user would: info and resave on the samples, on broken and
# missing files, with unknown options, --help and --version. Usage: CliTest.sh CORVANE SAMPLES_DIR
set -u
corvane=$1
samples=$2
source "$(dirname "$0")/Checks.sh"

check "info on every sample" status 0 "$corvane" info "$samples"/*.gif
check "info shows the frames and their extensions" grep -q "loop (NETSCAPE2.0): repeat count 0 (forever)" "$tmp/out"
check "info lists table entries with --colors" status 0 "$corvane" info --colors "$samples/still.gif"
check "the entries are shown" grep -Eq "^    ( [0-9a-f]{6}){8}$" "$tmp/out"

check "a missing file fails the run" status 1 "$corvane" info "$tmp/missing.gif" "$samples/still.gif"
check "its error is shown" grep -q "error: Cannot open file" "$tmp/out"
check "the run goes on" grep -q "frames: 1" "$tmp/out"
check "one line on the error output" test "$(wc -l <"$tmp/err")" -eq 1

head -c 30 "$samples/ball.gif" >"$tmp/cut.gif"  # inside the global table
check "a file cut in its colour table fails" status 1 "$corvane" info "$tmp/cut.gif"
check "with the reader's message" grep -q "error: Premature end of data" "$tmp/out"

check "an unknown option is a usage error" status 2 "$corvane" info --bogus "$samples/still.gif"
check "told in one line" test "$(wc -l <"$tmp/err")" -eq 1
check "info without files is a usage error" status 2 "$corvane" info
check "info --help" status 0 "$corvane" info --help
check "tells the usage" grep -q "Usage: corvane info" "$tmp/out"
check "resave --help" status 0 "$corvane" resave --help
check "the program's help lists resave" status 0 "$corvane" --help
check "with its summary" grep -q "resave" "$tmp/out"
check "--version" status 0 "$corvane" --version
check "names the program and its version" grep -Eqx "corvane [0-9]+\.[0-9]+\.[0-9]+" "$tmp/out"

check "resave a sample" status 0 "$corvane" resave "$samples/ball.gif" "$tmp/a.gif"
check "resave the result" status 0 "$corvane" resave "$tmp/a.gif" "$tmp/b.gif"
check "a resaved file resaves to the same bytes" cmp -s "$tmp/a.gif" "$tmp/b.gif"
check "resave of a missing file fails" status 1 "$corvane" resave "$tmp/missing.gif" "$tmp/c.gif"
check "and writes nothing" test ! -e "$tmp/c.gif"
check "resave wants two files" status 2 "$corvane" resave "$samples/ball.gif"

finish
