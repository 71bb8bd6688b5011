# The quiz window's dialogs in one pass, checked in the data files and the settings: the question
# editor (Shift+Enter), and from the Function menu the memory schedule, New and Open with the
# file dialogs, and the options.
import pathlib

import qld
from harness import Quiz, XTest, caption, terminate, wait_until


class DialogsTest(XTest):
    def test_dialogs(self):
        session = self.session
        cards = [card + ((2,) if n in (3, 4, 9, 10) else ())
                 for n, card in enumerate(qld.numbered_cards(12))]
        deck = session.deck("deck.qld", cards)
        quiz = Quiz(session, deck)

        def replace(text, window=None, at=None):  # points in pixels, two to the dialog unit
            if window:
                session.click(window, *at)
            session.key("ctrl+a")
            session.type(text)

        quiz.keys("shift+Return")
        editor = quiz.dialog("Edit")
        replace("Capital of Italy?")
        replace("Rome", editor, (120, 160))
        session.click(editor, 219, 38)  # New: stores the record, shows a new empty one
        wait_until(lambda: qld.read(deck)["header"]["recordCount"] == 13, "record 13")
        replace("Capital of Spain?")
        replace("Madrid", editor, (120, 160))
        quiz.close(editor)
        records = qld.read(deck)["records"]
        self.assertEqual([(r["question"], r["answer"]) for r in (records[0], records[12])],
                         [("Capital of Italy?", "Rome"), ("Capital of Spain?", "Madrid")])

        dialog = quiz.menu(1, "Memory Schedule")
        for number, at in (("5", (73, 36)), ("10", (189, 36))):  # From and To
            session.click(dialog, *at)
            go = quiz.dialog("Go to ...")
            replace(number)
            quiz.close(go)
        for at in ((60, 178), (40, 71), (314, 22)):  # Rough, Initialize, OK
            session.click(dialog, *at)
        quiz.close(quiz.dialog("Quillow"), "y")
        session.await_gone(dialog)
        wait_until(lambda: quiz.counts() == [0, 0, 0, 2] + [0] * 6 + [2, 0, 0], "range cleared")
        header = qld.read(deck)["header"]
        self.assertEqual([header[k] for k in ("rangeFrom", "rangeTo", "reviewMode", "position")],
                         [4, 9, 2, 4])
        quiz.answer_counted("A5", 4)  # the drill starts again at the range's first question

        fresh = session.path("fresh.qld")
        for downs, title, path in ((3, "Create a new QLD File", fresh),
                                   (4, "Open a QLD File", deck)):
            box = quiz.menu(downs, title)
            replace(path)
            quiz.close(box)
            wait_until(lambda: session.top_windows(caption(path)) == [quiz.window]
                       and session.setting("Title") == caption(path), "the caption of " + path)
        # The first question of a new file, appended when shown, is empty.
        self.assertEqual(qld.problems(pathlib.Path(fresh).read_bytes()), [])
        self.assertEqual([(r["question"], r["answer"]) for r in qld.read(fresh)["records"]],
                         [("", "")])

        dialog = quiz.menu(2, "Option")
        replace("7", dialog, (40, 38))  # the period
        session.click(dialog, 60, 174)  # Match case
        session.click(dialog, 60, 126)  # Hide if correct
        quiz.close(dialog)
        wait_until(lambda: qld.read(deck)["header"]["optionFlags"] == 2 | 4, "the options")
        self.assertEqual(qld.read(deck)["header"]["popupMinutes"], 7)
        self.assertEqual(terminate(quiz.program), 0)
        self.assertEqual(session.setting("File1"), deck)
