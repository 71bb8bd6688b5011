#!/usr/bin/env python3
"""Writes res/Quillow.qld, the starter deck that ships beside the program.

    python3 tools/make_starter_deck.py

A new user's first start copies it as the default data file: a short drill that
teaches Quillow itself. Its range covers exactly its questions, in the Normal
review mode with the defaults of a new file otherwise. The file is written by
the independent reader and writer of the tests (tests/support/qld.py) with a
fixed saved time, so two runs write the same bytes.
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "res", "Quillow.qld")
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))

import qld  # noqa: E402

SAVED = 1_767_225_600  # 2026-01-01 00:00 UTC

CARDS = [
    ("Welcome to Quillow, a flash-card drill. Type the answer in the box below and press "
     "Enter. This answer is: hello", "hello"),
    ("Spaces and letter case do not count in an answer. Which key checks what you typed?",
     "Enter"),
    ("A wrong answer shows the stored one and keeps your text to correct. Which button shows "
     "the answer without checking?", "Answer"),
    ("Which key moves on to the next question without counting it?", "F8"),
    ("Which key continues the drill at a question number of your choice?", "F7"),
    ("Which keys start a new line inside an answer?", "Ctrl+Enter"),
    ("Which key hides the window? It comes back by itself after the pop-up period.", "Esc"),
    ("A hidden Quillow comes back at once when you click its icon in the ...?", "tray"),
    ("The pop-up period is set in Function > Option... In minutes or in seconds?", "minutes"),
    ("Which key opens the Function menu?", "F9"),
    ("Which keys open the question editor on the question shown?", "Shift+Enter"),
    ("In the editor, which button appends an empty question to the file?", "New"),
    ("In the editor, the texts are stored when you leave a question or press which button?",
     "Return"),
    ("Which item of the Function menu sets the question range and the review mode?",
     "Memory Schedule"),
    ("How many times is each question asked in one pass in the Normal review mode?", "4"),
    ("And in the Careful review mode?", "6"),
    ("Which item of the Function menu makes an empty data file of your own?", "New QLD file"),
    ("Which command-line tool brings a tab-separated deck into a data file: qld or quillow?",
     "qld"),
    ("Every file keeps its own questions, range and options. Which item of the Function menu "
     "opens another one?", "Open QLD file"),
    ("At most how many questions does one data file hold?", "1000"),
    ("That is all. Write your own questions in the editor, or make a new file from the "
     "Function menu. Type: done", "done"),
]


def main():
    data = qld.header(count=len(CARDS), range_to=len(CARDS) - 1, saved=SAVED)
    for number, (question, answer) in enumerate(CARDS):
        if len(question.encode()) > 499 or len(answer.encode()) > 499:
            raise SystemExit("card %d is longer than 499 bytes" % (number + 1))
        data += qld.record(number, question, answer)
    with open(OUTPUT, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
