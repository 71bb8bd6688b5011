"""The drill in the quiz window: a whole pass of the review schedule, wrong answers, the Answer
button, Next (F8) and Go (F7), checked in the data file."""
import unittest

import qld
from harness import ANSWER_CAPTION, DisplayTest, Quiz, wait_until
from schedule import Schedule

# The Answer button, in pixels of the quiz window (its face is 50 x 20).
ANSWER_BUTTON = (448 + 25, 98 + 10)


class DrillTest(DisplayTest):
    def start(self, cards, **fields):
        deck = self.session.deck("deck.qld", cards, **fields)
        model = Schedule.loaded(qld.read(deck)["header"])
        return Quiz(self.session, deck), model

    def bytes(self, quiz):
        with open(quiz.deck, "rb") as f:
            return f.read()

    def await_position(self, quiz, position):
        wait_until(lambda: qld.read(quiz.deck)["header"]["position"] == position, 30,
                   "the schedule position %d in the file" % position)

    def test_careful_pass_asks_each_question_six_times_in_schedule_order(self):
        quiz, model = self.start(qld.numbered_cards(20), review_mode=0)
        number = model.next()
        for turn in range(120):
            quiz.answer_counted("A%d" % (number + 1), number)
            passes = model.congratulations
            number = model.next()
            if model.congratulations > passes:
                self.assertEqual(turn, 119, "the pass ended early")
                self.assertEqual(quiz.counts(), [6] * 20)
                quiz.close_box()
        self.assertEqual(model.congratulations, 1)
        # The next pass starts again at question 1.
        self.assertEqual(number, 0)
        quiz.answer_counted("A1", 0)
        deck = qld.read(quiz.deck)
        self.assertEqual(qld.problems(self.bytes(quiz)), [])
        self.assertEqual(deck["header"]["recordCount"], 20)
        self.assertEqual(deck["header"]["reviewMode"], 0)

    def test_wrong_answer_keeps_the_question_and_the_typed_text(self):
        quiz, model = self.start([("Capital of France?", "Paris"),
                                  ("Largest city of the USA?", "New York")])
        self.assertEqual(model.next(), 0)
        before = self.bytes(quiz)
        quiz.answer("Pari")
        quiz.close_box(ANSWER_CAPTION)
        self.assertEqual(self.bytes(quiz), before, "a wrong answer changed the file")
        # The typed text stayed in the box: one more letter makes it right.
        quiz.answer_counted("s", 0)

        # Without Match case, spaces and the case of letters do not count.
        self.assertEqual(model.next(), 1)
        quiz.answer_counted(" new  york ", 1)

        # The schedule reaches beyond the last record: an empty one is appended and shown.
        self.assertEqual(model.next(), 2)
        wait_until(lambda: qld.read(quiz.deck)["header"]["recordCount"] == 3, 30,
                   "a third record")
        before = self.bytes(quiz)
        quiz.session.click(quiz.window, *ANSWER_BUTTON)
        quiz.close_box(ANSWER_CAPTION)
        self.assertEqual(self.bytes(quiz), before, "revealing the answer changed the file")
        quiz.answer_counted("", 2)
        self.assertEqual(qld.problems(self.bytes(quiz)), [])

    def test_next_skips_without_counting_and_go_continues_at_the_chosen_question(self):
        quiz, model = self.start(qld.numbered_cards(20))
        model.next()
        records = self.bytes(quiz)[qld.HEADER:]
        quiz.keys("F8")
        number = model.next()
        self.await_position(quiz, model.position)
        self.assertEqual(self.bytes(quiz)[qld.HEADER:], records, "Next changed a record")
        quiz.answer_counted("A%d" % (number + 1), number)

        quiz.keys("F7")
        quiz.dialog("Go to ...")
        quiz.session.key("ctrl+a")
        quiz.session.type("7")
        quiz.session.key("Return")
        model.go(7)
        self.await_position(quiz, 6)
        number = model.next()
        self.assertEqual(number, 6)
        quiz.answer_counted("A7", 6)
        number = model.next()
        quiz.answer_counted("A%d" % (number + 1), number)

        # A number outside the range is refused with a message and changes nothing.
        number = model.next()
        quiz.keys("F7")
        quiz.dialog("Go to ...")
        quiz.session.type("25")
        before = self.bytes(quiz)
        quiz.session.key("Return")
        quiz.close_box()
        self.assertEqual(self.bytes(quiz), before)
        quiz.answer_counted("A%d" % (number + 1), number)


if __name__ == "__main__":
    unittest.main()
