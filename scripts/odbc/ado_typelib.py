#!/usr/bin/env python3
"""Writes a copy of the ADO type library of Wine's msado15.dll that says version 1.0.

Wine 8's msado15 looks its own type library up as ADODB 1.0 (LoadRegTypeLib(LIBID_ADODB, 1, 0)),
but the library inside the dll and its registration say 2.8, so every IDispatch call
(GetIDsOfNames, Invoke) on a Connection or Recordset fails with TYPE_E_LIBNOTREGISTERED
(0x8002801D). The copy written here, registered under Typelib\\{...}\\1.0, satisfies that lookup.

usage: ado_typelib.py MSADO15_DLL OUT_TLB
"""
import struct
import sys


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def resource(data, type_name, res_id):
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections = u16(data, pe + 6)
    optional = pe + 24
    magic = u16(data, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = u32(data, directories + 2 * 8)
    table = optional + u16(data, pe + 20)
    spans = []
    for i in range(sections):
        s = table + 40 * i
        spans.append((u32(data, s + 12), max(u32(data, s + 8), u32(data, s + 16)), u32(data, s + 20)))

    def offset(rva):
        for start, size, raw in spans:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address outside every section")

    base = offset(resource_rva)

    def entries(directory):
        count = u16(data, directory + 12) + u16(data, directory + 14)
        for i in range(count):
            e = directory + 16 + 8 * i
            name, target = u32(data, e), u32(data, e + 4)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                key = data[at + 2:at + 2 + 2 * u16(data, at)].decode("utf-16-le")
            else:
                key = name
            yield key, target

    def child(directory, wanted):
        for key, target in entries(directory):
            if wanted is None or (isinstance(key, str) and isinstance(wanted, str)
                                  and key.upper() == wanted.upper()) or key == wanted:
                return target
        raise KeyError(wanted)

    types = child(base, type_name)
    names = child(base + (types & 0x7FFFFFFF), res_id)
    leaf = child(base + (names & 0x7FFFFFFF), None)
    entry = base + leaf
    at = offset(u32(data, entry))
    return data[at:at + u32(data, entry + 4)]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as f:
        library = bytearray(resource(f.read(), "TYPELIB", 1))
    if library[:4] != b"MSFT":
        sys.exit("the TYPELIB resource is not an MSFT type library")
    # The header's version word: major in the low half, minor in the high half.
    struct.pack_into("<HH", library, 24, 1, 0)
    with open(sys.argv[2], "wb") as f:
        f.write(library)


if __name__ == "__main__":
    main()
