#!/usr/bin/env bash
# Tallorix.vlf is a PE32 i386 DLL that imports only Windows system DLLs and
# exports its three functions under their plain names.
set -u
dll=$1
objdump=i686-w64-mingw32-objdump
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

headers=$($objdump -p "$dll")
check "machine" "$(echo "$headers" | grep -m1 -o 'file format pei-i386')" "file format pei-i386"
flags=$(echo "$headers" | sed -n 's/^Characteristics\s*0x//p')
check "DLL flag in $flags" "$(( (0x${flags:-0} & 0x2000) != 0 ))" "1"

imports=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
allowed='^(kernel32|user32|advapi32|comdlg32|gdi32|msvcrt)\.dll$'
bad=$(for d in $imports; do [[ $d =~ $allowed ]] || echo "$d"; done | tr '\n' ' ')
check "only system DLLs imported ($imports)" "$bad" ""

exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort | tr '\n' ' ')
check "exports" "$exports" "CustomSort EnumVeltraneFilter VeltraneFilterGetVersion "

summary
