#!/usr/bin/env python3
"""Writes damaged and hostile Anki packages for the import's tests, each a few bytes:
    bomb.apkg        a directory that declares 600 MB for its collection (the data is not there)
    zstd-bomb.apkg   a collection.anki21b that zstd would unpack to 600 MB, its frame telling
                     that size (zstd-bomb-untold.apkg: not telling it)
    newer.apkg       a "meta" entry of a package version beyond the newest Anki writes
    not-sqlite.apkg  a collection.anki2 that is no SQLite database
    not-utf8.apkg    a note whose fields hold a Latin-1 byte and a NUL
    damaged.py FOLDER"""
import os
import sqlite3
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

out = sys.argv[1]


def write(name, entries):
    with zipfile.ZipFile(os.path.join(out, name), "w", zipfile.ZIP_DEFLATED) as package:
        for entry, data in entries:
            package.writestr(entry, data)


def bomb(path, declared):
    """One deflated entry of a few zero bytes whose headers declare `declared` bytes."""
    name, data = b"collection.anki2", zlib.compress(b"\0" * 64)[2:-4]
    crc, fields = 0, (20, 0, 8, 0, 0)
    local = struct.pack("<4s5H3I2H", b"PK\3\4", *fields, crc, len(data), declared, len(name), 0)
    central = struct.pack("<4s6H3I5H2I", b"PK\1\2", 20, *fields, crc, len(data), declared,
                          len(name), 0, 0, 0, 0, 0, 0)
    end = struct.pack("<4s4H2IH", b"PK\5\6", 0, 0, 1, 1, len(central) + len(name),
                      len(local) + len(name) + len(data), 0)
    with open(path, "wb") as f:
        f.write(local + name + data + central + name + end)


bomb(os.path.join(out, "bomb.apkg"), 600 << 20)
for name, told in (("zstd-bomb.apkg", ["--stream-size=%d" % (600 << 20)]),
                   ("zstd-bomb-untold.apkg", [])):
    zeros = subprocess.run(["zstd", "-q", "-19", "-c"] + told, input=b"\0" * (600 << 20),
                           stdout=subprocess.PIPE, check=True).stdout
    write(name, [("meta", b"\x08\x03"), ("collection.anki21b", zeros)])
write("newer.apkg", [("meta", b"\x08\x04"), ("collection.anki21b", b"")])
write("not-sqlite.apkg", [("collection.anki2", b"SQLite format 3\0" + b"\xff" * 2000)])
with tempfile.TemporaryDirectory() as scratch:
    path = os.path.join(scratch, "collection")
    db = sqlite3.connect(path)
    db.executescript("""
        CREATE TABLE col (ver, models, decks); CREATE TABLE notes (id, mid, flds);
        CREATE TABLE cards (nid, did, ord);
        INSERT INTO col VALUES (11, '{"1": {"flds": [{"name": "Front"}, {"name": "Back"}]}}', '{}');
        INSERT INTO notes VALUES (1, 1, CAST(X'636166E91F6100620A' AS TEXT));""")
    db.commit()
    db.close()
    write("not-utf8.apkg", [("collection.anki2", open(path, "rb").read())])
