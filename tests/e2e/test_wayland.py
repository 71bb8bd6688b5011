# The quiz window natively on Wayland, in a compositor that refuses focus stealing as GNOME does
# (mutter, headless), seen in the program's Wayland traffic and the calls of desktop.py's
# stand-ins: Esc hides it; a second start with the launcher's token brings it back with the
# keyboard; a showing refused the keyboard gives a notification, whose action brings the window;
# a tray icon registers, a second start leaves the window hidden, and a click on the icon
# brings it back.
import unittest

import qld
from harness import Traffic, WaylandSession, make_recent, terminate, wait_until

CARDS = [("Q%d" % n, "a") for n in range(1, 6)]  # any question due is answered with "a"


class WaylandTest(unittest.TestCase):
    def test_wayland(self):
        session = WaylandSession(self)

        def start(name, **fields):
            deck = session.deck(name, CARDS, **fields)
            program = session.start()
            wait_until(lambda: Traffic(program).focused, "%s with the keyboard" % name)
            return deck, program

        def hide(program):
            session.key("Escape")
            wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")

        def back(program, token, what):
            wait_until(lambda: Traffic(program).focused, what)
            self.assertIn(token, Traffic(program).activations)

        def answered(deck, total):
            session.key("a", "Return")
            wait_until(lambda: sum(qld.counts(qld.read(deck))) == total, "answer %d" % total)

        deck, program = start("deck.qld")
        hide(program)
        token = session.launch_token("the-launcher")
        self.assertEqual(session.start(dict(session.env, XDG_ACTIVATION_TOKEN=token)).wait(30), 0)
        back(program, token, "a second start to bring the window")
        answered(deck, 1)
        self.assertEqual(terminate(program), 0)

        # Another application takes the keyboard; a second start without a token brings the
        # window forward, but the compositor keeps the keyboard where the user was.
        deck, program = start("notice.qld")
        other = dict(session.env, **session.user("other"), WAYLAND_DISPLAY=session.socket)
        qld.make(session.path("other.qld"), CARDS)
        make_recent(other["XDG_CONFIG_HOME"], session.path("other.qld"))
        other = session.start(other)
        wait_until(lambda: Traffic(other).focused, "the other application with the keyboard")
        self.assertEqual(session.start().wait(30), 0)
        notice = wait_until(lambda: session.called("Notify"), "a notification")[0]
        self.assertEqual((Traffic(program).shown, Traffic(program).focused), (1, False))
        self.assertIn("default", notice["actions"])
        token = session.launch_token("the-notification")
        session.send("invoke", 1, token)
        back(program, token, "the notification's action to bring the window")
        answered(deck, 1)
        self.assertEqual([terminate(program), terminate(other)], [0, 0])

        session.send("tray")
        deck, program = start("tray.qld")
        icon = wait_until(lambda: session.called("Icon"), "the tray icon")[0]
        hide(program)
        self.assertEqual(session.start().wait(30), 0)  # the icon is the way back, not this
        self.assertEqual(Traffic(program).shown, 0, "a second start showed the hidden window")
        token = session.launch_token("the-tray")
        session.send("click", icon["service"], icon["path"], token)
        back(program, token, "a click on the icon to bring the window")
        self.assertEqual(terminate(program), 0)
