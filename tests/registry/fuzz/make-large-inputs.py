#!/usr/bin/python3
"""Writes well-formed .reg files of about 1 MB each into the folder given, one
per shape that could make reading slow or memory-hungry: long hex data
(continued and on one line), endless continuation lines, many keys, many
values, a long quoted string full of escapes, many blank and comment lines,
and a version 5 file in UTF-16."""
import os
import sys

SIZE = 1 << 20
KEY = "[HKEY_CURRENT_USER\\Software\\Vantrel]\r\n"
HEAD4 = "REGEDIT4\r\n\r\n" + KEY
HEAD5 = "Windows Registry Editor Version 5.00\r\n\r\n" + KEY


def fill(head, unit, tail, size=SIZE):
    """head, then unit as often as fits in size, then tail."""
    return head + unit * ((size - len(head) - len(tail)) // len(unit)) + tail


def lines(head, make, size=SIZE):
    """head, then make(0), make(1), ... one a line, up to size characters."""
    text, n = [head], 0
    total = len(head)
    while total < size:
        text.append(make(n) + "\r\n")
        total += len(text[-1])
        n += 1
    return "".join(text)


wide_path = "43,00,3a,00,5c,00," * 4 + "00,00"
shapes = {
    "hex-continued.reg": fill(HEAD4 + '"Blob"=hex:', "ff," * 25 + "\\\r\n  ", "ff\r\n"),
    "hex-one-line.reg": fill(HEAD4 + '"Blob"=hex:', "ab,", "ab\r\n"),
    "continuation-only.reg": fill(HEAD4 + '"Blob"=hex:01,', "\\\r\n", "02\r\n"),
    "many-keys.reg": lines("REGEDIT4\r\n", lambda n: "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\Key %d]" % n),
    "many-values.reg": lines(HEAD4, lambda n: '"Value %d"=dword:%08x' % (n, n)),
    "escaped-string.reg": fill(HEAD4 + '"Text"="', '\\"\\\\', '"\r\n'),
    "blank-and-comments.reg": fill(HEAD4, "\r\n; comment\r\n", ""),
}
files = {name: text.encode("latin-1") for name, text in shapes.items()}
wide = lines(HEAD5, lambda n: '"Path %d"=hex(2):%s' % (n, wide_path), SIZE // 2)
files["version5-wide.reg"] = b"\xff\xfe" + wide.encode("utf-16-le")

os.makedirs(sys.argv[1], exist_ok=True)
for name, data in files.items():
    with open(os.path.join(sys.argv[1], name), "wb") as f:
        f.write(data)
