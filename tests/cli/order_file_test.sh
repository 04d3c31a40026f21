#!/usr/bin/env bash
# The order file through the real module: what each kind of file gives, its
# message on standard error, and the sort that follows.
set -u
dll=$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$root/tests/cli/check.sh"

open_failed='message: 並び順指定ファイルがロード出来ませんでした。'
too_large='message: 並び順指定ファイルが大きすぎます。４メガバイト以下でないとダメです。'
no_mark='message: 並び順指定ファイルがUTF-16(BOMあり)になってません。UTF-16(BOMあり)形式で保存しなおしてください。'

# File contents as UTF-16LE with a mark: C, B, A.
printf '\xff\xfeC\0\r\0\n\0B\0\r\0\n\0A\0\r\0\n\0' >cba.txt
printf 'C\r\nB\r\nA\r\n' | iconv -f UTF-8 -t UTF-16LE >no-mark.txt
printf '\xef\xbb\xbfC\r\nB\r\nA\r\n' >utf8.txt
printf '\xfe\xff\0C\0\r\0\n\0B\0\r\0\n\0A' >big-endian.txt
printf '\xff' >one-byte.txt
: >empty.txt
printf '\xff\xfe\r\0\n\0 \0\t\0' >mark-only.txt
# 4,194,303 bytes: the mark, C B A, then SPACE units and one odd byte.
{ cat cba.txt; head -c $((4194303 - 20)) /dev/zero | tr '\0' ' '; } >largest.txt
{ cat largest.txt; printf ' '; } >too-large.txt

input='B\nA\nD\nC\n'
by_order='D\nC\nB\nA\n'
by_code='A\nB\nC\nD\n'

# t NAME FILE OPTIONS WANT_OUT WANT_MESSAGE
t() {
  printf '%b' "$input" >in.txt
  "$root/tools/vlfhost" --module "$dll" --options "$3" --order-file "$2" in.txt >out.txt 2>err.txt
  check "$1: status" "$?" 0
  check "$1: output" "$(od -An -c out.txt)" "$(printf '%b' "$4" | od -An -c)"
  check "$1: message" "$(grep '^message:' err.txt)" "$5"
}

t "custom order" cba.txt 000011 "$by_order" ""
t "custom order, descending" cba.txt 100011 "$by_code" ""
t "loaded outside Unicode mode, not used" cba.txt 000001 "$by_code" ""
t "missing file" missing.txt 000011 "$by_code" "$open_failed"
t "no file named" "" 000011 "$by_code" "$open_failed"
t "no mark" no-mark.txt 000011 "$by_code" "$no_mark"
t "UTF-8" utf8.txt 000011 "$by_code" "$no_mark"
t "big-endian mark" big-endian.txt 000011 "$by_code" "$no_mark"
t "one byte" one-byte.txt 000011 "$by_code" "$no_mark"
t "empty file" empty.txt 000011 "$by_code" ""
t "mark and blanks only" mark-only.txt 000011 "$by_code" ""
t "4,194,303 bytes" largest.txt 000011 "$by_order" ""
t "4,194,304 bytes" too-large.txt 000011 "$by_code" "$too_large"
t "errors shown outside Unicode mode" no-mark.txt 000001 "$by_code" "$no_mark"

# The shipped radical-stroke file: 﨑 (U+FA11, radical 山 and 9 strokes)
# sorts before 嶺 (山 and 14 strokes), which precedes it by code point.
printf '嶺\n﨑山\n山田\n岡本\n' >kanji.txt
for mode in "000010|山田 岡本 嶺 﨑山 " "000011|山田 岡本 﨑山 嶺 "; do
  "$root/tools/vlfhost" --module "$dll" --options "${mode%|*}" --order-file "$root/data/BushuKakusuu.txt" \
    kanji.txt >out.txt 2>err.txt
  check "BushuKakusuu.txt, options ${mode%|*}" "$(tr '\n' ' ' <out.txt)" "${mode#*|}"
done

summary
