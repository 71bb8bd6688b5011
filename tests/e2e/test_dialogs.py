"""The dialogs that the quiz window opens: the question editor (Shift+Enter), the memory schedule
and the options (Function menu), checked in the data file's bytes."""
import unittest

import qld
from harness import ANSWER_CAPTION, DisplayTest, Quiz, wait_until

# Points to click, in pixels of each dialog (two pixels to the dialog unit).
EDITOR = {"answer": (120, 160), "new": (219, 38)}
SCHEDULE = {"from": (73, 36), "to": (189, 36), "init": (40, 71), "rough": (60, 178),
            "ok": (314, 22)}
OPTION = {"period": (40, 38), "hide": (60, 126), "sound": (60, 150), "case": (60, 174)}


class DialogsTest(DisplayTest):
    tray = True

    def start(self, cards):
        return Quiz(self.session, self.session.deck("deck.qld", cards))

    def deck(self, quiz):
        return qld.read(quiz.deck)

    def bytes(self, quiz):
        with open(quiz.deck, "rb") as f:
            return f.read()

    def options(self, quiz):
        header = self.deck(quiz)["header"]
        return header["popupMinutes"], header["optionFlags"]

    def replace_text(self, text):
        self.session.key("ctrl+a")
        self.session.type(text)

    def test_editor_changes_a_record_and_adds_one(self):
        quiz = self.start(qld.numbered_cards(3))
        before = self.deck(quiz)

        # Esc drops the edits of the record shown.
        unchanged = self.bytes(quiz)
        quiz.keys("shift+Return")
        editor = quiz.dialog("Edit")
        self.session.type("lost")
        self.session.key("Escape")
        self.session.await_gone(editor, "the editor to close on Esc")
        self.assertEqual(self.bytes(quiz), unchanged)

        quiz.keys("shift+Return")
        editor = quiz.dialog("Edit")
        self.replace_text("Capital of Italy?")
        self.session.click(editor, *EDITOR["answer"])
        self.replace_text("Rome")
        # New stores the record left and shows a new, empty one.
        self.session.click(editor, *EDITOR["new"])
        wait_until(lambda: self.deck(quiz)["header"]["recordCount"] == 4, 30, "a fourth record")
        self.session.type("Capital of Spain?")
        self.session.click(editor, *EDITOR["answer"])
        self.session.type("Madrid")
        self.session.key("Return")
        self.session.await_gone(editor, "the editor to close on Return")

        after = self.deck(quiz)
        self.assertEqual(qld.problems(self.bytes(quiz)), [])
        self.assertEqual(after["header"]["recordCount"], 4)
        texts = [(r["question"], r["answer"]) for r in after["records"]]
        self.assertEqual(texts, [("Capital of Italy?", "Rome"), ("Q2", "A2"), ("Q3", "A3"),
                                 ("Capital of Spain?", "Madrid")])
        self.assertEqual(after["records"][1:3], before["records"][1:3])
        self.assertEqual(qld.counts(after), [0] * 4)
        # The question on display is the edited one.
        quiz.answer_counted("Rome", 0)

    def test_memory_schedule_sets_range_and_mode_and_clears_the_range(self):
        deck = self.session.deck("deck.qld", qld.numbered_cards(12))
        for number in (3, 4, 9, 10):
            qld.set_count(deck, number, 2)
        quiz = Quiz(self.session, deck)
        dialog = quiz.menu("Memory Schedule...", "Memory Schedule")
        for button, number in (("from", "5"), ("to", "10")):
            self.session.click(dialog, *SCHEDULE[button])
            go = quiz.dialog("Go to ...")
            self.replace_text(number)
            self.session.key("Return")
            self.session.await_gone(go, "the Go dialog to close")
        for control in ("rough", "init", "ok"):
            self.session.click(dialog, *SCHEDULE[control])
        quiz.close_box(key="y")
        self.session.await_gone(dialog, "the Memory Schedule dialog to close")

        header = self.deck(quiz)["header"]
        self.assertEqual((header["rangeFrom"], header["rangeTo"], header["reviewMode"],
                          header["position"]), (4, 9, 2, 4))
        cleared = [0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 2, 0]
        wait_until(lambda: quiz.counts() == cleared, 30, "the range's records to be cleared")
        self.assertEqual(qld.problems(self.bytes(quiz)), [])
        # The drill starts again at the range's first question.
        quiz.answer_counted("A5", 4)

    def test_options_are_checked_and_stored_in_the_header(self):
        quiz = self.start(qld.numbered_cards(3))
        unchanged = self.bytes(quiz)

        # Cancel drops the changes; a period above 360 is refused and the dialog stays.
        dialog = quiz.menu("Option...", "Option")
        self.session.click(dialog, *OPTION["sound"])
        self.session.key("Escape")
        self.session.await_gone(dialog, "the Option dialog to close on Esc")
        dialog = quiz.menu("Option...", "Option")
        self.session.click(dialog, *OPTION["period"])
        self.replace_text("361")
        self.session.key("Return")
        quiz.close_box()
        self.assertEqual(self.session.map_state(dialog), "IsViewable")
        self.assertEqual(self.bytes(quiz), unchanged)

        self.session.focus(dialog)
        self.replace_text("7")
        for box in ("case", "hide"):
            self.session.click(dialog, *OPTION[box])
        self.session.key("Return")
        self.session.await_gone(dialog, "the Option dialog to close on Return")
        wait_until(lambda: self.options(quiz) == (7, 2 | 4), 30, "the options in the header")
        self.assertEqual(self.bytes(quiz)[qld.HEADER:], unchanged[qld.HEADER:])

        # Match case: the answer in small letters is wrong; with Hide automatically, a correct
        # answer hides the window.
        quiz.answer("a1")
        quiz.close_box(ANSWER_CAPTION)
        quiz.keys("ctrl+a")
        quiz.answer_counted("A1", 0)
        self.session.await_state(quiz.window, "IsUnMapped", "the window to hide after a correct "
                                 "answer")


if __name__ == "__main__":
    unittest.main()
