#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_hardening.sh <executable>: fails unless the ELF headers show every Debian hardening feature.
set -uo pipefail
exe=$1
failed=0
fail() { echo "hardening: $exe: $*" >&2; failed=1; }

header=$(readelf -h -W "$exe") || exit 1
program=$(readelf -l -W "$exe") || exit 1
dynamic=$(readelf -d -W "$exe") || exit 1
symbols=$(readelf --dyn-syms -W "$exe" | awk '$8 != "" { sub(/@.*/, "", $8); print $8 }') || exit 1

# PIE: a position-independent executable is of type DYN and says so in FLAGS_1.
grep -Eq 'Type:[[:space:]]+DYN' <<<"$header" || fail "not position-independent (ELF type is not DYN)"
grep -Eq 'FLAGS_1.*\bPIE\b' <<<"$dynamic" || fail "no PIE flag in the dynamic section"
# Full RELRO: a GNU_RELRO segment, and symbols bound at start-up so the GOT can be made read-only.
grep -q 'GNU_RELRO' <<<"$program" || fail "no GNU_RELRO segment (-z relro)"
grep -Eq '\(FLAGS\).*\bBIND_NOW\b|FLAGS_1.*\bNOW\b' <<<"$dynamic" || fail "symbols not bound at start-up (-z now)"
# Stack protector: protected functions call __stack_chk_fail when the canary is broken.
grep -qx '__stack_chk_fail' <<<"$symbols" || fail "no __stack_chk_fail: built without a stack protector"
# _FORTIFY_SOURCE: fortified calls go to the __*_chk variants of the C library functions, but
# only where the compiler knows the object's size and cannot prove the call safe; a program
# may fortify everything and still import none. So the build writes the level it saw into
# .comment, and that record is what is checked.
level=$(readelf -p .comment -W "$exe" 2>/dev/null | grep -Eo '_FORTIFY_SOURCE=[0-9]+' | head -n1)
[[ "${level#*=}" -ge 2 ]] 2>/dev/null || fail "the build record shows no _FORTIFY_SOURCE of 2 or more (${level:-none})"

[[ $failed -eq 0 ]] && echo "hardening: $exe: PIE, full RELRO, stack protector, fortify: all present"
exit $failed
