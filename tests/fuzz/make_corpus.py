#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora from the texts that the unit tests' tables hold.

Every string literal in tests/unit/*_test.cpp (adjacent literals joined, escapes decoded) is a
text someone thought worth a case. Each target gets them in its own input format:
  fuzz_expand: [code page][text]                        code pages 932 and 1252
  fuzz_text:   [code page][pattern length][char code][pattern][text]
  fuzz_watch:  [code page] then events: two ticks to the first poll, the text copied, ticks
Run it again after the tables change: python3 tests/fuzz/make_corpus.py
"""
import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]
CORPUS = ROOT / "tests" / "fuzz" / "corpus"

# A C++ token that may hold quotes: a comment, a character literal or a string literal.
TOKEN = re.compile(rb'//[^\n]*|/\*.*?\*/|\'(?:[^\'\\\n]|\\.)*\'|"((?:[^"\\\n]|\\.)*)"|\S', re.S)
SIMPLE_ESCAPES = {b"n": 10, b"r": 13, b"t": 9, b"0": 0, b"\\": 92, b'"': 34, b"'": 39,
                  b"a": 7, b"b": 8, b"f": 12, b"v": 11, b"?": 63}
TRIGGERS = (b".co", b".net", b"www", b"://")
READ_MAX = 1014

# fuzz_watch's operations (tests/fuzz/fuzz_watch.cpp, enum Operation).
OP_TICK = 0
OP_COPY_BYTES = 3
COPY_BYTES_MAX = 255


def decode(body):
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i:i + 1]
        if c != b"\\":
            out += c
            i += 1
            continue
        e = body[i + 1:i + 2]
        if e == b"x":
            m = re.match(rb"[0-9A-Fa-f]+", body[i + 2:])
            out.append(int(m.group(0), 16) & 0xFF)
            i += 2 + len(m.group(0))
        elif e in (b"u", b"U"):
            digits = 4 if e == b"u" else 8
            out += chr(int(body[i + 2:i + 2 + digits], 16)).encode()
            i += 2 + digits
        elif e in b"01234567" and e:
            m = re.match(rb"[0-7]{1,3}", body[i + 1:])
            out.append(int(m.group(0), 8) & 0xFF)
            i += 1 + len(m.group(0))
        else:
            out.append(SIMPLE_ESCAPES[e])
            i += 2
    return bytes(out)


def literals(code):
    """The string literals of code, adjacent ones joined, as byte strings."""
    joined = None
    for token in TOKEN.finditer(code):
        if token.group(1) is not None:
            joined = (joined or b"") + decode(token.group(1))
            continue
        if token.group(0).startswith((b"//", b"/*")):
            continue  # a comment between two literals still joins them
        if joined is not None:
            yield joined
        joined = None
    if joined is not None:
        yield joined


def texts():
    found = set()
    for source in sorted((ROOT / "tests" / "unit").glob("*_test.cpp")):
        code = re.sub(rb"^\s*#.*$", b"", source.read_bytes(), flags=re.M)  # no include paths
        for text in literals(code):
            if 0 < len(text) <= READ_MAX:
                found.add(text)
    return sorted(found)


def write(target, inputs):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for data in inputs:
        (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)
    print(f"{target}: {len(inputs)} seeds")


def main():
    all_texts = texts()
    addresses = [t for t in all_texts if any(trigger in t for trigger in TRIGGERS)]
    watched = [t for t in all_texts
               if (any(trigger in t for trigger in TRIGGERS) or t.lower().startswith(b"clip"))
               and len(t) <= COPY_BYTES_MAX]
    write("fuzz_expand", [bytes([cp]) + t for t in addresses for cp in (0, 1)])
    # Shift JIS, the pattern "://", the character "-"; the double-byte ~ for the rest.
    write("fuzz_text", [bytes([0, 3, 0x00, 0x2D]) + b"://" + t for t in all_texts] +
          [bytes([0, 3, 0x81, 0x7E]) + b"www" + t for t in addresses])
    write("fuzz_watch", [bytes([0, OP_TICK, OP_TICK, OP_COPY_BYTES, len(t)]) + t +
                         bytes([OP_TICK] * 4) for t in watched])


if __name__ == "__main__":
    main()
