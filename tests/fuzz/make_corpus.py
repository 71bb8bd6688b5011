#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/, byte by byte.

Run once; the output is committed. A crashing input found later is added by hand beside them.
"""
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from qld import header, old_header, record  # noqa: E402


CARDS = [("Hund", "dog"), ("Katze", "cat"), ("Vogel", "bird")]


def records(cards=CARDS, numbers=None):
    numbers = numbers if numbers is not None else range(len(cards))
    return b"".join(record(n, q, a) for n, (q, a) in zip(numbers, cards))


def data_files():
    three = records()
    return {
        # Loadable files.
        "new_file.qld": header(),
        "three_records.qld": header(count=3) + three,
        "careful_mid_pass.qld": header(count=3, position=2, mode=0, step=3, range_to=2) +
        b"".join(record(i, q, a, correct=i + 1, times=[1_699_990_000 + i] * (i + 1))
                 for i, (q, a) in enumerate(CARDS)),
        "once_at_range_end.qld": header(count=3, position=2, mode=3, range_from=1, range_to=2) +
        three,
        "long_texts.qld": header(count=1) + record(0, "ä" * 249 + "x", "é" * 249),
        "version100_three.qld": old_header(count=3) + three,
        "version100_shuffled.qld": old_header(count=3) + records(numbers=[2, -5, 2]),
        "version150_two.qld": header(version=150, count=2) + records(CARDS[:2]),
        # Files that are damaged but load, repaired.
        "bad_range.qld": header(count=3, range_from=5, range_to=2) + three,
        "bad_mode_and_step.qld": header(count=3, mode=9, step=17, position=-4) + three,
        "texts_without_nul.qld": header(count=1) + record(0, b"q" * 500, b"\xff\xfe" * 250),
        "longer_than_records.qld": header(count=1) + three,
        # Files the program refuses.
        "truncated_header.qld": header()[:50],
        "truncated_old_header.qld": old_header(count=0)[:20],
        "version_0.qld": header(version=0),
        "version_201.qld": header(version=201, count=3) + three,
        "negative_count.qld": header(count=-1),
        "count_1001.qld": header(count=1001),
        "count_beyond_length.qld": header(count=5) + three,
        "version100_count_beyond_length.qld": old_header(count=4) + three,
        "text_file.qld": b"Hund\tdog\nKatze\tcat\n",
        # Found by fuzzing: qld check's report of the range and position overflows.
        "range_to_int_max.qld": header(range_to=0x7FFFFFFF),
        "range_from_int_max.qld": header(range_from=0x7FFFFFFF, range_to=0x7FFFFFFF),
        "position_int_max.qld": header(position=0x7FFFFFFF),
    }


def bmp(width, height, bit_count=8, colors_used=16, pixel=lambda x, row: (x + 3 * row) % 16,
        table_entries=None, cut=0):
    entries = table_entries if table_entries is not None else (colors_used or 256)
    stride = (width * bit_count + 31) // 32 * 4
    rows = abs(height)
    table = b"".join(bytes([0x10 + i & 0xFF, 0x20, 0x30, 0]) for i in range(entries))
    pixels = bytearray()
    for row in range(rows):
        line = bytearray([0xEE] * stride)
        if bit_count == 8:
            for x in range(width):
                line[x] = pixel(x, row) & 0xFF
        else:
            for k in range(stride):
                line[k] = (row * 7 + k) & 0xFF
        pixels += line
    offset = 14 + 40 + len(table)
    info = struct.pack("<iiihhiiiiii", 40, width, height, 1, bit_count, 0, len(pixels), 2835,
                       2835, colors_used, 0)
    file_header = struct.pack("<2sihhi", b"BM", offset + len(pixels), 0, 0, offset)
    data = file_header + info + table + bytes(pixels)
    return data[:len(data) - cut] if cut else data


def pictures():
    return {
        "small_8bit.bmp": bmp(244, 40),
        "smaller_than_map.bmp": bmp(243, 39),
        "top_down_odd_width.bmp": bmp(245, -41, colors_used=5, pixel=lambda x, r: x + r),
        "all_256_colours.bmp": bmp(244, 40, colors_used=0, pixel=lambda x, r: 51 * x + r),
        "pixels_beyond_table.bmp": bmp(246, 40, colors_used=4, pixel=lambda x, r: 250 + x),
        "24bit.bmp": bmp(3, 2, bit_count=24, colors_used=0, table_entries=0),
        "1bit.bmp": bmp(16, 2, bit_count=1, colors_used=2),
        "rows_cut_short.bmp": bmp(244, 40, cut=3),
        "colours_300.bmp": bmp(2, 1, colors_used=300, table_entries=16),
        "width_5000.bmp": bmp(5000, 1, colors_used=2)[:60],
        "height_0.bmp": bmp(4, 0),
        "negative_width.bmp": bmp(4, 2)[:18] + struct.pack("<i", -4) + bmp(4, 2)[22:],
        "headers_only.bmp": bmp(4, 2)[:54],
    }


def write(folder, files):
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)
    return path


if __name__ == "__main__":
    write("data_file", data_files())
    folder = write("background_image", pictures())
    shutil.copyfile(os.path.join(HERE, "..", "..", "res", "backimg.bmp"),
                    os.path.join(folder, "shipped_backimg.bmp"))
