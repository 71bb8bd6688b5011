# A drill in the quiz window, checked in the data file: a wrong answer, right ones, the Answer
# button, Next (F8), Go (F7); hidden by its button, the window pops up by the timer where the user
# put it, with the keyboard; a second start brings it to the top at the launcher's time; SIGTERM
# with the Function menu open saves the header.
import pathlib
import re

import qld
from harness import XTest, terminate, wait_until

ANSWER = "The correct answer is..."


class DrillTest(XTest):
    def test_drill_pop_up_and_second_start(self):
        session = self.session
        # The default schedule asks position p, then p-2, p-5 and p-11 within the range.
        deck = session.deck("deck.qld", qld.numbered_cards(20), popup_minutes=0)
        session.quiz(deck)
        session.answer("A")
        session.dismiss(session.dialog(ANSWER))
        session.answer_counted("1", 0)  # the typed text stayed in the box
        session.click(session.window, 473, 108)  # the Answer button
        session.dismiss(session.dialog(ANSWER))
        session.answer_counted("A2", 1)
        session.answer_counted("A3", 2)
        session.key("F8")  # Next: question 1 is skipped, not counted
        session.answer_counted("A4", 3)
        session.key("F7")
        session.key("ctrl+a", "7", "Return", window=session.dialog("Go to ..."))
        session.answer_counted("A7", 6)

        window = session.window
        session.xdotool("windowmove", window, "40", "30")
        position = lambda: session.xdotool("getwindowgeometry", window).split()[3]
        wait_until(lambda: position() == "40,30", "the move")
        # xev reports the window's map events; a property of ours tells when it listens.
        events = pathlib.Path(session.spawn(["stdbuf", "-oL", "xev", "-id", window, "-event",
                                             "structure", "-event", "property"]).log)
        wait_until(lambda: not session.run("xprop", "-id", window, "-f", "_E2E", "8s", "-set",
                                           "_E2E", "1") and "_E2E" in events.read_text(), "xev")
        session.click(window, 473, 154)  # Hide; the period 0 ends at once
        wait_until(lambda: re.findall(r"^(UnmapNotify|MapNotify)", events.read_text(), re.M)
                   == ["UnmapNotify", "MapNotify"], "the window to hide and pop up")
        wait_until(lambda: session.focused() == window, "the keyboard on the pop-up")
        self.assertEqual(position(), "40,30")
        session.answer_counted("A5", 4)

        session.spawn(["xev"])  # another application's window above it
        wait_until(lambda: session.windows()[0] != window, "a window above")
        second = session.start(dict(session.env, DESKTOP_STARTUP_ID="menu-1-h-q-0_TIME2000000000"))
        self.assertEqual(second.wait(30), 0)
        wait_until(lambda: session.windows()[0] == window, "the window on top")
        self.assertIn("= 2000000000", session.run("xprop", "-id", window, "_NET_WM_USER_TIME"))

        # Question 2, the position's third, is shown: its step reaches the file at the end.
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 1)
        session.key("F9")
        wait_until(lambda: session.windows("Quillow"), "the menu")
        self.assertEqual(terminate(session.program), 0)
        self.assertEqual(qld.read(deck)["header"]["stepIndex"], 2, "the header was not saved")
