# A drill in the quiz window, checked in the data file: a wrong answer, right ones, the Answer
# button, Next (F8), Go (F7); hidden by its button, the window pops up by the timer where the user
# put it, with the keyboard; a second start brings it to the top at the launcher's time and
# changes no file; SIGTERM with the Function menu open saves the header.
import pathlib

import qld
from harness import Quiz, XTest, terminate, wait_until

ANSWER = "The correct answer is..."


class DrillTest(XTest):
    def test_drill_pop_up_and_second_start(self):
        session = self.session
        # The default schedule asks position p, then p-2, p-5 and p-11 within the range.
        deck = pathlib.Path(session.deck("deck.qld", qld.numbered_cards(20), popup_minutes=0))
        quiz = Quiz(session, str(deck))
        before = deck.read_bytes()
        quiz.answer("A")
        quiz.close(quiz.dialog(ANSWER))
        self.assertEqual(deck.read_bytes(), before, "a wrong answer changed the file")
        quiz.answer_counted("1", 0)  # the typed text stayed in the box
        quiz.answer_counted(" a 2 ", 1)  # spaces and case do not count
        session.click(quiz.window, 473, 108)  # the Answer button
        quiz.close(quiz.dialog(ANSWER))
        quiz.answer_counted("A3", 2)
        records = deck.read_bytes()[qld.HEADER:]
        quiz.keys("F8")  # Next: question 1 is skipped, not counted
        wait_until(lambda: qld.read(deck)["header"]["position"] == 3, "position 3")
        self.assertEqual(deck.read_bytes()[qld.HEADER:], records, "Next changed a record")
        quiz.answer_counted("A4", 3)
        quiz.keys("F7")
        quiz.dialog("Go to ...")
        session.key("ctrl+a", "7", "Return")
        quiz.answer_counted("A7", 6)

        session.xdotool("windowmove", quiz.window, "40", "30")
        position = lambda: session.xdotool("getwindowgeometry", quiz.window).split()[3]
        wait_until(lambda: position() == "40,30", "the move")
        # xev reports the window's map events; a property of ours tells when it listens.
        session.spawn(["stdbuf", "-oL", "xev", "-id", quiz.window, "-event", "structure", "-event",
                       "property"], "xev.log")
        events = pathlib.Path(session.path("xev.log"))
        wait_until(lambda: not session.run("xprop", "-id", quiz.window, "-f", "_E2E", "8s",
                                           "-set", "_E2E", "1") and "_E2E" in events.read_text(),
                   "xev to listen")
        session.click(quiz.window, 473, 154)  # Hide; the period 0 ends at once
        wait_until(lambda: [line.split()[0] for line in events.read_text().splitlines()
                            if line.startswith(("MapNotify", "UnmapNotify"))]
                   == ["UnmapNotify", "MapNotify"], "the window to hide and pop up")
        wait_until(lambda: session.focused() == quiz.window, "the keyboard on the pop-up")
        self.assertEqual(position(), "40,30")
        quiz.answer_counted("A5", 4)

        session.spawn(["xev"], "cover.log")  # another application's window above it
        wait_until(lambda: session.top_windows()[0] != quiz.window, "a window above")
        files = [pathlib.Path(path).read_bytes() for path in (deck, session.settings)]
        second = session.start(dict(session.env, DESKTOP_STARTUP_ID="menu-1-h-q-0_TIME2000000000"))
        self.assertEqual(second.wait(30), 0)
        wait_until(lambda: session.top_windows()[0] == quiz.window, "the window on top")
        self.assertIn("= 2000000000", session.run("xprop", "-id", quiz.window, "_NET_WM_USER_TIME"))
        self.assertEqual([pathlib.Path(path).read_bytes() for path in (deck, session.settings)],
                         files)

        # Question 2, the position's third, is shown: its step reaches the file at the end.
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 1)
        quiz.keys("F9")
        session.await_window("Quillow")
        self.assertEqual(terminate(quiz.program), 0)
        self.assertEqual(qld.problems(deck.read_bytes()), [])
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 2, "the header was not saved")
