#!/usr/bin/env python3
# Writes the seed inputs of the fuzz targets into corpus/<target>/, byte by byte. Run once; the
# output is committed. A crashing input found later is added by hand beside them.
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def header(version=200, count=0, position=0, mode=1, step=0, first=0, last=19):
    return struct.pack("<8i32x4i24x", version, count, position, 1, 0, 0, 0, 1_700_000_000, mode,
                       step, first, last)


# Three records numbered 2, -5 and 2, with a question of 500 bytes and no NUL.
three = b"".join(struct.pack("<i500s500s48x", n, "ä".encode() * 250, b"dog") for n in (2, -5, 2))
shipped = open(os.path.join(HERE, "..", "..", "res", "backimg.bmp"), "rb").read()
SEEDS = {
    "data_file/new_file.qld": header(),
    "data_file/careful_mid_pass.qld": header(count=3, position=2, mode=0, step=3, last=2) + three,
    "data_file/damaged_state.qld": header(count=3, position=-4, mode=9, step=17, first=5) + three,
    "data_file/version100_three.qld": header(100, 3)[:32] + three,
    "data_file/version150_three.qld": header(150, 3) + three,
    "data_file/count_beyond_length.qld": header(count=4) + three,
    "data_file/truncated_header.qld": header()[:50],
    # Found by fuzzing: qld check's report of the range and position overflows.
    "data_file/range_to_int_max.qld": header(last=0x7FFFFFFF),
    "data_file/range_from_int_max.qld": header(first=0x7FFFFFFF, last=0x7FFFFFFF),
    "data_file/position_int_max.qld": header(position=0x7FFFFFFF),
    "background_image/shipped_backimg.bmp": shipped,
    "background_image/rows_cut_short.bmp": shipped[:-3],
    "background_image/top_down.bmp": shipped[:22] + struct.pack("<i", -40) + shipped[26:],
    "background_image/headers_only.bmp": shipped[:54],
}

for name, data in SEEDS.items():
    os.makedirs(os.path.dirname(os.path.join(HERE, "corpus", name)), exist_ok=True)
    with open(os.path.join(HERE, "corpus", name), "wb") as f:
        f.write(data)
