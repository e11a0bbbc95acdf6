#!/usr/bin/env bash
# Holds the manual page to the program: every command the program lists has its section,
# and every option its --help names is described. Usage: ManPageTest.sh CORVANE MAN_PAGE
set -u
corvane=$1
page=$(sed 's/\\-/-/g' "$2")  # roff writes a hyphen as \-
source "$(dirname "$0")/Checks.sh"
described() { grep -qE -- "(^|[^-a-z0-9])$1([^-a-z0-9]|\$)" <<<"$page"; }

commands=$("$corvane" --help | sed -nE 's/^  ([a-z]+)  .*/\1/p')
check "the program lists its commands" test -n "$commands"
for command in $commands; do
  check "$command has a section" grep -q "^\.SS \"corvane $command" <<<"$page"
  # The option lines of the help: the names before the description, such as "-j, --jobs N".
  for option in $("$corvane" "$command" --help | grep -oE '^  -[^ ]+(, -[^ ]+)?' | grep -oE -- '-[-a-z0-9]+'); do
    check "$command: $option is described" described "$option"
  done
done
for option in --help --version; do
  check "$option is described" described "$option"
done

finish
