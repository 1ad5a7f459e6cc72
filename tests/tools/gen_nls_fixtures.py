#!/usr/bin/env python3
"""Writes the code-page oracle files under tests/fixtures/nls/ from Python's codecs.

The C++ tests in tests/platform/nls compare Quillet's conversions with these files; where
Python is known to disagree with Windows the test lists the difference and its reason.

Files, all plain text, '#' starts a comment line:

  <page>.decode   one line per byte sequence Python decodes: "BYTES_HEX UTF16_HEX".
                  Every single byte and every lead/trail pair the page's structure allows
                  is tried; sequences not listed are ones Python refuses.
  <page>.encode   one line per BMP code point whose encoding is NOT simply the inverse of
                  the decode table: "UTF16_HEX BYTES_HEX" (a one-way mapping, or a code
                  point that decodes from several sequences), or "UTF16_HEX -" for a code
                  point that decodes from some sequence but does not encode back.
                  Every other code point either round-trips through its one decode line or
                  is refused by Python.
  <page>.samples  whole strings: "BYTES_HEX UTF16_HEX" for stateful and Unicode pages.
  sbcs.decode     one line per single-byte page: "PAGE UNITS", UNITS being 256 groups of
                  four hex digits, the character of each byte 00..FF, "----" if refused.

Run from anywhere: python3 tests/tools/gen_nls_fixtures.py
"""

import codecs
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "fixtures", "nls")

# page number -> (Python codec, lead-byte ranges, trail-byte ranges, three-byte prefix)
TABLE_PAGES = {
    932: ("cp932", [(0x81, 0x9F), (0xE0, 0xFC)], [(0x40, 0x7E), (0x80, 0xFC)]),
    936: ("gbk", [(0x81, 0xFE)], [(0x40, 0x7E), (0x80, 0xFE)]),
    949: ("cp949", [(0x81, 0xFE)], [(0x41, 0x5A), (0x61, 0x7A), (0x81, 0xFE)]),
    950: ("cp950", [(0x81, 0xFE)], [(0x40, 0x7E), (0xA1, 0xFE)]),
    1252: ("cp1252", [], []),
    51932: ("euc_jp", [(0x8E, 0x8E), (0xA1, 0xFE)], [(0xA1, 0xFE)]),
}


def utf16_hex(text):
    data = text.encode("utf-16-be", "surrogatepass")
    return data.hex().upper()


def decode_or_none(codec, data):
    try:
        text = data.decode(codec)
    except UnicodeDecodeError:
        return None
    # A sequence "decodes" only when it is one character (not a valid single byte
    # followed by another valid single byte).
    return text if len(text) == 1 else None


def byte_ranges(ranges):
    for first, last in ranges:
        yield from range(first, last + 1)


def decode_table(codec, leads, trails, three_byte_prefix):
    table = []  # (bytes, text)
    lead_set = set(byte_ranges(leads))
    for b in range(256):
        if b in lead_set:
            continue
        text = decode_or_none(codec, bytes([b]))
        if text is not None:
            table.append((bytes([b]), text))
    for lead in sorted(lead_set):
        for trail in byte_ranges(trails):
            seq = bytes([lead, trail])
            text = decode_or_none(codec, seq)
            if text is not None:
                table.append((seq, text))
    if three_byte_prefix is not None:
        for second in byte_ranges(trails):
            for third in byte_ranges(trails):
                seq = bytes([three_byte_prefix, second, third])
                text = decode_or_none(codec, seq)
                if text is not None:
                    table.append((seq, text))
    return table


