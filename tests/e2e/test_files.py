"""New and Open through the Function menu and the file dialogs: the caption, the settings and the
bytes of the files."""
import time
import unittest

import qld
from harness import DisplayTest, Quiz, caption, wait_until
from schedule import Schedule


class FilesTest(DisplayTest):
    def choose_file(self, quiz, item, title, path):
        """Types a path into the file dialog's name box and accepts it."""
        dialog = quiz.menu(item, title)
        self.session.key("ctrl+a")
        self.session.type(path)
        self.session.key("Return")
        self.session.await_gone(dialog, "the file dialog to close")
        wait_until(lambda: self.session.windows_named(caption(path)) == [quiz.window], 30,
                   "the caption of %s" % path)
        wait_until(lambda: self.session.setting("Title") == caption(path), 30,
                   "the caption stored in the settings")
        quiz.deck = path

    def test_new_and_open_switch_the_data_file(self):
        deck = self.session.deck("deck.qld", qld.numbered_cards(3))
        quiz = Quiz(self.session, deck)
        quiz.answer_counted("A1", 0)

        # Cancel opens the same file again.
        dialog = quiz.menu("Open QLD file...", "Open a QLD File")
        self.session.key("Escape")
        self.session.await_gone(dialog, "the file dialog to close on Esc")
        self.assertEqual(self.session.windows_named(caption(deck)), [quiz.window])
        quiz.answer_counted("A2", 1)

        fresh = self.session.path("fresh.qld")
        made = int(time.time())
        self.choose_file(quiz, "New QLD file...", "Create a new QLD File", fresh)
        with open(fresh, "rb") as f:
            data = f.read()
        self.assertEqual(qld.problems(data), [])
        new = qld.parse(data)
        header = {k: v for k, v in new["header"].items() if not k.startswith("reserved")}
        saved = header.pop("savedTime")
        self.assertEqual(header, {"version": 200, "recordCount": 1, "position": 0,
                                  "popupMinutes": 1, "optionFlags": 0, "reviewMode": 1,
                                  "stepIndex": 0, "rangeFrom": 0, "rangeTo": 19})
        self.assertTrue(made - 5 <= saved <= time.time() + 5, saved)
        # The first question, appended when shown, is empty.
        self.assertEqual([(r["question"], r["answer"], r["correctCount"]) for r in new["records"]],
                         [("", "", 0)])
        self.assertEqual(qld.counts(qld.read(deck)), [1, 1, 0])
        self.assertEqual(quiz.program.terminate(), 0)
        self.assertEqual(self.session.setting("File1"), fresh)

        # The next start opens the new file; Open goes back to the first one.
        quiz = Quiz(self.session, fresh)
        model = Schedule.loaded(qld.read(deck)["header"])
        self.choose_file(quiz, "Open QLD file...", "Open a QLD File", deck)
        number = model.next()
        quiz.answer_counted("A%d" % (number + 1), number)
        self.assertEqual(quiz.program.terminate(), 0)
        self.assertEqual(self.session.setting("File1"), deck)
        for path in (deck, fresh):
            with open(path, "rb") as f:
                self.assertEqual(qld.problems(f.read()), [], path)


if __name__ == "__main__":
    unittest.main()
