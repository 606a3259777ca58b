#!/usr/bin/python3
"""Packs a release: DIST/Vantrel-<version>-<commit>.zip and DIST/SHA256SUMS.

    release-zip.py --dist DIR --commit SHA --time EPOCH --exe Vantrel.exe NAME=PATH...

The version is the exe's own (the file version of its VERSIONINFO). The zip
holds Vantrel.exe, then each NAME=PATH in the order given, every entry with
the same time (EPOCH, the commit's, as UTC), Unix modes 755 for the exe and
644 for the rest, deflated at level 9 and with no extra fields, so that the
same files give the same zip whatever the clock, time zone, umask or user.
Prints the zip's path.
"""
import argparse
import hashlib
import os
import struct
import time
import zipfile

# The version resource's key, then (aligned) its VS_FIXEDFILEINFO: this
# signature, the structure's version, the file version's high and low words.
VERSION_INFO_KEY = "VS_VERSION_INFO\0".encode("utf-16-le")
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(exe_bytes):
    key = exe_bytes.find(VERSION_INFO_KEY)
    at = exe_bytes.find(FIXED_FILE_INFO_SIGNATURE, key, key + len(VERSION_INFO_KEY) + 8) if key >= 0 else -1
    if at < 0:
        raise SystemExit("release-zip: the exe has no version information")
    high, low = struct.unpack_from("<II", exe_bytes, at + 8)
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def entry(name, date_time, mode):
    info = zipfile.ZipInfo(name, date_time)
    info.create_system = 3  # Unix, so that external_attr carries the mode
    info.external_attr = (0o100000 | mode) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--commit", required=True)
    parser.add_argument("--time", required=True, type=int)
    parser.add_argument("--exe", required=True)
    parser.add_argument("files", nargs="*", help="NAME=PATH: the entry NAME holds the file PATH")
    args = parser.parse_args()

    with open(args.exe, "rb") as f:
        exe = f.read()
    name = "Vantrel-%s-%s.zip" % (file_version(exe), args.commit[:12])
    date_time = time.gmtime(args.time)[:6]
    entries = [(entry("Vantrel.exe", date_time, 0o755), exe)]
    for spec in args.files:
        entry_name, _, path = spec.partition("=")
        with open(path, "rb") as f:
            entries.append((entry(entry_name, date_time, 0o644), f.read()))

    os.makedirs(args.dist, exist_ok=True)
    zip_path = os.path.join(args.dist, name)
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for info, data in entries:
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, zip_path)
    with open(zip_path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(os.path.join(args.dist, "SHA256SUMS"), "w", newline="\n") as f:
        f.write("%s  %s\n" % (digest, name))
    print(zip_path)


if __name__ == "__main__":
    main()
