# SPDX-License-Identifier: GPL-3.0-or-later
"""Zips the files of a folder so that the same files always give the same bytes.

Usage: write_zip.py ZIP FOLDER [--prefix PATH/] [--exclude SUFFIX]...

Every entry gets the time of SOURCE_DATE_EPOCH (2000-01-01 when it is not set), written as UTC,
and the mode rw-r--r--; entries are sorted by name and carry no owner, no extra fields and no
folder entries. A zip tool would take the owner, the permissions the umask left and the local
time zone's reading of the time, so two builds by different people or in different places would
differ.
"""
import argparse
import os
import sys
import time
import zipfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("zip")
    parser.add_argument("folder")
    parser.add_argument("--prefix", default="")
    parser.add_argument("--exclude", action="append", default=[])
    args = parser.parse_args()

    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "946684800"))
    # A zip stores local times of day from 1980 on, to two seconds; UTC is the one that does not
    # depend on where the build ran.
    stamp = time.gmtime(max(epoch, 315532800))[:6]

    names = []
    for root, folders, files in os.walk(args.folder):
        folders.sort()
        for name in files:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, args.folder).replace(os.sep, "/")
            if not any(relative.endswith(suffix) for suffix in args.exclude):
                names.append(relative)
    if not names:
        sys.exit(f"write_zip.py: no file in {args.folder}")
    names.sort()

    partial = args.zip + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for relative in names:
            entry = zipfile.ZipInfo(args.prefix + relative, date_time=stamp)
            entry.create_system = 3
            entry.external_attr = 0o100644 << 16
            # Compressed copies get no smaller: they are stored as they are.
            already = relative.endswith((".br", ".gz", ".png", ".ico", ".zip"))
            entry.compress_type = zipfile.ZIP_STORED if already else zipfile.ZIP_DEFLATED
            with open(os.path.join(args.folder, relative), "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, args.zip)


if __name__ == "__main__":
    main()
