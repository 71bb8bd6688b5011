# The quiz window natively on Wayland, in a compositor that refuses focus stealing as GNOME does
# (mutter, headless), seen in the program's Wayland traffic and the calls of desktop.py's
# stand-ins: Esc hides it; a second start with the launcher's token brings it back with the
# keyboard; with another application holding the keyboard, a showing refused the keyboard gives
# a notification, whose action brings the window; a tray icon registers, a second start leaves
# the window hidden, and a click on the icon brings it back.
import unittest

import qld
from harness import Session, Traffic, terminate, wait_until


class WaylandTest(unittest.TestCase):
    def test_wayland(self):
        session = Session(self, wayland=True)

        def start(env, what):
            program = session.start(env)
            wait_until(lambda: Traffic(program).focused, what + " with the keyboard")
            return program

        def back(program, token, what):
            wait_until(lambda: Traffic(program).focused, what)
            self.assertIn(token, Traffic(program).activations)

        def hide(program):
            session.send("keys", 0xff1b)  # Escape
            wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")

        deck = session.deck("deck.qld", [("Q", "a")] * 5)
        program = start(session.env, "the window")
        hide(program)
        token = session.launch_token("the-launcher")
        self.assertEqual(session.start(dict(session.env, XDG_ACTIVATION_TOKEN=token)).wait(30), 0)
        back(program, token, "a second start to bring the window")
        session.send("keys", ord("a"), 0xff0d)  # any question due is answered with a, Return
        wait_until(lambda: sum(qld.counts(qld.read(deck))) == 1, "the answer")

        # Another application (the program of another user) takes the keyboard; a second start
        # without a token brings the window forward, but the compositor keeps the keyboard there.
        other = start(dict(session.env, **session.user("other")), "the other application")
        self.assertEqual(session.start().wait(30), 0)
        notice = wait_until(lambda: session.called("Notify"), "a notification")[0]
        self.assertEqual((Traffic(program).shown, Traffic(program).focused), (1, False))
        self.assertIn("default", notice["actions"])
        token = session.launch_token("the-notification")
        session.send("invoke", 1, token)
        back(program, token, "the notification's action to bring the window")
        self.assertEqual([terminate(program), terminate(other)], [0, 0])

        session.send("tray")
        program = start(session.env, "the window with a tray")
        icon = wait_until(lambda: session.called("Icon"), "the tray icon")[0]
        hide(program)
        self.assertEqual(session.start().wait(30), 0)  # the icon is the way back, not this
        self.assertEqual(Traffic(program).shown, 0, "a second start showed the hidden window")
        token = session.launch_token("the-tray")
        session.send("click", icon["service"], token)
        back(program, token, "a click on the icon to bring the window")
        self.assertEqual(terminate(program), 0)
