#!/usr/bin/env python3
"""pe_resources.py - reads a Windows executable's version resource and manifest from its resource
section, as Explorer's Properties and the loader see them, without Windows or Wine.

Usage: pe_resources.py EXE            prints the version resource as NAME=VALUE lines
       pe_resources.py --manifest EXE prints the embedded application manifest
"""
import struct
import sys

RT_VERSION, RT_MANIFEST = 16, 24


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise ValueError("address %#x outside every section" % rva)

    def entries(self, directory):
        base = self.offset(self.resource_rva)
        named, numbered = struct.unpack_from("<12xHH", self.data, base + directory)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            yield name, target

    def resource(self, kind):
        """The first resource of that type, whatever its name and language."""
        base = self.offset(self.resource_rva)
        node = 0
        for wanted in (kind, None, None):
            for name, target in self.entries(node):
                if wanted is None or name == wanted:
                    node = target & 0x7FFFFFFF
                    break
            else:
                return None
        rva, size = struct.unpack_from("<II", self.data, base + node)
        start = self.offset(rva)
        return self.data[start:start + size]


def align(offset):
    return (offset + 3) & ~3


def blocks(data, start, end):
    """The version resource's nested blocks: (key, value, children) each."""
    while start < end:
        length, value_length, kind = struct.unpack_from("<HHH", data, start)
        if length == 0:
            break
        key_end = start + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[start + 6:key_end].decode("utf-16-le")
        value_start = align(key_end + 2)
        value_size = value_length * 2 if kind == 1 else value_length
        value = data[value_start:value_start + value_size]
        if kind == 1:
            value = value.decode("utf-16-le").rstrip("\0")
        children = list(blocks(data, align(value_start + value_size), start + length))
        yield key, value, children
        start = align(start + length)


def version_fields(resource):
    (key, fixed, children), = list(blocks(resource, 0, len(resource)))[:1]
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if key != "VS_VERSION_INFO" or signature != 0xFEEF04BD:
        raise ValueError("no VS_VERSION_INFO")
    quad = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    fields = {"FIXED_FILEVERSION": quad(file_ms, file_ls),
              "FIXED_PRODUCTVERSION": quad(product_ms, product_ls)}
    for name, _, tables in children:
        if name == "StringFileInfo":
            for table, _, strings in tables:
                fields["STRING_TABLE"] = table
                for string, value, _ in strings:
                    fields[string] = value
        elif name == "VarFileInfo":
            for var, value, _ in tables:
                if var == "Translation":
                    fields["TRANSLATION"] = " ".join(
                        "%04X%04X" % pair for pair in struct.iter_unpack("<HH", value))
    return fields


def main(argv):
    if any(arg in ("-h", "--help") for arg in argv[1:]):
        sys.stdout.write(__doc__)
        return 0
    manifest = argv[1:2] == ["--manifest"]
    paths = argv[2:] if manifest else argv[1:]
    if len(paths) != 1 or paths[0].startswith("-"):
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(paths[0], "rb") as f:
            image = Image(f.read())
        resource = image.resource(RT_MANIFEST if manifest else RT_VERSION)
    except (OSError, ValueError, struct.error) as error:
        sys.stderr.write("%s: %s\n" % (paths[0], getattr(error, "strerror", None) or error))
        return 1
    if resource is None:
        sys.stderr.write("%s: no %s resource\n" % (paths[0], "manifest" if manifest else "version"))
        return 1
    if manifest:
        sys.stdout.write(resource.decode("utf-8"))
    else:
        for name, value in version_fields(resource).items():
            print("%s=%s" % (name, value))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
