#!/usr/bin/env python3
"""Compiles a plug-in's resource description into its .rsr file (format in CPlugInResources.h).

  rsrcompile.py DESCRIPTION OUT.rsr

A description holds page tables, one line per page, the page's control IDs in order:

  # comment
  pagetables NAME
      page ID [ID...]

IDs are four printable ASCII characters. Any mistake stops the build with the line it is on.
"""
import struct
import sys


def fail(path, number, message):
    sys.exit("%s:%d: %s" % (path, number, message))


def compile_description(path):
    tables = []  # (name, [[id, ...], ...])
    with open(path, encoding="ascii") as f:
        for number, raw in enumerate(f, 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            if words[0] == "pagetables":
                if len(words) != 2:
                    fail(path, number, "expected: pagetables NAME")
                name = words[1]
                if not 1 <= len(name) <= 255 or any(n == name for n, _ in tables):
                    fail(path, number, "page tables name empty, too long or used twice: %s" % name)
                tables.append((name, []))
            elif words[0] == "page":
                if not tables:
                    fail(path, number, "page outside any pagetables")
                ids = words[1:]
                for i in ids:
                    if len(i) != 4 or not all(32 < ord(c) < 127 for c in i):
                        fail(path, number, "not a four-character control ID: %s" % i)
                if len(ids) > 0xFFFF:
                    fail(path, number, "too many controls on one page")
                tables[-1][1].append(ids)
            else:
                fail(path, number, "unknown word: %s" % words[0])
    if len(tables) > 0xFFFF:
        fail(path, 0, "too many resources")
    out = b"TWRS" + struct.pack("<HH", 1, len(tables))
    for name, pages in tables:
        data = struct.pack("<H", len(pages))
        for ids in pages:
            data += struct.pack("<H", len(ids)) + b"".join(i.encode("ascii") for i in ids)
        out += b"PGTB" + struct.pack("<B", len(name)) + name.encode("ascii") + struct.pack("<I", len(data)) + data
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    data = compile_description(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
