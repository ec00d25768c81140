#!/usr/bin/env python3
"""Writes the portable zip the same, byte for byte, from the same files:
one folder, the entries in the order given, one fixed time, no extra fields
(a tar tool would add each file's access and change times).
Usage: make-zip.py OUT.zip FOLDER NAME=PATH..."""
import sys
import zipfile

FIXED_TIME = (2026, 1, 1, 0, 0, 0)


def main(out, folder, entries):
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for entry in entries:
            name, path = entry.split("=", 1)
            info = zipfile.ZipInfo(f"{folder}/{name}", FIXED_TIME)
            info.create_system = 3  # Unix, for the mode below
            info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