def encode_exceptions(codec, table):
    sources = {}
    for seq, text in table:
        sources.setdefault(text, []).append(seq)
    lines = []
    for cp in range(0x10000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        ch = chr(cp)
        try:
            encoded = ch.encode(codec)
        except UnicodeEncodeError:
            encoded = None
        seqs = sources.get(ch, [])
        if encoded is None:
            if seqs:
                lines.append(f"{cp:04X} -")
            continue
        if len(seqs) == 1 and seqs[0] == encoded:
            continue
        lines.append(f"{cp:04X} {encoded.hex().upper()}")
    return lines


def write(name, header, lines):
    path = os.path.join(OUT, name)
    with open(path, "w", encoding="ascii", newline="\n") as f:
        for h in header:
            f.write(f"# {h}\n")
        for line in lines:
            f.write(line + "\n")
    return path


SINGLE_BYTE_PAGES = {
    437: "cp437", 720: "cp720", 737: "cp737", 775: "cp775", 850: "cp850", 852: "cp852",
    855: "cp855", 857: "cp857", 858: "cp858", 860: "cp860", 861: "cp861", 862: "cp862",
    863: "cp863", 865: "cp865", 866: "cp866", 869: "cp869", 874: "cp874",
    1250: "cp1250", 1251: "cp1251", 1252: "cp1252", 1253: "cp1253", 1254: "cp1254",
    1255: "cp1255", 1256: "cp1256", 1257: "cp1257", 1258: "cp1258",
    10000: "mac_roman", 10006: "mac_greek", 10007: "mac_cyrillic", 10029: "mac_latin2",
    10081: "mac_turkish", 20127: "ascii", 20866: "koi8_r", 21866: "koi8_u",
    28591: "latin_1", 28592: "iso8859_2", 28593: "iso8859_3", 28594: "iso8859_4",
    28595: "iso8859_5", 28596: "iso8859_6", 28597: "iso8859_7", 28598: "iso8859_8",
    28599: "iso8859_9", 28603: "iso8859_13", 28605: "iso8859_15",
}


def single_byte_line(page, codec):
    units = []
    for b in range(256):
        text = decode_or_none(codec, bytes([b]))
        units.append("----" if text is None else f"{ord(text):04X}")
    return f"{page} {''.join(units)}"


SAMPLE_TEXTS = [
    "A",
    "Hello, world!",
    "日本語のテキスト",
    "ｶﾀｶﾅ and カタカナ",
    "ＡＢＣ１２３",
    "1+1=2 ~ \\ [brackets] {braces} @home #tag $5 %d &amp; *star",
    "Mixed 漢字 and ASCII\r\nnext line\r\n",
    "円記号¥と波線～",
    "한국어 텍스트",
    "中文简体",
    "Ελληνικά",
    "😀 emoji",
    "tab\there",
    "+plus and -minus",
    "a~b",
    "\u00e9t\u00e9",
]

SAMPLE_PAGES = {
    50220: "iso2022_jp",
    65000: "utf_7",
    65001: "utf_8",
}


def samples(codec):
    lines = []
    for text in SAMPLE_TEXTS:
        try:
            data = text.encode(codec)
        except UnicodeEncodeError:
            continue
        lines.append(f"{data.hex().upper()} {utf16_hex(text)}")
    return lines


# Malformed UTF-8 and what Python's "replace" decoding makes of it (one U+FFFD per maximal
# subpart of an ill-formed sequence, as Unicode recommends).
UTF8_MALFORMED = [
    b"\x80", b"\xC0\xAF", b"\xE0\x80\xAF", b"\xED\xA0\x80", b"\xF4\x90\x80\x80",
    b"\xE3\x81", b"a\xE3\x81b", b"\xF0\x9F\x98", b"\xFF\xFE", b"\xC3", b"\xE6\x97\xA5\x80",
]


def main():
    os.makedirs(OUT, exist_ok=True)
    written = []
    version = f"Python {sys.version.split()[0]}"
    for page, (codec, leads, trails) in TABLE_PAGES.items():
        prefix = 0x8F if codec == "euc_jp" else None
        table = decode_table(codec, leads, trails, prefix)
        written.append(write(f"{page}.decode",
                             [f"{codec} decoding, {version}", "BYTES_HEX UTF16_HEX"],
                             [f"{seq.hex().upper()} {utf16_hex(text)}" for seq, text in table]))
        written.append(write(f"{page}.encode",
                             [f"{codec} encoding where it is not the inverse of {page}.decode,"
                              f" {version}", "UTF16_HEX BYTES_HEX (or - for refused)"],
                             encode_exceptions(codec, table)))
    written.append(write("sbcs.decode",
                         [f"single-byte pages, each byte 00..FF, {version}",
                          "PAGE UNITS (---- for refused)"],
                         [single_byte_line(page, codec)
                          for page, codec in SINGLE_BYTE_PAGES.items()]))
    for page, codec in SAMPLE_PAGES.items():
        written.append(write(f"{page}.samples",
                             [f"{codec} round trips, {version}", "BYTES_HEX UTF16_HEX"],
                             samples(codec)))
    malformed = [f"{data.hex().upper()} {utf16_hex(data.decode('utf_8', 'replace'))}"
                 for data in UTF8_MALFORMED]
    written.append(write("65001.malformed",
                         [f"utf_8 decoding with replacement, {version}", "BYTES_HEX UTF16_HEX"],
                         malformed))
    total = sum(os.path.getsize(p) for p in written)
    print(f"wrote {len(written)} files, {total} bytes, to {os.path.normpath(OUT)}")


if __name__ == "__main__":
    main()
