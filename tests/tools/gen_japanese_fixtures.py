#!/usr/bin/env python3
"""Writes the Japanese and Unicode file fixtures under tests/fixtures/japanese/.

Every expected output comes from Python's own codecs, never from the program's arithmetic:

  jisx0208.euc    every JIS X 0208 character in EUC-JP, one row per line (CR LF)
  jisx0208.jis    the same characters in ISO-2022-JP (ESC $ B ... ESC ( B per line)
  jisx0208.sjis   the euc_jp / iso2022_jp decoding of those files, encoded as cp932

  sample.utf32le  a mixed-script text as UTF-32 little-endian code points (the test's input)
  sample.utf16le  FF FE + utf_16_le of the text
  sample.utf16be  FE FF + utf_16_be of the text
  sample.utf8     utf_8_sig of the text (EF BB BF + UTF-8)

Run from anywhere:  python3 tests/tools/gen_japanese_fixtures.py
"""

import pathlib
import sys

OUT = pathlib.Path(__file__).resolve().parents[1] / "fixtures" / "japanese"

# Mixed scripts, a tab, CR LF line ends, a lone LF, characters that differ between JIS and
# Microsoft mappings, and characters outside the BMP (surrogate pairs in UTF-16).
SAMPLE = (
    "Quillet \u00e9t\u00e9 caf\u00e9\r\n"
    "\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\u3002\uff5e\u301c\u2225\r\n"
    "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u0420\u0443\u0441\u0441\u043a\u0438\u0439\t"
    "\ud55c\uad6d\uc5b4 \u0627\u0644\u0639\u0631\u0628\u064a\u0629 \u05e2\u05d1\u05e8\u05d9\u05ea\n"
    "\u0928\u092e\u0938\u094d\u0924\u0947 \u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35\r\n"
    "\U0001f600 \U00020bb7\u91ce\u5bb6 \U0001d11e\uff71\uff72\uff73 \u00a5\u20ac\u2122\r\n"
)


def jis_x_0208_rows():
    """(row bytes in EUC-JP, decoded text) for every row of JIS X 0208 that has characters."""
    rows = []
    for row in range(0xA1, 0xFF):
        euc = bytearray()
        text = []
        for cell in range(0xA1, 0xFF):
            pair = bytes([row, cell])
            try:
                ch = pair.decode("euc_jp")
            except UnicodeDecodeError:
                continue
            euc += pair
            text.append(ch)
        if text:
            rows.append((bytes(euc), "".join(text)))
    return rows


def write(name, data):
    (OUT / name).write_bytes(data)
    print(f"wrote {OUT / name} ({len(data)} bytes)")


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    rows = jis_x_0208_rows()
    count = sum(len(text) for _, text in rows)
    if count != 6879:
        sys.exit(f"expected 6879 JIS X 0208 characters, got {count}")

    euc = b"".join(row + b"\r\n" for row, _ in rows)
    # Seven-bit: the EUC bytes less 0x80, between the kanji and the ASCII escapes.
    jis = b"".join(b"\x1b$B" + bytes(b & 0x7F for b in row) + b"\x1b(B\r\n" for row, _ in rows)
    text = euc.decode("euc_jp")
    if jis.decode("iso2022_jp") != text:
        sys.exit("euc_jp and iso2022_jp decode the rows differently")
    write("jisx0208.euc", euc)
    write("jisx0208.jis", jis)
    write("jisx0208.sjis", text.encode("cp932"))

    write("sample.utf32le", SAMPLE.encode("utf_32_le"))
    write("sample.utf16le", b"\xff\xfe" + SAMPLE.encode("utf_16_le"))
    write("sample.utf16be", b"\xfe\xff" + SAMPLE.encode("utf_16_be"))
    write("sample.utf8", SAMPLE.encode("utf_8_sig"))


if __name__ == "__main__":
    main()
