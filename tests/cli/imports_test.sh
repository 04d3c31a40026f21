#!/usr/bin/env bash
# tests/cli/imports_test.sh DLL x86|x64
#
# Tallorix.vlf is a PE32 i386 DLL (x86) or a PE32+ x86-64 DLL (x64) that
# imports only Windows system DLLs and exports its three functions under
# their plain names. Its registry and user-interface calls are the ones the
# code makes; in the x86 module the window user data goes through
# SetWindowLongA and GetWindowLongA, as it always has. It carries none of
# the engine's test hooks. Needs no Wine.
set -u
dll=$1 arch=$2
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

case "$arch" in
  x86) tools=i686-w64-mingw32 format=pei-i386 userData='GetWindowLongA SetWindowLongA' ;;
  x64) tools=x86_64-w64-mingw32 format=pei-x86-64 userData='GetWindowLongPtrA SetWindowLongPtrA' ;;
  *) echo "usage: imports_test.sh DLL x86|x64" >&2; exit 2 ;;
esac

headers=$($tools-objdump -p "$dll")
check "machine" "$(echo "$headers" | grep -m1 -o "file format $format\$")" "file format $format"
flags=$(echo "$headers" | sed -n 's/^Characteristics\s*0x//p')
check "DLL flag in $flags" "$(( (0x${flags:-0} & 0x2000) != 0 ))" "1"

imports=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
allowed='^(kernel32|user32|advapi32|comdlg32|gdi32|msvcrt)\.dll$'
bad=$(for d in $imports; do [[ $d =~ $allowed ]] || echo "$d"; done | tr '\n' ' ')
check "only system DLLs imported ($imports)" "$bad" ""

exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort | tr '\n' ' ')
check "exports" "$exports" "CustomSort EnumVeltraneFilter VeltraneFilterGetVersion "

# Each imported function as "dll function", from the import tables.
functions=$(echo "$headers" | awk '/DLL Name:/ { dll = tolower($3) }
  /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ { print dll " " $3 }')
calls=$(echo "$functions" | grep -E '^(user32|advapi32|comdlg32)\.dll ' | sort | tr '\n' ' ')
want=$(sort <<LIST | tr '\n' ' '
advapi32.dll RegCloseKey
advapi32.dll RegCreateKeyExA
advapi32.dll RegQueryValueExA
advapi32.dll RegSetValueExA
comdlg32.dll GetOpenFileNameA
user32.dll CheckDlgButton
user32.dll DialogBoxParamA
user32.dll EnableWindow
user32.dll EndDialog
user32.dll GetActiveWindow
user32.dll GetDlgItem
user32.dll GetDlgItemTextA
user32.dll IsDlgButtonChecked
user32.dll MessageBoxA
user32.dll SendMessageA
user32.dll SetDlgItemTextA
user32.dll SetFocus
user32.dll SetWindowTextA
user32.dll wsprintfA
user32.dll ${userData% *}
user32.dll ${userData#* }
LIST
)
check "registry and user-interface calls" "$calls" "$want"

# The symbol table names the engine's functions (so the module is not
# stripped and the search below means something), but not the hooks that
# only tests set and read.
symbols=$($tools-nm "$dll" 2>&1)
check "symbols listed" "$(echo "$symbols" | grep -c 'NewGuard')" "1"
check "no test hooks" "$(echo "$symbols" | grep -E -o 'guardBudget|exactFinishCount' | sort -u | tr '\n' ' ')" ""

summary
