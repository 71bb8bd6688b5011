"""Data files for the end-to-end tests: a full reader of every field and its checks, over the
independent writer in tests/support/qld.py."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import qld  # noqa: E402

HEADER = qld.HEADER
RECORD = qld.RECORD
TEXT = 500

_HEADER_FIELDS = ["version", "recordCount", "position", "popupMinutes", "reservedInt1",
                  "optionFlags", "reservedInt2", "savedTime"]


def make(path, cards, **fields):
    """A current-format deck with these (question, answer) cards; see qld.make for the fields."""
    qld.make(path, cards, **fields)


def numbered_cards(count, question="Q%d", answer="A%d"):
    return [(question % (i + 1), answer % (i + 1)) for i in range(count)]


def set_count(path, number, count):
    """Stores a correct count in a record of the deck, as earlier drills would have."""
    with open(path, "r+b") as f:
        f.seek(HEADER + number * RECORD + 1008)
        f.write(struct.pack("<i", count))


def _text(field):
    return field.split(b"\0", 1)[0]


def parse(data):
    """The header and records of a data file's bytes, every field as stored."""
    if len(data) < HEADER:
        raise ValueError("%d bytes: shorter than the header" % len(data))
    header = dict(zip(_HEADER_FIELDS, struct.unpack_from("<8i", data, 0)))
    header.update(zip(["reviewMode", "stepIndex", "rangeFrom", "rangeTo"],
                      struct.unpack_from("<4i", data, 64)))
    header["reservedBytes1"] = data[32:60]
    header["reservedShort"] = struct.unpack_from("<h", data, 60)[0]
    header["reservedBytes2"] = data[80:104]
    records = []
    count = max(0, min(header["recordCount"], (len(data) - HEADER) // RECORD))
    for i in range(count):
        base = HEADER + i * RECORD
        raw = data[base:base + RECORD]
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
    return {"size": len(data), "header": header, "records": records}


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
            tail = r[name][len(_text(r[name])):]
            if any(tail):
                found.append("record %d: bytes after the end of %s" % (i, name))
        if r["correctCount"] < 0 or r["memoryReserved"]:
            found.append("record %d: memory record %d, %d"
                         % (i, r["memoryReserved"], r["correctCount"]))
    return found
