#!/usr/bin/env python3
"""write_zip.py ARCHIVE EPOCH NAME=PATH...: a zip archive that depends only
on its inputs.

The entries go in sorted by NAME, deflated at level 9, each with the time
EPOCH (seconds since 1970, written as UTC), the attributes of a plain MS-DOS
file and no extra fields, so the same files and EPOCH give the same bytes.
"""
import sys
import time
import zipfile


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: write_zip.py ARCHIVE EPOCH NAME=PATH...")
    archive, epoch, pairs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    # A zip time cannot be before 1980.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    entries = sorted(pair.split("=", 1) for pair in pairs)
    names = [name for name, _ in entries]
    if len(set(names)) != len(names):
        sys.exit("write_zip: a name comes twice: %s" % " ".join(names))
    with zipfile.ZipFile(archive, "w") as z:
        for name, path in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
