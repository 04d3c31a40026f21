#!/usr/bin/env bash
# The order files in data/ are what their generators in tools/ make from the
# Unicode data installed here (Debian's unicode-data package), and the
# dictionary order's table is what its generator makes from
# data/dictionary/groups.txt.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$root/tests/cli/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -d /usr/share/unicode ]; then
  echo "/usr/share/unicode is missing: tools/setup installs unicode-data" >&2
  exit 1
fi

for pair in make_bushu_order.py:BushuKakusuu.txt make_stroke_order.py:Kakusuu.txt \
            make_gojuon_order.py:Gojuon.txt; do
  tool=${pair%%:*} file=${pair#*:}
  python3 "$root/tools/$tool" "$work/$file" >/dev/null 2>"$work/err"
  check "$tool runs" "$?:$(cat "$work/err")" "0:"
  if cmp -s "$work/$file" "$root/data/$file"; then same=yes; else same=no; fi
  check "data/$file is what tools/$tool makes" "$same" yes
done

python3 "$root/tools/make_dictionary_table.py" >"$work/dictionary_table.inc" 2>"$work/err"
check "make_dictionary_table.py runs" "$?:$(cat "$work/err")" "0:"
if cmp -s "$work/dictionary_table.inc" "$root/engine/dictionary_table.inc"; then same=yes; else same=no; fi
check "engine/dictionary_table.inc is what tools/make_dictionary_table.py makes" "$same" yes

summary
