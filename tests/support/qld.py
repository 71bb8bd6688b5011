#!/usr/bin/env python3
"""Reads and writes Quillow data files byte by byte, independently of the program's own code."""
import struct
import sys
import time

HEADER, RECORD = 104, 1052
FIELDS = ("version", "recordCount", "position", "popupMinutes", "reservedInt1", "optionFlags",
          "reservedInt2", "savedTime", "reviewMode", "stepIndex", "rangeFrom", "rangeTo")


def header(version=200, count=0, position=0, popup=1, flags=0, mode=1, step=0, range_from=0,
           range_to=19, saved=1_700_000_000):
    h = bytearray(HEADER)
    struct.pack_into("<8i", h, 0, version, count, position, popup, 0, flags, 0, saved)
    struct.pack_into("<4i", h, 64, mode, step, range_from, range_to)
    return h


def record(number, question, answer, correct=0):
    """One record; str texts are encoded as UTF-8, bytes are taken as they are (up to 500)."""
    r = bytearray(RECORD)
    struct.pack_into("<i", r, 0, number)
    for at, text in ((4, question), (504, answer)):
        text = (text if isinstance(text, bytes) else text.encode())[:500]
        r[at:at + len(text)] = text
    struct.pack_into("<ii", r, 1004, 0, correct)
    return r


def make(path, cards, popup_minutes=1, option_flags=0, review_mode=1, range_from=0, range_to=19):
    """A current-format file, saved now, with these (question, answer[, correct count]) cards."""
    data = header(count=len(cards), position=range_from, popup=popup_minutes, flags=option_flags,
                  mode=review_mode, range_from=range_from, range_to=range_to,
                  saved=int(time.time()))
    for number, (question, answer, *correct) in enumerate(cards):
        data += record(number, question.encode()[:499], answer.encode()[:499], *correct)
    with open(path, "wb") as f:
        f.write(data)


def numbered_cards(count):
    return [("Q%d" % n, "A%d" % n) for n in range(1, count + 1)]


def parse(data):
    """The header's fields and the records' numbers, texts and correct counts."""
    h = dict(zip(FIELDS, struct.unpack_from("<8i", data) + struct.unpack_from("<4i", data, 64)))
    records = []
    for at in range(HEADER, min(len(data), HEADER + h["recordCount"] * RECORD), RECORD):
        question, answer = (data[at + i:at + i + 500].split(b"\0")[0].decode(errors="replace")
                            for i in (4, 504))
        records.append({"number": struct.unpack_from("<i", data, at)[0], "question": question,
                        "answer": answer,
                        "correctCount": struct.unpack_from("<i", data, at + 1008)[0]})
    return {"header": h, "records": records}


def read(path):
    with open(path, "rb") as f:
        return parse(f.read())


def counts(deck):
    return [r["correctCount"] for r in deck["records"]]


def problems(data):
    """What makes these bytes other than a sound current-format file (empty when sound)."""
    h, numbers = parse(data)["header"], [r["number"] for r in parse(data)["records"]]
    return [problem for problem, found in (
        ("version %d" % h["version"], h["version"] != 200),
        ("%d bytes for %d records" % (len(data), h["recordCount"]),
         len(data) != HEADER + h["recordCount"] * RECORD),
        ("range %d..%d" % (h["rangeFrom"], h["rangeTo"]), not 0 <= h["rangeFrom"] <= h["rangeTo"]),
        ("record numbers %s" % numbers, numbers != list(range(len(numbers))))) if found]


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] != "make":
        sys.exit('usage: qld.py make FILE "question|answer" ...')
    make(sys.argv[2], [tuple(card.split("|", 1)) for card in sys.argv[3:]])
