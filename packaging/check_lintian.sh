#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_lintian.sh <deb>: lintian must report no error and no warning on the package.
# initial-upload-closes-no-bugs is left out: the package is not uploaded to Debian, so there is no
# "intent to package" bug for its first changelog entry to close.
set -uo pipefail
report=$(lintian --tag-display-limit 0 --suppress-tags initial-upload-closes-no-bugs "$1" 2>&1)
status=$?
echo "$report"
if grep -Eq '^[EW]: ' <<<"$report"; then
    echo "lintian: errors or warnings above" >&2
    exit 1
fi
exit $status
