#!/usr/bin/env python3
"""Reads and writes Quillow data files byte by byte, independently of the program's own code.

  qld.py make FILE "question|answer" ...   a current-format file with these records
  qld.py dump FILE                         the header and each record as JSON
"""
import json
import struct
import sys
import time

HEADER = 104
RECORD = 1052


def make(path, cards, popup_minutes=1, option_flags=0, review_mode=1, range_from=0, range_to=19):
    header = bytearray(HEADER)
    struct.pack_into("<8i", header, 0, 200, len(cards), range_from, popup_minutes, 0,
                     option_flags, 0, int(time.time()))
    struct.pack_into("<4i", header, 64, review_mode, 0, range_from, range_to)
    body = bytearray()
    for number, (question, answer) in enumerate(cards):
        record = bytearray(RECORD)
        struct.pack_into("<i", record, 0, number)
        q, a = question.encode()[:499], answer.encode()[:499]
        record[4:4 + len(q)] = q
        record[504:504 + len(a)] = a
        body += record
    with open(path, "wb") as f:
        f.write(header + body)


def dump(path):
    data = open(path, "rb").read()
    names = ["version", "recordCount", "position", "popupMinutes", "reservedInt1", "optionFlags",
             "reservedInt2", "savedTime"]
    header = dict(zip(names, struct.unpack_from("<8i", data, 0)))
    header.update(zip(["reviewMode", "stepIndex", "rangeFrom", "rangeTo"],
                      struct.unpack_from("<4i", data, 64)))
    records = []
    for i in range(header["recordCount"]):
        base = HEADER + i * RECORD
        text = lambda o: data[base + o:base + o + 500].split(b"\0", 1)[0].decode(errors="replace")
        records.append({"number": struct.unpack_from("<i", data, base)[0],
                        "question": text(4), "answer": text(504),
                        "correctCount": struct.unpack_from("<i", data, base + 1008)[0]})
    return {"size": len(data), "header": header, "records": records}


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "make":
        make(sys.argv[2], [tuple(card.split("|", 1)) for card in sys.argv[3:]])
    elif len(sys.argv) == 3 and sys.argv[1] == "dump":
        print(json.dumps(dump(sys.argv[2])))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
