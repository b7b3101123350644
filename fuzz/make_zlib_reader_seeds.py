#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_zlib_reader: a tagged stream, a gzip stream, plain text and a
truncated tagged stream, all over a few lines of score-like text."""
import gzip
import os
import zlib

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus", "zlib_reader")
os.makedirs(out, exist_ok=True)

text = b"".join(b"|Note|Pos:%d|Dur:%d|Tie:%d\r\n" % ((i * 7) % 13 - 6, 1 << (i % 4), (i // 5) % 2)
                for i in range(40))
tagged = b"[KVZ]\0" + zlib.compress(text, 9)
seeds = {
    "tagged.bin": tagged,
    "gzip.bin": gzip.compress(text, compresslevel=9, mtime=0),
    "plain.txt": text[:200],
    "truncated.bin": tagged[: len(tagged) // 2],
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
