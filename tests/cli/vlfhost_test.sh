#!/usr/bin/env bash
# tools/vlfhost end to end: the stand-in host under Wine, running the module
# given as $1 on texts in and out of files and the standard streams.
set -u
dll=$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
host=$root/tools/vlfhost
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
passed=0 failed=0

check() {
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); printf 'failed: %s\n  expected: %s\n  got:      %s\n' "$1" "$3" "$2" >&2; fi
}

hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# The first run may have to make the Wine prefix; later ones take a second.
limit=600

# vlfhost INPUT ARGS...: runs the host with INPUT (printf %b escapes) on
# standard input; sets status, out (standard output as hex) and err.
vlfhost() {
  printf '%b' "$1" >stdin
  shift
  timeout -k 5 "$limit" "$host" --module "$dll" "$@" <stdin >stdout 2>stderr
  status=$?
  limit=60
  out=$(hex stdout)
  err=$(cat stderr)
}

# t NAME STATUS INPUT OUTPUT STDERR ARGS...: one case of the table. INPUT
# and OUTPUT are bytes in printf %b escapes; STDERR is the exact text.
t() {
  local name=$1 want_status=$2 input=$3 want_out=$4 want_err=$5
  shift 5
  printf '%b' "$want_out" >want
  vlfhost "$input" "$@"
  check "$name: status" "$status" "$want_status"
  check "$name: output" "$out" "$(hex want)"
  check "$name: stderr" "$err" "$want_err"
}

list='version 0x20000
filter 0: CustomSort
  caption-ja: カスタムソート...
  caption-en: CustomSort...
  bytes: 53 01 00 00
'
bad='vlfhost: input is not valid UTF-8 at byte offset'

t "list"                 0 ''                   "$list"          '' --list
t "ascending"            0 'b\na\n'             'a\nb\n'         '' --options 000000
t "descending"           0 'a\nc\nb\n'          'c\nb\na\n'      '' --options 100000
t "one line unchanged"   0 'x y\t\xe3\x81\x82'  'x y\t\xe3\x81\x82' '' --options 000000
t "empty text"           0 ''                   ''               '' --options 000000
t "BOM kept"             0 '\xef\xbb\xbfb\na\n' 'a\n\xef\xbb\xbfb\n' '' --options 000010
t "supplementary"        0 '\xf0\x9f\x98\x80\n\xe3\x81\x82\n' '\xe3\x81\x82\n\xf0\x9f\x98\x80\n' '' --options 000010
t "-- ends options"      0 'b\na\n'             'a\nb\n'         '' --options=000000 -- -
t "UTF-16 lone surrogate" 0 'b\0\n\0\0\xd8\n\0a\0\n\0' 'a\0\n\0b\0\n\0\0\xd8\n\0' '' --utf16 --options 000010
t "UTF-16 odd length"    2 'a\0b'               ''               'vlfhost: input has an odd number of bytes (3) for UTF-16' --utf16 --options 000000
t "UTF-16 NUL"           2 'a\0\0\0b\0'         ''               'vlfhost: input holds a NUL at byte offset 2' --utf16 --options 000000
t "overlong"             2 'ab\xc0\xaf\n'       ''               "$bad 2" --options 000000
t "overlong 3 bytes"     2 'a\n\xe0\x80\x80'    ''               "$bad 2" --options 000000
t "encoded surrogate"    2 'a\n\xed\xa0\x80\n'  ''               "$bad 2" --options 000000
t "above U+10FFFF"       2 '\xf4\x90\x80\x80'   ''               "$bad 0" --options 000000
t "truncated"            2 'abc\xe3\x81'        ''               "$bad 3" --options 000000
t "stray continuation"   2 'a\x80'              ''               "$bad 1" --options 000000
t "NUL in UTF-8"         2 'a\0b\n'             ''               'vlfhost: input holds a NUL at byte offset 1' --options 000000
t "unknown flag"         2 'a\n'                ''               'vlfhost: unknown option --bogus' --bogus
t "missing value"        2 'a\n'                ''               'vlfhost: option --options needs a value' --options
t "third argument"       2 'a\n'                ''               'vlfhost: unexpected argument c' --options 0 a b c

# Files by relative and absolute path; "-" is the standard stream.
mkdir -p sub
printf 'z\ny\n' >sub/in.txt
vlfhost '' --options 000000 sub/in.txt sub/out.txt
check "files: status" "$status$out$err" "0"
check "files: output" "$(cat sub/out.txt)" $'y\nz'
vlfhost '' --options 100000 "$work/sub/out.txt" "$work/sub/out2.txt"
check "absolute files" "$status$out$err$(cat sub/out2.txt)" $'0z\ny'
vlfhost 'b\na\n' --options 000000 - sub/out3.txt
check "stdin to file" "$status$err$(cat sub/out3.txt)" $'0a\nb'
vlfhost '' --options 000000 sub/in.txt -
check "file to stdout" "$status$err$out" "0$(printf 'y\nz\n' >want; hex want)"
vlfhost '' --options 000000 sub/missing.txt
check "missing input" "$status$out$err" "2vlfhost: cannot open sub/missing.txt: No such file or directory"
printf 'a\xff\n' >sub/bad.txt
vlfhost '' --options 000000 sub/bad.txt sub/never.txt
check "bad input writes nothing" "$status$err$([ -e sub/never.txt ] && echo created)" "2$bad 1"

