#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_package.sh <deb> <id> <deb-version> <icon size>...: unpacks the Debian package into a
# temporary root, checks its control data and files, and starts the unpacked program offscreen.
set -uo pipefail
deb=$1 id=$2 deb_version=$3
shift 3
sizes=("$@")
version=${deb_version%-*}
failed=0
fail() { echo "package: $*" >&2; failed=1; }

[[ -f "$deb" ]] || { echo "package: no $deb" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root" || exit 1

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == refs-quiz ]] || fail "package name is '$(field Package)'"
[[ $(field Version) == "$deb_version" ]] || fail "version is '$(field Version)', not $deb_version"
[[ -n $(field Maintainer) ]] || fail "no maintainer"
[[ $(field Section) == education ]] || fail "section is '$(field Section)'"
# dpkg-shlibdeps found the Qt libraries the program links to.
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    grep -q "\b$library\b" <<<"$(field Depends)" || fail "Depends lacks $library: $(field Depends)"
done

usr=$root/usr
for file in bin/refs-quiz share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/man/man1/refs-quiz.1.gz share/doc/refs-quiz/copyright \
            share/doc/refs-quiz/changelog.Debian.gz; do
    [[ -f $usr/$file ]] || fail "no $file"
done
for size in "${sizes[@]}"; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [[ ! -f $icon ]]; then
        fail "no ${size}x${size} icon"
    else
        image=$(file -b "$icon")
        [[ $image == "PNG image data, $size x $size,"* ]] || fail "$icon is $image"
    fi
done
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the desktop entry names another icon"
# The metadata, the desktop entry it launches and the icons, as software centres see them together.
appstreamcli validate-tree --no-net "$root" >&2 || fail "appstreamcli validate-tree fails on the unpacked root"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" \
    || fail "the AppStream metadata has no release $version"
changelog=$(zcat "$usr/share/doc/refs-quiz/changelog.Debian.gz")
[[ ${changelog%%$'\n'*} == "refs-quiz ($deb_version) "* ]] || fail "the changelog does not start with $deb_version"
program=$(file -b "$usr/bin/refs-quiz")
[[ $program == *", stripped" ]] || fail "the program is not stripped: $program"

# The quiz waits for its user for ever: alive after a few seconds means it started and did not crash.
QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/refs-quiz" >"$root/run.log" 2>&1
status=$?
if [[ $status -ne 124 ]]; then
    fail "the unpacked program ended by itself with status $status:"
    cat "$root/run.log" >&2
fi

[[ $failed -eq 0 ]] && echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) unpacks, carries $deb_version and runs"
exit $failed
