#!/usr/bin/env python3
"""Writes Anki packages as Anki's own export lays them out, beside an old collection.anki2 that
holds only a note asking for a newer Anki:
    FOLDER/anki21b.apkg   the newest layout: a "meta" entry (PackageMetadata, version 3), the
                          collection at schema 18 compressed with zstd as collection.anki21b,
                          and the media list compressed too
    FOLDER/anki21.colpkg  the layout before it: the collection at schema 11 as collection.anki21,
                          no "meta", the media list as JSON
No program that writes these layouts is available here, so the tables are those of Anki's schema
files (schema11.sql and the upgrades to 18).
    anki21b.py FOLDER"""
import os
import sqlite3
import subprocess
import sys
import tempfile
import zipfile

SCHEMA11 = """
CREATE TABLE col (id integer PRIMARY KEY, crt integer NOT NULL, mod integer NOT NULL,
  scm integer NOT NULL, ver integer NOT NULL, dty integer NOT NULL, usn integer NOT NULL,
  ls integer NOT NULL, conf text NOT NULL, models text NOT NULL, decks text NOT NULL,
  dconf text NOT NULL, tags text NOT NULL);
CREATE TABLE notes (id integer PRIMARY KEY, guid text NOT NULL, mid integer NOT NULL,
  mod integer NOT NULL, usn integer NOT NULL, tags text NOT NULL, flds text NOT NULL,
  sfld integer NOT NULL, csum integer NOT NULL, flags integer NOT NULL, data text NOT NULL);
CREATE TABLE cards (id integer PRIMARY KEY, nid integer NOT NULL, did integer NOT NULL,
  ord integer NOT NULL, mod integer NOT NULL, usn integer NOT NULL, type integer NOT NULL,
  queue integer NOT NULL, due integer NOT NULL, ivl integer NOT NULL, factor integer NOT NULL,
  reps integer NOT NULL, lapses integer NOT NULL, left integer NOT NULL, odue integer NOT NULL,
  odid integer NOT NULL, flags integer NOT NULL, data text NOT NULL);
CREATE TABLE revlog (id integer PRIMARY KEY, cid integer NOT NULL, usn integer NOT NULL,
  ease integer NOT NULL, ivl integer NOT NULL, lastIvl integer NOT NULL,
  factor integer NOT NULL, time integer NOT NULL, type integer NOT NULL);
CREATE INDEX ix_cards_nid ON cards (nid);
"""
SCHEMA18 = SCHEMA11 + """
CREATE TABLE graves (oid integer NOT NULL, type integer NOT NULL, usn integer NOT NULL,
  PRIMARY KEY (oid, type)) WITHOUT ROWID;
CREATE TABLE deck_config (id integer PRIMARY KEY NOT NULL, name text NOT NULL,
  mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL);
CREATE TABLE config (KEY text NOT NULL PRIMARY KEY, usn integer NOT NULL,
  mtime_secs integer NOT NULL, val blob NOT NULL) without rowid;
CREATE TABLE tags (tag text NOT NULL PRIMARY KEY, usn integer NOT NULL,
  collapsed boolean NOT NULL, config blob NULL) without rowid;
CREATE TABLE fields (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL,
  config blob NOT NULL, PRIMARY KEY (ntid, ord)) without rowid;
CREATE TABLE templates (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL,
  mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL,
  PRIMARY KEY (ntid, ord)) without rowid;
CREATE TABLE notetypes (id integer NOT NULL PRIMARY KEY, name text NOT NULL,
  mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL);
CREATE TABLE decks (id integer PRIMARY KEY NOT NULL, name text NOT NULL,
  mtime_secs integer NOT NULL, usn integer NOT NULL, common blob NOT NULL, kind blob NOT NULL);
"""
# Notetype.Config: field 1 is the kind, 1 for cloze (a default 0 is not written).
NORMAL, CLOZE = b"", b"\x08\x01"


def add_note(db, nid, mid, fields, cards):
    db.execute("INSERT INTO notes VALUES (?, ?, ?, 0, -1, '', ?, ?, 0, 0, '')",
               (nid, "g%d" % nid, mid, "\x1f".join(fields), fields[0]))
    for ord_, did in cards:
        db.execute("INSERT INTO cards VALUES (?, ?, ?, ?, 0, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0,"
                   " '')", (nid * 10 + ord_, nid, did, ord_, nid))


