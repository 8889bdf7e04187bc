#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_windows_resource.sh <rc> <work-dir> <version> <numeric-version>: compiles the Windows
# resource script with MinGW's windres, then reads the compiled resources back and checks the
# version record and the icon group in them.
set -euo pipefail
rc=$1 work=$2 version=$3 numbers=$4
windres=${WINDRES:-x86_64-w64-mingw32-windres}
mkdir -p "$work"

# windres preprocesses with the MinGW gcc by default; the script needs no Windows headers, so the
# host's preprocessor does.
"$windres" --preprocessor=cpp -i "$rc" -O coff -o "$work/refs-quiz-rc.o"
"$windres" --preprocessor=cpp -i "$rc" -O res -o "$work/refs-quiz.res"
"$windres" -i "$work/refs-quiz.res" -J res -O rc -o "$work/decompiled.rc"

failed=0
expect() {
    grep -qF -- "$1" "$work/decompiled.rc" || { echo "windows resource: missing $2: $1" >&2; failed=1; }
}
expect "FILEVERSION ${numbers//,/, }" "numeric file version"
expect "PRODUCTVERSION ${numbers//,/, }" "numeric product version"
expect "VALUE \"FileVersion\", \"$version\"" "file version string"
expect "VALUE \"ProductVersion\", \"$version\"" "product version string"
expect 'BLOCK "041904B0"' "Russian Unicode string table"
expect 'VALUE "Translation", 0x419, 1200' "Russian translation entry"
# "Ссылки в Excel", proving the UTF-8 script reached the resource as the right UTF-16 text.
expect 'VALUE "ProductName", L"\x0421\x0441\x044b\x043b\x043a\x0438 \x0432 Excel"' "product name"
expect 'RT_GROUP_ICON' "icon group"
expect 'Has 3 elements' "three icon images"
expect 'LANGUAGE 25, 1' "Russian resource language"

[[ $failed -eq 0 ]] && echo "windows resource: $rc compiles; version $version ($numbers), Russian strings, 3 icon images"
exit $failed
