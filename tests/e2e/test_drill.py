"""The drill in the quiz window, checked in the data file: right and wrong answers, the Answer
button, Next (F8), Go (F7), and SIGTERM with the Function menu open saving the header."""
import unittest

import qld
from harness import ANSWER_CAPTION, APP_CAPTION, DisplayTest, Quiz, wait_until

ANSWER_BUTTON = (448 + 25, 98 + 10)  # the Answer button, in pixels of the quiz window


class DrillTest(DisplayTest):
    def test_drill(self):
        # The default schedule asks position p, then p-2, p-5 and p-11 within the range.
        cards = [("Capital of France?", "Paris"), ("Largest city of the USA?", "New York")]
        deck = self.session.deck("deck.qld", cards + qld.numbered_cards(20)[2:])
        quiz = Quiz(self.session, deck)

        def data():
            with open(deck, "rb") as f:
                return f.read()
        before = data()
        quiz.answer("Pari")
        quiz.close_box(ANSWER_CAPTION)
        self.assertEqual(data(), before, "a wrong answer changed the file")
        quiz.answer_counted("s", 0)  # the typed text stayed in the box
        quiz.answer_counted(" new  york ", 1)  # spaces and case do not count
        before = data()
        self.session.click(quiz.window, *ANSWER_BUTTON)
        quiz.close_box(ANSWER_CAPTION)
        self.assertEqual(data(), before, "revealing the answer changed the file")
        quiz.answer_counted("A3", 2)
        records = data()[qld.HEADER:]
        # Next skips question 1 without counting it; the next position's question follows.
        quiz.keys("F8")
        wait_until(lambda: qld.parse(data())["header"]["position"] == 3, 30, "position 3")
        self.assertEqual(data()[qld.HEADER:], records, "Next changed a record")
        quiz.answer_counted("A4", 3)
        quiz.keys("F7")
        quiz.dialog("Go to ...")
        self.session.key("ctrl+a")
        self.session.type("7")
        self.session.key("Return")
        quiz.answer_counted("A7", 6)
        quiz.answer_counted("A5", 4)
        # Question 2, the position's third, is shown: its step reaches the file only at the end.
        self.assertEqual(qld.parse(data())["header"]["stepIndex"], 1)
        quiz.keys("F9")
        self.session.await_window(APP_CAPTION, what="the Function menu")
        self.assertEqual(quiz.program.terminate(), 0)
        self.assertEqual(qld.problems(data()), [])
        self.assertEqual(qld.parse(data())["header"]["stepIndex"], 2, "the header was not saved")


if __name__ == "__main__":
    unittest.main()
