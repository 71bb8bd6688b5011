#!/usr/bin/env python3
"""Reads and writes Quillow data files byte by byte, independently of the program's own code.

  qld.py dump FILE    the header and each record as JSON
"""
import json
import struct
import sys
import time

HEADER, OLD_HEADER, RECORD = 104, 32, 1052

_HEADER_FIELDS = ["version", "recordCount", "position", "popupMinutes", "reservedInt1",
                  "optionFlags", "reservedInt2", "savedTime"]


def header(version=200, count=0, position=0, popup=1, flags=0, mode=1, step=0, range_from=0,
           range_to=19, saved=1_700_000_000):
    h = bytearray(HEADER)
    struct.pack_into("<8i", h, 0, version, count, position, popup, 0, flags, 0, saved)
    struct.pack_into("<4i", h, 64, mode, step, range_from, range_to)
    return h


def old_header(version=100, count=0, position=0, popup=1, flags=0):
    """The 32-byte header of the versions before 150."""
    h = bytearray(OLD_HEADER)
    struct.pack_into("<8i", h, 0, version, count, position, popup, 0, flags, 0, 1_600_000_000)
    return h


def record(number, question, answer, correct=0, times=()):
    """One record; str texts are encoded as UTF-8, bytes are taken as they are (up to 500)."""
    r = bytearray(RECORD)
    struct.pack_into("<i", r, 0, number)
    q = question if isinstance(question, bytes) else question.encode()
    a = answer if isinstance(answer, bytes) else answer.encode()
    r[4:4 + len(q[:500])] = q[:500]
    r[504:504 + len(a[:500])] = a[:500]
    struct.pack_into("<ii", r, 1004, 0, correct)
    for k, t in enumerate(times):
        struct.pack_into("<i", r, 1012 + 4 * k, t)
    return r


def make(path, cards, popup_minutes=1, option_flags=0, review_mode=1, range_from=0, range_to=19):
    """A current-format file, saved now, with these (question, answer) cards."""
    data = header(count=len(cards), position=range_from, popup=popup_minutes, flags=option_flags,
                  mode=review_mode, range_from=range_from, range_to=range_to,
                  saved=int(time.time()))
    for number, (question, answer) in enumerate(cards):
        data += record(number, question.encode()[:499], answer.encode()[:499])
    with open(path, "wb") as f:
        f.write(data)


def numbered_cards(count, question="Q%d", answer="A%d"):
    return [(question % (i + 1), answer % (i + 1)) for i in range(count)]


def set_count(path, number, count):
    """Stores a correct count in a record of the file, as earlier drills would have."""
    with open(path, "r+b") as f:
        f.seek(HEADER + number * RECORD + 1008)
        f.write(struct.pack("<i", count))


def _text(field):
    return field.split(b"\0", 1)[0]


def parse(data):
    """The header and records of a data file's bytes, every field as stored."""
    if len(data) < HEADER:
        raise ValueError("%d bytes: shorter than the header" % len(data))
    h = dict(zip(_HEADER_FIELDS, struct.unpack_from("<8i", data, 0)))
    h.update(zip(["reviewMode", "stepIndex", "rangeFrom", "rangeTo"],
                 struct.unpack_from("<4i", data, 64)))
    h["reservedBytes1"] = data[32:60]
    h["reservedShort"] = struct.unpack_from("<h", data, 60)[0]
    h["reservedBytes2"] = data[80:104]
    records = []
    for i in range(max(0, min(h["recordCount"], (len(data) - HEADER) // RECORD))):
        raw = data[HEADER + i * RECORD:HEADER + (i + 1) * RECORD]
        records.append({
            "number": struct.unpack_from("<i", raw, 0)[0],
            "questionField": raw[4:504],
            "answerField": raw[504:1004],
            "question": _text(raw[4:504]).decode("utf-8", "replace"),
            "answer": _text(raw[504:1004]).decode("utf-8", "replace"),
            "memoryReserved": struct.unpack_from("<i", raw, 1004)[0],
            "correctCount": struct.unpack_from("<i", raw, 1008)[0],
            "correctTimes": list(struct.unpack_from("<10i", raw, 1012)),
        })
    return {"size": len(data), "header": h, "records": records}


def read(path):
    with open(path, "rb") as f:
        return parse(f.read())


def counts(deck):
    return [r["correctCount"] for r in deck["records"]]


def problems(data):
    """What makes these bytes other than a sound current-format data file (empty when sound)."""
    try:
        deck = parse(data)
    except ValueError as error:
        return [str(error)]
    h, found = deck["header"], []
    if h["version"] != 200:
        found.append("version %d" % h["version"])
    if not 0 <= h["recordCount"] <= 1000:
        found.append("recordCount %d" % h["recordCount"])
    elif len(data) != HEADER + h["recordCount"] * RECORD:
        found.append("%d bytes for %d records" % (len(data), h["recordCount"]))
    if not 0 <= h["rangeFrom"] <= h["rangeTo"] < 1000:
        found.append("range %d..%d" % (h["rangeFrom"], h["rangeTo"]))
    if not 0 <= h["reviewMode"] <= 3:
        found.append("reviewMode %d" % h["reviewMode"])
    if not 0 <= h["stepIndex"] <= 5:
        found.append("stepIndex %d" % h["stepIndex"])
    if not 0 <= h["popupMinutes"] <= 360:
        found.append("popupMinutes %d" % h["popupMinutes"])
    if h["optionFlags"] & ~15:
        found.append("optionFlags %#x" % h["optionFlags"])
    if h["reservedInt1"] or h["reservedInt2"] or any(h["reservedBytes1"]) or h["reservedShort"] \
            or any(h["reservedBytes2"]):
        found.append("reserved header fields not zero")
    for i, r in enumerate(deck["records"]):
        if r["number"] != i:
            found.append("record %d holds number %d" % (i, r["number"]))
        for name in ("questionField", "answerField"):
            if r[name][499] != 0:
                found.append("record %d: %s not terminated" % (i, name))
            if any(r[name][len(_text(r[name])):]):
                found.append("record %d: bytes after the end of %s" % (i, name))
        if r["correctCount"] < 0 or r["memoryReserved"]:
            found.append("record %d: memory record %d, %d"
                         % (i, r["memoryReserved"], r["correctCount"]))
    return found


def _printable(deck):
    for r in deck["records"]:
        del r["questionField"], r["answerField"]
    for name in ("reservedBytes1", "reservedBytes2"):
        deck["header"][name] = deck["header"][name].hex()
    return deck


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "dump":
        print(json.dumps(_printable(read(sys.argv[2]))))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
