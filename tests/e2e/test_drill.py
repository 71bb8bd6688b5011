# A drill in the quiz window, checked in the data file: a wrong answer, right ones, the Answer
# button, Next (F8), Go (F7), and SIGTERM with the Function menu open saving the header.
import pathlib

import qld
from harness import Quiz, XTest, terminate, wait_until


class DrillTest(XTest):
    def test_drill(self):
        # The default schedule asks position p, then p-2, p-5 and p-11 within the range.
        cards = [("Capital of France?", "Paris")] + qld.numbered_cards(20)[1:]
        deck = pathlib.Path(self.session.deck("deck.qld", cards))
        quiz = Quiz(self.session, str(deck))
        before = deck.read_bytes()
        quiz.answer("Pari")
        quiz.close(quiz.dialog("The correct answer is..."))
        self.assertEqual(deck.read_bytes(), before, "a wrong answer changed the file")
        quiz.answer_counted("s", 0)  # the typed text stayed in the box
        quiz.answer_counted(" a 2 ", 1)  # spaces and case do not count
        self.session.click(quiz.window, 473, 108)  # the Answer button
        quiz.close(quiz.dialog("The correct answer is..."))
        quiz.answer_counted("A3", 2)
        records = deck.read_bytes()[qld.HEADER:]
        quiz.keys("F8")  # Next: question 1 is skipped, not counted
        wait_until(lambda: qld.read(deck)["header"]["position"] == 3, "position 3")
        self.assertEqual(deck.read_bytes()[qld.HEADER:], records, "Next changed a record")
        quiz.answer_counted("A4", 3)
        quiz.keys("F7")
        quiz.dialog("Go to ...")
        self.session.key("ctrl+a", "7", "Return")
        quiz.answer_counted("A7", 6)
        quiz.answer_counted("A5", 4)
        # Question 2, the position's third, is shown: its step reaches the file at the end.
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 1)
        quiz.keys("F9")
        self.session.await_window("Quillow")
        self.assertEqual(terminate(quiz.program), 0)
        self.assertEqual(qld.problems(deck.read_bytes()), [])
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 2, "the header was not saved")
