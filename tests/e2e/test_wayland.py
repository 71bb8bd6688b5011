# The quiz window natively on Wayland, in a compositor that refuses focus stealing as GNOME does
# (mutter, headless), seen in the program's Wayland traffic and the calls of desktop.py's
# stand-ins: Esc hides it; a second start with the launcher's token brings it back with the
# keyboard; the pop-up comes with the keyboard; where the compositor refuses the keyboard, a
# notification's action brings it; a tray icon registers and a click on it brings the window.
import unittest

import qld
from harness import Traffic, WaylandSession, make_recent, terminate, wait_until

CARDS = [("Q%d" % n, "a") for n in range(1, 6)]  # any question due is answered with "a"


class WaylandTest(unittest.TestCase):
    def test_wayland(self):
        session = WaylandSession()
        self.addCleanup(session.close)

        def start(name, **fields):
            deck = session.deck(name, CARDS, **fields)
            program = session.start()
            wait_until(lambda: Traffic(program).focused, "%s with the keyboard" % name)
            return deck, program

        def answered(deck, total):
            session.key("a", "Return")
            wait_until(lambda: sum(qld.counts(qld.read(deck))) == total, "answer %d" % total)

        def hidden(program):
            session.key("Escape")
            wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")

        def back(program, token, what):
            wait_until(lambda: Traffic(program).focused, what)
            self.assertIn(token, Traffic(program).activations)

        deck, program = start("deck.qld")
        answered(deck, 1)
        hidden(program)
        token = session.launch_token("quillow-launch-1")
        self.assertEqual(session.start(dict(session.env, XDG_ACTIVATION_TOKEN=token)).wait(30), 0)
        back(program, token, "a second start to bring the window")
        answered(deck, 2)
        self.assertEqual(terminate(program), 0)

        deck, program = start("popup.qld", popup_minutes=0)
        session.key("Escape")  # the period 0 ends at once
        wait_until(lambda: Traffic(program).made == 2 and Traffic(program).focused, "the pop-up")
        answered(deck, 1)
        self.assertEqual(session.called("Notify"), [], "a notice where the keyboard was given")
        # Another application takes the keyboard; a second start without a token shows the
        # window, but the compositor keeps the keyboard where the user was.
        other = dict(session.env, **session.user("other"), WAYLAND_DISPLAY=session.socket)
        qld.make(session.path("other.qld"), CARDS)
        make_recent(other["XDG_CONFIG_HOME"], session.path("other.qld"))
        other = session.start(other)
        wait_until(lambda: Traffic(other).focused, "the other application with the keyboard")
        self.assertEqual(session.start().wait(30), 0)
        notice = wait_until(lambda: session.called("Notify"), "a notification")[0]
        self.assertFalse(Traffic(program).focused)
        self.assertEqual((notice["summary"], notice["actions"]),
                         ("A question is waiting", ["default", "Answer"]))
        self.assertRegex(notice["body"], r"^Q\d$", "the question's text")
        token = session.launch_token("quillow-notification-1")
        session.send("invoke", notice["id"], token)
        back(program, token, "the notification's action to bring the window")
        answered(deck, 2)
        self.assertEqual([terminate(program), terminate(other)], [0, 0])

        session.send("tray")
        deck, program = start("tray.qld")
        icon = wait_until(lambda: session.called("Icon"), "the tray icon")[0]
        hidden(program)
        token = session.launch_token("quillow-tray-1")
        session.send("click", icon["service"], icon["path"], token)
        back(program, token, "a click on the icon to bring the window")
        self.assertEqual(terminate(program), 0)
