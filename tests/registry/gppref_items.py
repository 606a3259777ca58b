"""Prints the registry preference items of a Registry.xml as Python's own XML
parser reads them, one line per item: hive|key|name|type|value|desc. Fails on
a file that is not UTF-8, on a root other than RegistrySettings with its class
id, and on an item without its class id, a "changed" time, a GUID of its own
as uid, the "U" action, the same name as its Properties (or "(Default)" for
the default value, marked default="1"), bypassErrors="1", its description on
the item rather than on its Properties, or userContext="1" exactly on the
user's items."""
import re
import sys
import xml.etree.ElementTree as ET

GUID = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
STAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")

with open(sys.argv[1], "rb") as f:
    data = f.read()
data.decode("utf-8")
root = ET.fromstring(data)
if root.tag != "RegistrySettings" or root.get("clsid") != "{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}":
    sys.exit("bad root: %s %r" % (root.tag, root.attrib))
uids = set()
for item in root:
    props = item.find("Properties")
    uid = item.get("uid", "")
    if (item.tag != "Registry" or item.get("clsid") != "{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}" or props is None
            or not GUID.match(uid) or uid in uids or not STAMP.match(item.get("changed", ""))
            or props.get("action") != "U"
            or item.get("name") != (props.get("name") or "(Default)")
            or (props.get("name") == "") != (props.get("default") == "1")
            or item.get("bypassErrors") != "1" or "desc" in props.attrib
            or (item.get("userContext") == "1") != (props.get("hive") == "HKEY_CURRENT_USER")):
        sys.exit("bad item: %r %r" % (item.attrib, None if props is None else props.attrib))
    uids.add(uid)
    print("|".join([props.get(k, "") for k in ("hive", "key", "name", "type", "value")] + [item.get("desc", "")]))