def collection18(path):
    db = sqlite3.connect(path)
    db.executescript(SCHEMA18)
    db.execute("INSERT INTO col VALUES (1, 0, 0, 0, 18, 0, 0, 0, '{}', '{}', '{}', '{}', '{}')")
    db.executemany("INSERT INTO notetypes VALUES (?, ?, 0, 0, ?)",
                   [(10, "Basic (optional reversed card)", NORMAL), (11, "Cloze", CLOZE),
                    (12, "Image Occlusion", CLOZE)])
    db.executemany("INSERT INTO fields VALUES (?, ?, ?, x'')",
                   [(10, 0, "Front"), (10, 1, "Back"), (10, 2, "Add Reverse"),
                    (11, 0, "Text"), (11, 1, "Back Extra"),
                    (12, 0, "Occlusion"), (12, 1, "Image")])
    db.executemany("INSERT INTO decks VALUES (?, ?, 0, 0, x'', x'')",
                   [(1, "Default"), (20, "Spanish"), (21, "Spanish\x1fVerbs")])
    add_note(db, 1, 10, ["el perro", "the dog", "y"], [(0, 20), (1, 20)])
    add_note(db, 2, 10, ["<i>hablar</i>", "to speak [sound:hablar.ogg]", ""], [(0, 21)])
    add_note(db, 3, 11, ["{{c1::Madrid}} is in {{c2::Spain}}; {{c1::Madrid::city}} again",
                         "Europe"], [(0, 20), (1, 20)])
    add_note(db, 4, 12, ["{{c1::image-occlusion:rect:left=.1:top=.2:width=.3:height=.1:oi=1}}",
                         '<img src="map.png">'], [(0, 20)])
    db.commit()
    db.close()


def dummy_collection(path):
    db = sqlite3.connect(path)
    db.executescript(SCHEMA11)
    models = '{"1":{"id":1,"name":"Basic","type":0,"flds":[{"name":"Front","ord":0},' \
             '{"name":"Back","ord":1}]}}'
    db.execute("INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', ?, ?, '{}', '{}')",
               (models, '{"1":{"id":1,"name":"Default"}}'))
    add_note(db, 1, 1, ["Please update to the latest Anki version, then import the .colpkg/.apkg "
                        "file again.", ""], [(0, 1)])
    db.commit()
    db.close()


def collection11(path):
    db = sqlite3.connect(path)
    db.executescript(SCHEMA11)
    models = ('{"7": {"id": 7, "name": "Basic", "type": 0, "flds": [{"name": "Front", "ord": 0}, '
              '{"name": "Back", "ord": 1}]}}')
    db.execute("INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', ?, ?, '{}', '{}')",
               (models, '{"1": {"id": 1, "name": "Default"}, "5": {"id": 5, "name": "Rivers"}}'))
    add_note(db, 1, 7, ["Danube", "Black Sea"], [(0, 5)])
    add_note(db, 2, 7, ["Volga", "Caspian Sea"], [(0, 5)])
    db.commit()
    db.close()


def zstd(data):
    return subprocess.run(["zstd", "-q", "-c"], input=data, stdout=subprocess.PIPE,
                          check=True).stdout


def main():
    out = sys.argv[1]
    with tempfile.TemporaryDirectory() as scratch:
        new, legacy, old = (os.path.join(scratch, name) for name in ("new", "legacy", "old"))
        collection18(new)
        collection11(legacy)
        dummy_collection(old)
        with zipfile.ZipFile(os.path.join(out, "anki21b.apkg"), "w") as package:
            package.writestr("meta", b"\x08\x03")
            package.writestr("collection.anki21b", zstd(open(new, "rb").read()))
            package.writestr("collection.anki2", open(old, "rb").read())
            package.writestr("media", zstd(b""))
        with zipfile.ZipFile(os.path.join(out, "anki21.colpkg"), "w", zipfile.ZIP_DEFLATED) as package:
            package.writestr("collection.anki21", open(legacy, "rb").read())
            package.writestr("collection.anki2", open(old, "rb").read())
            package.writestr("media", b"{}")


if __name__ == "__main__":
    main()
