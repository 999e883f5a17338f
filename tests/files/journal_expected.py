#!/usr/bin/env python3
"""Writes the expected columns of journal.txt that are bytes or hashes, computed here without the C++ code:
record bytes with struct and a bit-by-bit CRC-32C, journal names with FNV-1a 64.

    python3 tests/files/journal_expected.py          # fills every "?" in the last column
    python3 tests/files/journal_expected.py --check  # says which rows disagree, changes nothing
"""
import pathlib
import struct
import sys

TABLE = pathlib.Path(__file__).with_name("journal.txt")

# Kind number and signature of every record kind, as the journal's format defines them.
KINDS = {
    "header": (1, "sii"), "map_opened": (2, "siidd"), "capture": (3, "idd"), "removal_on_map": (4, "dd"),
    "removal_from_grid": (5, "ii"), "undo": (6, ""), "redo": (7, ""), "edge_field": (8, "is"),
    "notation": (9, "i"), "reference_model": (10, "s"), "saved": (11, "s"),
}


def crc32c(data: bytes) -> int:
    crc = 0xFFFFFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ (0x82F63B78 if crc & 1 else 0)
    return crc ^ 0xFFFFFFFF


def fnv1a64(data: bytes) -> int:
    h = 0xCBF29CE484222325
    for byte in data:
        h = ((h ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def unescape(text: str) -> bytes:
    """A field spells a byte as \\xHH; everything else is UTF-8."""
    out, i = bytearray(), 0
    while i < len(text):
        if text.startswith("\\x", i):
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        else:
            out += text[i].encode()
            i += 1
    return bytes(out)


def record_bytes(kind: str, fields: list) -> bytes:
    number, signature = KINDS[kind]
    assert len(signature) == len(fields), kind
    body = bytes([number])
    for letter, text in zip(signature, fields):
        body += letter.encode()
        if letter == "i":
            body += struct.pack("<q", int(text))
        elif letter == "d":
            body += struct.pack("<d", float(text))
        else:
            raw = unescape(text)
            body += struct.pack("<I", len(raw)) + raw
    return struct.pack("<II", len(body), crc32c(body)) + body


def fields_of(line: str) -> list:
    """The table's fields: split at "|" outside double quotes, trimmed, quotes taken off."""
    fields, current, quoted = [], "", False
    for ch in line:
        if ch == '"':
            quoted = not quoted
        if ch == "|" and not quoted:
            fields.append(current)
            current = ""
        else:
            current += ch
    fields.append(current)
    out = []
    for f in fields:
        f = f.strip(" \t")
        out.append(f[1:-1] if len(f) >= 2 and f[0] == '"' and f[-1] == '"' else f)
    return out


def expected(fields: list):
    op = fields[1]
    if op == "record":
        return record_bytes(fields[2], fields[3:-1]).hex()
    if op == "crc":
        return "%08x" % crc32c(unescape(fields[2]))
    if op == "name":
        return "%016x.journal" % fnv1a64(unescape(fields[2]))
    return None


def main() -> int:
    check = "--check" in sys.argv
    lines, wrong = TABLE.read_text(encoding="utf-8").split("\n"), 0
    for n, line in enumerate(lines):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = fields_of(line)
        value = expected(fields)
        if value is None:
            continue
        if check and fields[-1] != value:
            print(f"{TABLE.name}:{n + 1}: {fields[0]}: {fields[-1]} should be {value}")
            wrong += 1
        elif not check and fields[-1] == "?":
            lines[n] = line[: line.rstrip().rfind("?")] + value
    if not check:
        TABLE.write_text("\n".join(lines), encoding="utf-8")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
