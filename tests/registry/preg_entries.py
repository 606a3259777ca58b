"""Prints the entries of a Registry.pol file as Samba's own parser reads them,
one line per entry: key|value|type|data, with string data as UTF-16LE hex and
numbers in decimal. Fails on a wrong header or a misplaced separator, which
the parser itself does not check."""
import sys

from samba.dcerpc import preg
from samba.ndr import ndr_unpack

with open(sys.argv[1], "rb") as f:
    policy = ndr_unpack(preg.file, f.read())
if policy.header.signature != "PReg" or policy.header.version != 1:
    sys.exit("bad header: %r %r" % (policy.header.signature, policy.header.version))
for entry in policy.entries:
    marks = (entry._opening_bracket, entry._sep1, entry._sep2, entry._sep3, entry._sep4, entry._closing_bracket)
    if tuple(str(m) for m in marks) != ("[", ";", ";", ";", ";", "]"):
        sys.exit("bad separators in %r: %r" % (entry.keyname, marks))
    data = entry.data
    shown = data.encode("utf-16-le").hex() if isinstance(data, str) else str(data)
    print("%s|%s|%d|%s" % (entry.keyname, entry.valuename, entry.type, shown))