# The order file is stored as a Windows path, as the options dialog would.
query() {
  "$root/tools/wine-run" reg query 'HKCU\Software\Corvanset\Veltrane\Corvanset_Sort_Filter_Custom1' \
    /v CustomFile 2>/dev/null | tr -d '\r' | sed -n 's/^ *CustomFile *REG_SZ *\(.*\)$/[\1]/p'
}
winwork='Z:'${work//\//\\}
vlfhost 'a\n' --options 000000 --order-file sub/order.txt
check "relative order file" "$status$(query)" "0[$winwork\\sub\\order.txt]"
vlfhost 'a\n' --options 000000 --order-file /no/such/order.txt
check "absolute order file" "$status$(query)" '0[Z:\no\such\order.txt]'
vlfhost 'a\n' --options 000000 --order-file ''
check "empty order file" "$status$(query)" '0[]'

# The module reads it, and its message boxes come out on standard error,
# answered so that the run goes on.
printf '\xff\xfeb\0\n\0a\0\n\0' >sub/order.txt
printf 'b\na\n' >sub/nobom.txt
t "order file used"      0 'a\nb\n'             'b\na\n'         '' --options 000011 --order-file sub/order.txt
t "order file missing"   0 'b\na\n'             'a\nb\n' \
  'message: 並び順指定ファイルがロード出来ませんでした。' --options 000011 --order-file sub/none.txt
t "order file no BOM"    0 'b\na\n'             'a\nb\n' \
  'message: 並び順指定ファイルがUTF-16(BOMあり)になってません。UTF-16(BOMあり)形式で保存しなおしてください。' \
  --options 000011 --order-file "$work/sub/nobom.txt"

# Dictionary order puts the standard's conformance data in its order from
# any order of its lines, and descending gives the exact reverse.
conformance=$root/data/dictionary/conformance.txt
tac "$conformance" >conformance-reversed.txt
{ awk 'NR % 3 == 1' "$conformance"; awk 'NR % 3 == 2' "$conformance" | tac; awk 'NR % 3 == 0' "$conformance"; } \
  >conformance-mixed.txt
for options in 0000001 0001101; do
  for input in conformance-reversed.txt conformance-mixed.txt; do
    timeout -k 5 "$limit" "$host" --module "$dll" --options "$options" "$input" >stdout 2>stderr
    check "conformance data, $options, from $input" "$?:$(cmp -s stdout "$conformance" && echo same):$(cat stderr)" "0:same:"
  done
done
timeout -k 5 "$limit" "$host" --module "$dll" --options 1000001 conformance-mixed.txt >stdout 2>stderr
check "conformance data, descending" "$?:$(cmp -s stdout conformance-reversed.txt && echo same):$(cat stderr)" "0:same:"
t "a seventh digit: dictionary order" 0 '\xe3\x81\x84\n\xe3\x82\xa2\n' '\xe3\x82\xa2\n\xe3\x81\x84\n' '' --options 0000001
t "six digits: code page 932"        0 '\xe3\x82\xa2\n\xe3\x81\x84\n' '\xe3\x81\x84\n\xe3\x82\xa2\n' '' --options 000000

# Without a display, where the module would ask: one line saying so within
# seconds, as nothing is run under Wine. With the options given the module
# runs.
nodisplay="vlfhost: no display (DISPLAY is not set) for the options dialog the module would show;\
 give the options, e.g. --options 000000, or run under Xvfb: xvfb-run -a $host ..."
printf 'b\na\n' >two.txt
# headless NAME DISPLAY STATUS OUTPUT STDERR ARGS...: DISPLAY is its value,
# or "unset".
headless() {
  local name=$1 display=$2 want_status=$3 want_out=$4 want_err=$5
  shift 5
  local env=(env DISPLAY="$display") seconds=$limit
  [ "$display" = unset ] && env=(env -u DISPLAY)
  [ "$want_status" = 2 ] && seconds=10
  "${env[@]}" timeout -k 5 "$seconds" "$host" --module "$dll" "$@" </dev/null >stdout 2>stderr
  check "$name: status" "$?" "$want_status"
  check "$name: output" "$(cat stdout)" "$want_out"
  check "$name: stderr" "$(cat stderr)" "$want_err"
}
headless "no display, no options"      unset 2 '' "$nodisplay" two.txt
headless "no display, empty options"   unset 2 '' "$nodisplay" --options '' two.txt
headless "empty DISPLAY, --options="   ''    2 '' "$nodisplay" --options= two.txt
headless "no display, options given"   unset 0 $'a\nb' '' --options 000000 two.txt

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
