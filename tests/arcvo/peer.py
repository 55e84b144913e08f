#!/usr/bin/env python3
"""The Python peer of the zip library's interoperation tests.

  peer.py list ARCHIVE          one line per entry: name, size, date, dir flag, crc32 of the content
  peer.py write ARCHIVE SRCDIR  writes SRCDIR's tree, deflated and stored entries alternating,
                                directory entries included
"""
import os
import sys
import zipfile
import zlib


def do_list(path):
    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            sys.exit("bad entry")
        for i in z.infolist():
            data = z.read(i)
            print("%s|%d|%04d-%02d-%02d %02d:%02d:%02d|%d|%08x" % (
                (i.filename, i.file_size) + i.date_time + (int(i.is_dir()), zlib.crc32(data))))


def do_write(path, src):
    with zipfile.ZipFile(path, "w") as z:
        n = 0
        for root, dirs, files in os.walk(src):
            dirs.sort()
            rel = os.path.relpath(root, src)
            if rel != ".":
                z.write(root, rel + "/")
            for f in sorted(files):
                full = os.path.join(root, f)
                arc = f if rel == "." else rel + "/" + f
                z.write(full, arc, zipfile.ZIP_DEFLATED if n % 2 == 0 else zipfile.ZIP_STORED)
                n += 1


if __name__ == "__main__":
    if sys.argv[1] == "list":
        do_list(sys.argv[2])
    else:
        do_write(sys.argv[2], sys.argv[3])
