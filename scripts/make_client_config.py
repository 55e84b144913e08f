#!/usr/bin/env python3
"""Writes a Reg_Client.ini (the client's 20,484-byte configuration block)
whose four cameras point at ROOT/cam1..cam4 of a demo station and print
four parameters each.

usage: make_client_config.py OUTPUT ROOT
"""
import sys

SIZE = 20484
PARAMS = ["TP101", "PT102", "DN115", "DU116"]


def main():
    out, root = sys.argv[1], sys.argv[2]
    block = bytearray(SIZE)
    for c in range(4):
        path = ("%s/cam%d" % (root, c + 1)).encode()[:1023]
        block[1024 * c:1024 * c + len(path)] = path
        for k, p in enumerate(PARAMS):
            ref = ("N%d: %s" % (c + 1, p)).encode()
            at = 4096 + 4097 * c + 1024 * k
            block[at:at + len(ref)] = ref
        block[4096 + 4097 * c + 4096] = len(PARAMS)
    with open(out, "wb") as f:
        f.write(block)


if __name__ == "__main__":
    main()
