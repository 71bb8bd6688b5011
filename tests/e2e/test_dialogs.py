# The quiz window's dialogs in one pass, checked in the data files and the settings: the question
# editor (Shift+Enter), and from the Function menu the memory schedule, New and Open with the
# file dialogs, and the options.
import pathlib

import qld
from harness import XTest, caption, terminate, wait_until


class DialogsTest(XTest):
    def test_dialogs(self):
        session = self.session
        deck = session.deck("deck.qld", qld.numbered_cards(12))
        session.quiz(deck)
        header = lambda path=deck: qld.read(path)["header"]

        def replace(text, window, *at):  # a point in pixels, two to a dialog unit
            if at:
                session.click(window, *at)
            session.key("ctrl+a", window=window)
            session.xdotool("type", text)

        session.key("shift+Return")
        editor = session.dialog("Edit")
        replace("Capital of Italy?", editor)
        replace("Rome", editor, 120, 160)
        session.dismiss(editor)
        self.assertEqual([qld.read(deck)["records"][0][k] for k in ("question", "answer")],
                         ["Capital of Italy?", "Rome"])

        dialog = session.menu(1, "Memory Schedule")
        for number, x in (("5", 73), ("10", 189)):  # From and To
            session.click(dialog, x, 36)
            go = session.dialog("Go to ...")
            replace(number, go)
            session.dismiss(go)
        session.dismiss(dialog)
        wait_until(lambda: (header()["rangeFrom"], header()["rangeTo"]) == (4, 9), "the range")
        session.answer_counted("A5", 4)  # the drill starts again at the range's first question

        fresh = session.path("fresh.qld")
        for downs, title, path in ((3, "Create a new QLD File", fresh),
                                   (4, "Open a QLD File", deck)):
            box = session.menu(downs, title)
            replace(path, box)
            session.dismiss(box)
            wait_until(lambda: session.windows(caption(path)) == [session.window],
                       "the caption of " + path)
        self.assertEqual(header(fresh)["recordCount"], 1)  # its first question, appended when shown

        dialog = session.menu(2, "Option")
        replace("7", dialog, 40, 38)  # the period
        session.click(dialog, 60, 174)  # Match case
        session.dismiss(dialog)
        wait_until(lambda: (header()["popupMinutes"], header()["optionFlags"]) == (7, 2),
                   "the period and Match case")
        self.assertEqual(terminate(session.program), 0)
        self.assertIn("File1=%s\n" % deck, pathlib.Path(session.settings).read_text())
