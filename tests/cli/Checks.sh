# Shared by the command-line tests, which source it: a scratch folder $tmp that goes at
# exit, `check` and `status` to state what must hold, and `finish` to sum up.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failures=0
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}
status() {  # expected status, command...: runs it with its output in $tmp/out and $tmp/err
  local expected=$1
  shift
  "$@" >"$tmp/out" 2>"$tmp/err"
  [ $? -eq "$expected" ]
}
finish() {  # the summary line; fails when any check failed
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}
