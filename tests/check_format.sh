#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tree is formatted by .clang-format. (The layers of src/ are kept apart by the build:
# each layer's library sees only the headers of the layers below it.)
set -euo pipefail
cd "$1"
status=0

if ! find src assets tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 \
        | xargs -0 clang-format --dry-run --Werror; then
    echo "check-source: run clang-format -i on the files above" >&2
    status=1
fi
exit $status
