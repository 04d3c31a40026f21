# Sourced by the shell tests: check NAME GOT WANT records one result, and
# summary prints the closing line and sets the exit status.
passed=0 failed=0

check() {
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); printf 'failed: %s\n  expected: %s\n  got:      %s\n' "$1" "$3" "$2" >&2; fi
}

summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
