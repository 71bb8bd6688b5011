# The quiz window on X11 with a tray: hidden by its button, it pops up by the timer where the
# user put it, with the keyboard; a second start brings a shown copy to the top at the launcher's
# time and changes no file, and leaves a hidden copy hidden; a click on the tray icon brings a
# copy started hidden back with the keyboard.
import pathlib
import re
import unittest

import qld
from harness import Quiz, XSession, caption, terminate, wait_until


class WindowTest(unittest.TestCase):
    def test_pop_up_second_start_and_tray(self):
        session = XSession(tray=True)
        self.addCleanup(session.close)
        deck = session.deck("deck.qld", qld.numbered_cards(5), popup_minutes=0)
        quiz = Quiz(session, deck)
        session.xdotool("windowmove", quiz.window, "40", "30")
        position = lambda: session.xdotool("getwindowgeometry", quiz.window).split()[3]
        wait_until(lambda: position() == "40,30", "the move")
        # xev reports the window's map events; a property of ours tells when it listens.
        session.spawn(["stdbuf", "-oL", "xev", "-id", quiz.window, "-event", "structure",
                       "-event", "property"], "xev.log")
        events = pathlib.Path(session.path("xev.log"))
        wait_until(lambda: not session.run("xprop", "-id", quiz.window, "-f", "_E2E", "8s",
                                           "-set", "_E2E", "1") and "_E2E" in events.read_text(),
                   "xev to listen")
        session.click(quiz.window, 473, 154)  # Hide; the period 0 ends at once
        wait_until(lambda: [line.split()[0] for line in events.read_text().splitlines()
                            if line.startswith(("MapNotify", "UnmapNotify"))] == ["UnmapNotify", "MapNotify"], "the pop-up")
        wait_until(lambda: session.focused() == quiz.window, "the keyboard on the pop-up")
        self.assertEqual(position(), "40,30")
        quiz.answer_counted("A1", 0)

        session.xdotool("windowraise", session.panel)
        files = [pathlib.Path(path).read_bytes() for path in (deck, session.settings)]
        second = session.start(dict(session.env, DESKTOP_STARTUP_ID="menu-1-h-q-0_TIME2000000000"))
        self.assertEqual(second.wait(30), 0)
        wait_until(lambda: session.top_windows()[0] == quiz.window, "the window on top")
        self.assertIn("= 2000000000", session.run("xprop", "-id", quiz.window, "_NET_WM_USER_TIME"))
        self.assertEqual([pathlib.Path(path).read_bytes() for path in (deck, session.settings)],
                         files)
        self.assertEqual(terminate(quiz.program), 0)

        deck = session.deck("hidden.qld", qld.numbered_cards(5), option_flags=1)  # start hidden
        program = session.start()
        window = wait_until(lambda: session.top_windows(caption(deck)), "the quiz window")[0]
        icon = wait_until(lambda: [w for w in re.findall(r'(0x[0-9a-f]+) "Quillow": \("quillow"',
                                                         session.run("xwininfo", "-root", "-tree"))
                                   if w not in session.top_windows()], "the tray icon")[0]
        self.assertEqual(session.map_state(window), "IsUnMapped")
        self.assertEqual(session.start().wait(30), 0)
        self.assertEqual(session.map_state(window), "IsUnMapped", "shown by a second start")
        session.click(icon, 8, 8)
        wait_until(lambda: session.focused() == window, "the window back with the keyboard")
        self.assertEqual(terminate(program), 0)
