"""The quiz window in a native Wayland session that refuses focus stealing as GNOME does
(mutter, headless): start, hide, a second start from the launcher bringing the hidden window
back, the pop-up, the notification where the compositor refuses the focus, and then the same
desktop with a tray, each seen in the program's Wayland traffic, the calls that the desktop's
stand-ins receive and the data file."""
import time
import unittest

import qld
from harness import DisplayTest, Traffic, WaylandSession, caption, wait_until


class WaylandTest(DisplayTest):

    def setUp(self):
        self.session = WaylandSession()
        self.addCleanup(self.session.close)

    def test_hide_pop_up_and_second_start(self):
        session = self.session
        # Every card has the same answer, so any question due can be answered.
        cards = [("Q%d" % n, "a") for n in range(1, 6)]
        deck = session.deck("deck.qld", cards)
        title = caption(deck)
        program = session.start()

        def traffic():
            return Traffic(program.log.name)

        def answered(total):
            session.type("a")
            session.key("Return")
            wait_until(lambda: sum(qld.counts(qld.read(deck))) == total, 30,
                       "answer %d counted in the file" % total)

        # A normal top-level window, which the compositor focuses when it maps it: typing lands
        # in the answer box.
        wait_until(lambda: traffic().focused(title), 30, "the quiz window with the keyboard")
        answered(1)

        # Escape withdraws it (no minimise, which a Wayland client could not undo).
        session.key("Escape")
        wait_until(lambda: not traffic().shown(title), 30, "Escape to unmap the window")
        self.assertEqual(traffic().minimised, 0)

        # Without a tray the launcher is the way back: a second start, with the launcher's
        # token, brings the hidden window up with the keyboard, and ends.
        token = session.launch_token("quillow-e2e-launch-1")
        session.env["XDG_ACTIVATION_TOKEN"] = token
        second = session.start()
        del session.env["XDG_ACTIVATION_TOKEN"]
        self.assertEqual(second.process.wait(30), 0, second.output())
        self.assertEqual(Traffic(second.log.name).toplevels, {}, "the second start shows nothing")
        wait_until(lambda: traffic().focused(title), 30, "the hidden window back with the keyboard")
        self.assertIn(token, traffic().activations)
        answered(2)
        self.assertEqual(program.terminate(), 0)

        # The pop-up, at once with the period 0: mapped anew, in front, with the keyboard.
        deck = session.deck("popup.qld", cards, popup_minutes=0)
        title = caption(deck)
        program = session.start()
        wait_until(lambda: traffic().focused(title), 30, "the quiz window with the keyboard")
        session.key("Escape")
        wait_until(lambda: traffic().mapped.get(title) == 2 and traffic().focused(title), 30,
                   "the pop-up with the keyboard")
        answered(1)
        self.assertEqual(session.calls("Notify"), [], "no notification where the focus was given")

        # Another application takes the keyboard; a second start without a token raises the
        # window, but the compositor keeps the keyboard where the user was. A notification says
        # that a question waits, and is withdrawn when the window gets the keyboard another way.
        other_deck = session.path("other.qld")
        qld.make(other_deck, cards)
        other_env = session.other_user_env(other_deck)
        other = session.start(env=other_env)

        def notice_after_refused_focus(count):
            wait_until(lambda: Traffic(other.log.name).focused(caption(other_deck)), 30,
                       "the other application with the keyboard")
            self.assertEqual(session.start().process.wait(30), 0)
            notice = wait_until(lambda: session.calls("Notify")[count:], 30, "a notification")[0]
            self.assertEqual(traffic().focus, None)
            self.assertEqual((notice["call"], notice["summary"], notice["actions"]),
                             ("Notify", "A question is waiting", ["default", "Answer"]))
            self.assertRegex(notice["body"], r"^Q\d$", "the question's text")
            return notice["id"]

        number = notice_after_refused_focus(0)
        token = session.launch_token("quillow-e2e-launch-2")
        session.env["XDG_ACTIVATION_TOKEN"] = token
        self.assertEqual(session.start().process.wait(30), 0)
        del session.env["XDG_ACTIVATION_TOKEN"]
        wait_until(lambda: traffic().focused(title), 30, "the window with the keyboard")
        wait_until(lambda: {"call": "CloseNotification", "id": number}
                   in session.calls("CloseNotification"), 30, "the notification withdrawn")

        # The notification's action brings the keyboard, with the server's token.
        self.assertEqual(other.terminate(), 0)
        other = session.start(env=other_env)
        number = notice_after_refused_focus(1)
        token = session.launch_token("quillow-e2e-notification-1")
        session.send("invoke", number, token)  # a click on the notification
        wait_until(lambda: traffic().focused(title), 30, "the window with the keyboard")
        self.assertIn(token, traffic().activations)
        answered(2)
        self.assertEqual(program.terminate(), 0)
        self.assertEqual(other.terminate(), 0)

        # With a tray (StatusNotifierItem) the icon is the way back: hiding withdraws the window,
        # a second start leaves it hidden, a click on the icon brings it back, and the icon goes
        # with the program.
        session.send("tray")
        deck = session.deck("tray.qld", cards)
        title = caption(deck)
        program = session.start()
        icon = wait_until(lambda: session.calls("RegisterStatusNotifierItem"), 30, "the icon")[0]
        wait_until(lambda: traffic().focused(title), 30, "the quiz window with the keyboard")
        session.key("Escape")
        wait_until(lambda: not traffic().shown(title), 30, "Escape to unmap the window")
        self.assertEqual(session.start().process.wait(30), 0)
        deadline = time.monotonic() + 1
        while time.monotonic() < deadline:
            self.assertFalse(traffic().shown(title), "a second start showed the hidden window")
            time.sleep(0.05)
        token = session.launch_token("quillow-e2e-tray-1")
        session.send("click", icon["service"], icon["path"], token)
        wait_until(lambda: traffic().focused(title), 30, "a click on the icon to bring the window")
        self.assertIn(token, traffic().activations)
        self.assertEqual(program.terminate(), 0)
        wait_until(lambda: session.calls("IconGone"), 30, "the icon to go with the program")


if __name__ == "__main__":
    unittest.main()
