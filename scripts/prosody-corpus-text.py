#!/usr/bin/env python3
"""Sentences for the stand-in prosody corpus, from Jane Austen's six novels
(public domain) as packaged in Debian's r-cran-janeaustenr.

The package keeps the novels as R objects in data/Rdata.rdb: a lazy-load
database of zlib-compressed serialisations, each a table whose text column
is a vector of strings (one per printed line). Those strings are read
straight out of the serialised stream (every string is a CHARSXP record:
flags with type 9, a 32-bit length, the bytes).

Usage: prosody-corpus-text.py RDATA.rdb COUNT > sentences.txt
Prints COUNT sentences of 4 to 18 words, plain ASCII letters and
punctuation, questions included in the share the novels have them (at
least 15 %), picked evenly across the books.
"""
import re
import struct
import sys
import zlib

ABBREVIATIONS = ("Mr", "Mrs", "Dr", "St", "Col", "Capt", "Gen", "Esq")


def lines_of(rdb):
    data = open(rdb, "rb").read()
    pos = 0
    while pos < len(data):
        stream = zlib.decompressobj()
        obj = stream.decompress(data[pos + 4:])
        pos += 4 + len(data) - (pos + 4) - len(stream.unused_data)
        book, i = [], 0
        while i + 8 <= len(obj):
            flags = struct.unpack(">I", obj[i:i + 4])[0]
            if flags & 0xFF == 9:
                n = struct.unpack(">i", obj[i + 4:i + 8])[0]
                if 0 <= n <= 100000 and i + 8 + n <= len(obj):
                    book.append(obj[i + 8:i + 8 + n].decode("utf-8", "replace"))
                    i += 8 + n
                    continue
            i += 1
        yield book


def sentences_of(book):
    text = " ".join(book)
    text = text.replace("_", "").replace("--", ", ").replace("\u2019", "'")
    text = re.sub(r"\s+", " ", text)
    for a in ABBREVIATIONS:
        text = text.replace(a + ". ", a + " ")
    for s in re.split(r"(?<=[.?!])[\"']? +(?=[\"']?[A-Z])", text):
        s = s.strip(" \"'")
        if not re.fullmatch(r"[A-Za-z][A-Za-z ,;:'\-]*[.?!]", s):
            continue
        if s.isupper() or "CHAPTER" in s or "  " in s:
            continue
        words = s.split()
        if 4 <= len(words) <= 18:
            yield s.replace(";", ",").replace(":", ",")


def spread(items, count):
    if count >= len(items):
        return list(items)
    return [items[len(items) * k // count] for k in range(count)]


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: prosody-corpus-text.py RDATA.rdb COUNT")
    count = int(sys.argv[2])
    found = []
    for book in lines_of(sys.argv[1]):
        found.extend(sentences_of(book))
    found = list(dict.fromkeys(found))
    questions = [s for s in found if s.endswith("?")]
    others = [s for s in found if not s.endswith("?")]
    share = max(len(questions) / max(len(found), 1), 0.15)
    picked_q = spread(questions, int(count * share))
    picked = spread(others, count - len(picked_q)) + picked_q
    order = {s: i for i, s in enumerate(found)}
    picked.sort(key=order.get)
    sys.stderr.write("prosody-corpus-text: %d sentences found (%d questions), %d picked (%d questions)\n"
                     % (len(found), len(questions), len(picked), len(picked_q)))
    for s in picked:
        print(s)


if __name__ == "__main__":
    main()
