#!/usr/bin/env bash
# tests/cli/dist_test.sh ARCHIVE X86_MODULE X64_MODULE REMAKE...
#
# The release archive that make dist wrote: both modules, each in the
# folder of its edition, with its machine type and the version of VERSION;
# every order file of data/ (every .txt there but the sample), Readme.txt in
# code page 932 with CR LF and naming each module and order file,
# LICENSE.txt; one time on every entry. Then REMAKE (make dist) writes it
# again, and the bytes must be the same. Where the x64 test programs run,
# each shipped module's version resource is read under Wine too.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$root/tests/cli/check.sh"
source "$root/tools/wine-arch.sh"
archive=$1
declare -A built=([32bit]=$2 [64bit]=$3)
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(head -n 1 "$root/VERSION")

check "archive name" "$(basename "$archive")" "Tallorix-$version.zip"

# NAME TIME per entry, and the entries unpacked into $work/x.
python3 - "$archive" "$work/x" >"$work/list" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        print(i.filename, "%04d-%02d-%02dT%02d:%02d:%02d" % i.date_time)
    z.extractall(sys.argv[2])
PY
check "archive reads" "$?" 0

want="32bit/Tallorix.vlf 64bit/Tallorix.vlf LICENSE.txt Readme.txt"
orders=""
for f in "$root"/data/*.txt; do
  name=$(basename "$f")
  [ "$name" = sample.txt ] && continue
  orders+="$name "
  want+=" $name"
done
want=$(echo $want | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ')
check "entries, in order" "$(cut -d' ' -f1 "$work/list" | tr '\n' ' ')" "$want"

for name in $orders; do
  check "$name is data/$name" "$(cmp -s "$work/x/$name" "$root/data/$name" && echo same)" same
done

# ENTRY's machine type, from the PE header, and the file and product
# version, from the fixed part of the version resource, read in the
# archive's bytes.
module_facts() {
  python3 - "$archive" "$1" <<'PY'
import struct, sys, zipfile
data = zipfile.ZipFile(sys.argv[1]).read(sys.argv[2])
pe = struct.unpack_from("<I", data, 0x3C)[0]
machine = struct.unpack_from("<H", data, pe + 4)[0] if data[pe:pe + 4] == b"PE\0\0" else 0
# VS_FIXEDFILEINFO: its signature follows the key VS_VERSION_INFO.
at = data.find(b"\xbd\x04\xef\xfe", data.find("VS_VERSION_INFO".encode("utf-16-le")))
ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8) if at >= 0 else (0, 0, 0, 0)
v = lambda hi, lo: "%d.%d.%d.%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
print("0x%04x %s %s" % (machine, v(ms, ls), v(pms, pls)))
PY
}
declare -A machine=([32bit]=0x014c [64bit]=0x8664)
for edition in 32bit 64bit; do
  name=$edition/Tallorix.vlf
  check "$name is ${built[$edition]}" "$(cmp -s "$work/x/$name" "${built[$edition]}" && echo same)" same
  check "$name: machine type, file and product version" "$(module_facts "$name")" \
    "${machine[$edition]} $version.0 $version.0"
done

commit=$(git -C "$root" log -1 --format=%ct)
epoch=${SOURCE_DATE_EPOCH:-$commit}
# A zip entry's time counts seconds in twos.
stamp=$(date -u -d "@$((epoch - epoch % 2))" +%Y-%m-%dT%H:%M:%S)
check "every entry has the commit's time" "$(cut -d' ' -f2 "$work/list" | sort -u)" "$stamp"

# Readme.txt: code page 932 throughout, CR LF after every line, the last too.
readme=$work/x/Readme.txt
check "Readme.txt decodes as code page 932" \
  "$(python3 -c 'import sys; open(sys.argv[1], "rb").read().decode("cp932")' "$readme" 2>&1)" ""
check "Readme.txt: every line ends with CR LF" \
  "$(python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); print(d.endswith(b"\r\n") and b"\r" not in d.replace(b"\r\n", b"") and b"\n" not in d.replace(b"\r\n", b""))' "$readme")" True
text=$(iconv -f CP932 -t UTF-8 "$readme" | tr -d '\r')
check "Readme.txt starts with the version" "$(echo "$text" | head -n 1)" "Tallorix $version"
check "Readme.txt: history of this version" "$(echo "$text" | sed -n '/^■ 履歴/,/^■/p' | grep -cx "$version")" 1
check "Readme.txt: no notes, no placeholders" "$(echo "$text" | grep -c '^#\|@[A-Z]*@')" 0
check "Readme.txt: the settings key" \
  "$(echo "$text" | grep -q 'HKEY_CURRENT_USER\\Software\\Corvanset\\Veltrane\\Corvanset_Sort_Filter_Custom1$' && echo named)" named
for edition in 32bit 64bit; do
  check "Readme.txt lists $edition\\Tallorix.vlf" \
    "$(echo "$text" | sed -n '/^■ アーカイブの内容/,/^■/p' | grep -cF "$edition\\Tallorix.vlf")" 1
done
for name in $orders; do
  check "Readme.txt describes $name" "$(echo "$text" | sed -n '/^●付属の並び順指定ファイル/,/^●/p' | grep -cx "$name")" 1
done
check "Readme.txt: the copyright" "$(echo "$text" | tail -n 1)" "$(grep -m 1 '^Copyright ' "$root/LICENSE.txt")"

license=$work/x/LICENSE.txt
check "LICENSE.txt is MIT" "$(head -n 1 "$license" | tr -d '\r')" "MIT License"
check "LICENSE.txt: the authors" "$(grep -c '^Copyright (c) [0-9]* the Tallorix authors.$' "$license")" 1
check "LICENSE.txt: CR LF" "$(grep -c $'[^\r]$' "$license")" 0

if wine_runs x64 && [ -f "$root/build/win64/version_tests.exe" ]; then
  for edition in 32bit 64bit; do
    "$root/tools/wine-run" --arch x64 "$root/build/win64/version_tests.exe" "$work/x/$edition/Tallorix.vlf" \
      >"$work/version" 2>&1
    check "version resource of $edition/Tallorix.vlf ($(tail -n 1 "$work/version"))" "$?" 0
  done
fi

# Made again from the same commit: the same bytes.
mv "$archive" "$work/first.zip"
"$@" >"$work/remake" 2>&1 || cat "$work/remake" >&2
check "a second make dist gives the same bytes" \
  "$(cmp "$work/first.zip" "$archive" 2>&1 && echo same)" same

summary
