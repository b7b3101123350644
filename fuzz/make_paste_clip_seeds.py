#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_paste_clip. Each seed is one byte choosing the clipboard
format (bit 0: text) and the selection, then the clipboard's data: a clip as the clip writer
makes it (plain and gzip), the same gzip stream cut short, plain text from another program, an
old-version clip, and a gzip bomb of a few KB that inflates past the paste's 8 MiB bound."""
import gzip
import os
import zlib

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus", "paste_clip")
os.makedirs(out, exist_ok=True)

# The lines the clip writer writes for a clef, two notes, a rest and a bar line, with context.
clip = (b"!TarlowmedeRazadoveClip(2.75,Single)\r\n"
        b"|Fake|Clef|Type:Treble\r\n"
        b"|Context|Bar:1,AtStart\r\n"
        b"|Clef|Type:Bass\r\n"
        b"|Note|Dur:4th|Pos:3\r\n"
        b"|Note|Dur:8th,Dotted|Pos:-2#\r\n"
        b"|Rest|Dur:4th|Pos:0\r\n"
        b"|Bar\r\n"
        b"|Text|Text:\"Caf\xc3\xa9\"|Font:StaffBold\r\n"
        b"!TarlowmedeRazadoveClip-End\r\n")
packed = gzip.compress(clip, compresslevel=9, mtime=0)
seeds = {
    "clip_plain": b"\x00" + clip,
    "clip_gzip": b"\x00" + packed,
    "clip_text_gzip_selection": b"\x07" + packed,
    "clip_tagged_zlib": b"\x00" + b"[KVZ]\x00" + zlib.compress(clip, 9),
    "cut_gzip": b"\x00" + packed[: len(packed) * 2 // 3],
    "cut_clip_text": b"\x01" + clip[: len(clip) // 2],
    "old_version_text": b"\x01" + clip.replace(b"2.75", b"2.5").replace(b"\xc3\xa9", b"\xe9"),
    "plain_text": b"\x01" + b"a line of text from another program\n",
    "bomb": b"\x00" + gzip.compress(b"\x00" * ((8 << 20) + 4096), compresslevel=9, mtime=0),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
