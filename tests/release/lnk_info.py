#!/usr/bin/env python3
"""Prints the target, working folder and arguments of a Windows shortcut (.lnk), one key=value a line.

Reads the Shell Link format as the shell writes it: the header, the optional ID list, the link
information (whose local base path is the target) and the counted strings."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON_LOCATION, IS_UNICODE = 0x10, 0x20, 0x40, 0x80


def read(path):
    data = open(path, "rb").read()
    if len(data) < 0x4C or struct.unpack_from("<I", data, 0)[0] != 0x4C:
        raise ValueError("not a shortcut")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    info = {}
    if flags & HAS_LINK_INFO:
        size, _, _, _, base_offset = struct.unpack_from("<5I", data, at)
        if base_offset:
            start = at + base_offset
            info["target"] = data[start:data.index(b"\0", start)].decode("latin-1")
        at += size
    unicode = bool(flags & IS_UNICODE)
    for flag, key in ((HAS_NAME, "description"), (HAS_RELATIVE_PATH, "relative"), (HAS_WORKING_DIR, "workdir"),
                      (HAS_ARGUMENTS, "arguments"), (HAS_ICON_LOCATION, "icon")):
        if flags & flag:
            count = struct.unpack_from("<H", data, at)[0]
            size = count * 2 if unicode else count
            raw = data[at + 2:at + 2 + size]
            info[key] = raw.decode("utf-16-le" if unicode else "latin-1").rstrip("\0")
            at += 2 + size
    return info


if __name__ == "__main__":
    try:
        for key, value in read(sys.argv[1]).items():
            print(f"{key}={value}")
    except (OSError, ValueError, struct.error) as error:
        print(f"lnk_info: {sys.argv[1]}: {error}", file=sys.stderr)
        sys.exit(1)
