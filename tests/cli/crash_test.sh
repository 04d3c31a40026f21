#!/usr/bin/env bash
# tests/cli/crash_test.sh CRASH_TEST_EXE
#
# A crash under Wine ends the process at once. crash_test.exe is run in
# the project's prefix once for each way it crashes: it starts and says so,
# then the unhandled exception ends it with the exception's code as its
# status (the code's low byte, as Linux keeps it) and Wine's one line about
# it on standard error. No debugger starts and no crash dialog waits for a
# click; should one wait, the suite's short ctest timeout fails it. A run
# that does not crash ends with status 0, so the statuses are the crashes'.
set -u
exe=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/tests/cli/check.sh"

# t HOW STATUS STDOUT MESSAGE: MESSAGE starts the one line on standard
# error, or is empty when there is none.
t() {
  "$root/tools/wine-run" "$exe" "$1" >"$work/out" 2>"$work/err"
  check "$1: status" "$?" "$2"
  check "$1: output" "$(tr -d '\r' <"$work/out")" "$3"
  if [ -n "$4" ]; then
    check "$1: message" "$(grep -c "^wine: $4" "$work/err")" 1
  else
    check "$1: no message" "$(cat "$work/err")" ""
  fi
}

access_violation=5  # 0xC0000005
raised=42           # 0xE000002A, crash_test's own code
write_fault='Unhandled page fault on write access to 0\+ at address '

t exit 0 "exiting: exit" ""
t null-write $access_violation "crashing: null-write" "$write_fault"
t raise $raised "crashing: raise" 'Unhandled exception 0xe000002a in thread '
t thread $access_violation "crashing: thread" "$write_fault"
t window $access_violation "crashing: window" "$write_fault"

summary
