"""One pass through each dialog that the quiz window opens: the question editor (Shift+Enter), the
memory schedule, the options, and New and Open with the file dialogs (Function menu), checked in
the data files' bytes, the caption and the settings."""
import unittest

import qld
from harness import DisplayTest, Quiz, caption, wait_until

# Points to click, in pixels of each dialog (two pixels to the dialog unit).
EDITOR = {"answer": (120, 160), "new": (219, 38)}
SCHEDULE = {"from": (73, 36), "to": (189, 36), "init": (40, 71), "rough": (60, 178),
            "ok": (314, 22)}
OPTION = {"period": (40, 38), "hide": (60, 126), "case": (60, 174)}


class DialogsTest(DisplayTest):
    def replace_text(self, text):
        self.session.key("ctrl+a")
        self.session.type(text)

    def test_editor_and_options(self):
        quiz = Quiz(self.session, self.session.deck("deck.qld", qld.numbered_cards(3)))
        quiz.keys("shift+Return")
        editor = quiz.dialog("Edit")
        self.replace_text("Capital of Italy?")
        self.session.click(editor, *EDITOR["answer"])
        self.replace_text("Rome")
        # New stores the record left and shows a new, empty one.
        self.session.click(editor, *EDITOR["new"])
        wait_until(lambda: qld.read(quiz.deck)["header"]["recordCount"] == 4, 30, "record 4")
        self.session.type("Capital of Spain?")
        self.session.click(editor, *EDITOR["answer"])
        self.session.type("Madrid")
        self.session.key("Return")
        self.session.await_gone(editor, "the editor to close on Return")
        after = qld.read(quiz.deck)
        self.assertEqual([(r["question"], r["answer"]) for r in after["records"]],
                         [("Capital of Italy?", "Rome"), ("Q2", "A2"), ("Q3", "A3"),
                          ("Capital of Spain?", "Madrid")])

        dialog = quiz.menu("Option...", "Option")
        self.session.click(dialog, *OPTION["period"])
        self.replace_text("7")
        for box in ("case", "hide"):
            self.session.click(dialog, *OPTION[box])
        self.session.key("Return")
        self.session.await_gone(dialog, "the Option dialog to close on Return")
        wait_until(lambda: qld.read(quiz.deck)["header"]["optionFlags"] == 2 | 4, 30, "options")
        self.assertEqual(qld.read(quiz.deck)["header"]["popupMinutes"], 7)
        with open(quiz.deck, "rb") as f:
            self.assertEqual(qld.problems(f.read()), [])

    def test_memory_schedule(self):
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
        wait_until(lambda: quiz.counts() == [0, 0, 0, 2] + [0] * 6 + [2, 0], 30, "range cleared")
        header = qld.read(deck)["header"]
        self.assertEqual((header["rangeFrom"], header["rangeTo"], header["reviewMode"],
                          header["position"]), (4, 9, 2, 4))
        quiz.answer_counted("A5", 4)  # the drill starts again at the range's first question

    def test_new_and_open(self):
        deck = self.session.deck("deck.qld", qld.numbered_cards(3))
        fresh = self.session.path("fresh.qld")
        quiz = Quiz(self.session, deck)
        for item, title, path in (("New QLD file...", "Create a new QLD File", fresh),
                                  ("Open QLD file...", "Open a QLD File", deck)):
            dialog = quiz.menu(item, title)
            self.replace_text(path)
            self.session.key("Return")
            self.session.await_gone(dialog, "the file dialog to close")
            wait_until(lambda: self.session.windows_named(caption(path)) == [quiz.window], 30,
                       "the caption of %s" % path)
            wait_until(lambda: self.session.setting("Title") == caption(path), 30, "the Title")
        with open(fresh, "rb") as f:
            data = f.read()
        self.assertEqual(qld.problems(data), [])
        # The first question, appended when shown, is empty.
        self.assertEqual(qld.parse(data)["records"], qld.parse(qld.header(count=1)
                         + qld.record(0, "", ""))["records"])
        quiz.answer_counted("A1", 0)
        self.assertEqual(quiz.program.terminate(), 0)
        self.assertEqual(self.session.setting("File1"), deck)


if __name__ == "__main__":
    unittest.main()
