"""Rewrites an .xlsx package with its worksheet damaged, as a failing disk leaves it.

    damage_package.py FILE intact     the same members, zipped again by Python
    damage_package.py FILE truncated  the worksheet cut off part way
    damage_package.py FILE hole       one cell missing, the document still well closed
"""
import re
import sys
import zipfile

path, mode = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(path) as z:
    members = [(info.filename, z.read(info)) for info in z.infolist()]
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
    for name, data in members:
        if name == "xl/worksheets/sheet1.xml":
            if mode == "truncated":
                data = data[: len(data) * 2 // 3]
            elif mode == "hole":
                data = re.sub(rb"<c r=\"B3\"[^>]*>.*?</c>", b"", data, count=1)
        z.writestr(name, data)
