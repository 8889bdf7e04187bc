#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The source keeps its shape: each layer of src/ includes only its own layer and those
# below it, and the tree is formatted by .clang-format.
set -euo pipefail
cd "$1"
status=0

# Layers from the bottom up; a layer may include any folder listed before it.
layers=(controls shell screens app)
for (( i = 0; i < ${#layers[@]}; i++ )); do
    for above in "${layers[@]:i+1}"; do
        if grep -rn "#include \"$above/" "src/${layers[i]}"; then
            echo "check-source: src/${layers[i]} includes src/$above, a layer above it" >&2
            status=1
        fi
    done
done

if ! find src assets tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 \
        | xargs -0 clang-format --dry-run --Werror; then
    echo "check-source: run clang-format -i on the files above" >&2
    status=1
fi
exit $status
