# The end-to-end scenarios, checked in the data file: one test each (CMakeLists.txt picks them
# by name). Drill, dialogs and crash run on an X display, wayland in a headless GNOME session.
import os
import pathlib
import random
import re
import threading
import time
import unittest

import qld
from harness import Session, Traffic, XTest, caption, contrast, terminate, wait_until


class XScenarios(XTest):
    def test_drill(self):
        # A drill in the quiz window: a wrong answer, right ones, the Answer button, Next (F8),
        # Go (F7); hidden by its button, the window pops up by the timer where the user put it,
        # with the keyboard; a second start brings it to the top at the launcher's time; SIGTERM
        # with the Function menu open saves the header. All under a dark palette, where dialogs
        # are dark and the skin keeps its colours, and with Orca, which says each new question
        # (after an answer, F8, Go and the pop-up) while the keyboard stays in the answer box.
        session = self.session
        session.dark_theme()
        session.screen_reader()
        # The default schedule asks position p, then p-2, p-5 and p-11 within the range.
        deck = session.deck("deck.qld", qld.numbered_cards(20), popup_minutes=0)
        def heard(question, since=0):  # the question that Orca said last (since that line)
            said = lambda: [s for s in session.spoken()[since:] if s.startswith("notification ")]
            wait_until(lambda: said()[-1:] == ["notification %s." % question], "Orca: " + question)

        session.quiz(deck)
        session.answer("A")
        box = session.dialog("The correct answer is...")
        self.assertLess(sum(session.screenshot(box, 0, 0, 40, 40)[0]), 3 * 100)
        session.dismiss(box)
        for area in ((14, 14, 412, 64), (12, 104, 414, 54)):  # the question, the answer "A"
            colours = session.screenshot(session.window, *area)
            self.assertGreaterEqual(max(contrast(colours[0], c) for c in colours), 4.5, area)
        heard("Q1")
        session.answer_counted("1", 0)  # the typed text stayed in the box
        heard("Q2")
        session.click(session.window, 473, 108)  # the Answer button
        session.dismiss(session.dialog("The correct answer is..."))
        session.answer_counted("A2", 1)
        heard("Q3")
        session.answer_counted("A3", 2)
        heard("Q1")
        session.key("F8")  # Next: question 1 is skipped, not counted
        heard("Q4")
        session.answer_counted("A4", 3)
        session.key("F7")
        session.key("ctrl+a", "7", "Return", window=session.dialog("Go to ..."))
        heard("Q7")
        session.answer_counted("A7", 6)

        window = session.window
        session.xdotool("windowmove", "--sync", window, "40", "30")
        # xev reports the window's map events; a property of ours tells when it listens.
        events = pathlib.Path(session.spawn(["stdbuf", "-oL", "xev", "-id", window, "-event",
                                             "structure", "-event", "property"]).log)
        wait_until(lambda: not session.run("xprop", "-id", window, "-f", "_E2E", "8s", "-set",
                                           "_E2E", "1") and "_E2E" in events.read_text(), "xev")
        heard("Q5")
        since = len(session.spoken())
        session.click(window, 473, 154)  # Hide; the period 0 ends at once
        wait_until(lambda: re.findall(r"^(UnmapNotify|MapNotify)", events.read_text(), re.M)
                   == ["UnmapNotify", "MapNotify"], "the window to hide and pop up")
        wait_until(lambda: session.focused() == window, "the keyboard on the pop-up")
        self.assertIn("Position: 40,30 ", session.xdotool("getwindowgeometry", window))
        heard("Q5", since)
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

    def test_dialogs(self):
        # The quiz window's dialogs in one pass, checked in the data files and the settings: the
        # question editor (Shift+Enter), and from the Function menu the memory schedule, New and
        # Open with the file dialogs, and the options.
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

    def test_crash(self):
        # The program killed with SIGKILL at a few random moments of a drill: the data file stays
        # sound and keeps every answer that the program had processed (QUILLOW_E2E_SEED picks
        # other moments).
        session, seed = self.session, int(os.environ.get("QUILLOW_E2E_SEED", "20240607"))
        deck = session.deck("deck.qld", [("Q%d" % n, "ok") for n in range(400)], review_mode=0,
                            range_to=399)
        answered = lambda: sum(qld.counts(qld.read(deck)))
        rng, counted = random.Random(seed), 0
        for round_ in range(5):
            where = "seed %d, round %d" % (seed, round_)
            session.quiz(deck)
            session.focus(session.window)
            threading.Timer(rng.uniform(0.2, 1.5), session.program.kill).start()
            while session.program.poll() is None:  # answer until killed
                session.xdotool("type", "ok")
                session.xdotool("key", "Return")
                wait_until(lambda: session.program.poll() is not None or answered() > counted,
                           where)
                counted = max(counted, answered())
            self.assertEqual(qld.problems(pathlib.Path(deck).read_bytes()), [], where)
            self.assertGreaterEqual(answered(), counted, where)
        self.assertGreater(counted, 5, "too few answers reached the file")


class DesktopScenarios(unittest.TestCase):
    def test_popup(self):
        # Under a window manager (openbox) on X: with the period over, the pop-up waits while the
        # user types in another window (none of the keys reach Quillow) and takes the keyboard
        # within 5 s of the last key; a full-screen window and then a locked session hold it
        # back until they end.
        session = Session(self, window_manager=True)
        session.quiz(session.deck("deck.qld", qld.numbered_cards(5), popup_minutes=0))
        keys = pathlib.Path(session.spawn(["xev", "-event", "keyboard"]).log)
        other = wait_until(lambda: session.windows("Event Tester"), "another window")[0]
        typed = "the user types a sentence"
        session.key("Escape", "windowfocus", "--sync", other, "type", "--delay", "150", typed)
        self.assertFalse(session.shown(session.window), "it came back during the typing")
        wait_until(lambda: session.focused() == session.window, "the pop-up", timeout=5)
        self.assertEqual(keys.read_text().count("KeyPress"), len(typed))

        session.run("wmctrl", "-i", "-r", other, "-b", "add,fullscreen")
        session.key("Escape", "windowfocus", "--sync", other)
        time.sleep(3)
        self.assertFalse(session.shown(session.window), "it came over a full-screen window")
        session.send("lock", 1)
        session.run("wmctrl", "-i", "-r", other, "-b", "remove,fullscreen")
        time.sleep(3)
        self.assertFalse(session.shown(session.window), "it came over a locked screen")
        session.send("lock", 0)
        wait_until(lambda: session.focused() == session.window, "the pop-up", timeout=5)
        self.assertEqual(terminate(session.program), 0)


    def test_wayland(self):
        # The quiz window natively on Wayland, in a compositor that refuses focus stealing as
        # GNOME does (mutter, headless), seen in the program's Wayland traffic and the calls of
        # desktop.py's stand-ins: Esc hides it; a second start with the launcher's token brings
        # it back with the keyboard; the pop-up waits for the unlock and for a pause in the
        # typing; with another application holding the keyboard, a showing refused the keyboard
        # gives a notification, whose action brings the window, also through GNOME Shell's own
        # service, whose Later hides it; a tray icon registers, a second start leaves the window
        # hidden, and a click on the icon brings it back.
        session = Session(self, wayland=True)

        def start(env, what):
            program = session.start(env)
            wait_until(lambda: Traffic(program).focused, what + " with the keyboard")
            return program

        def back(token, give):  # a token made as the launcher does, given, brings the window
            session.launch_token(token)
            give(token)
            # The keyboard's enter and the program's request with the token reach its log in
            # either order: a focus seen first does not yet show the token.
            wait_until(lambda: Traffic(program).focused and token in Traffic(program).activations,
                       "the window back with " + token)

        deck = session.deck("deck.qld", [("Q", "a")] * 5, popup_minutes=0)
        session.send("lock", 1)  # the period ends at once, but the locked session holds it back
        program = start(session.env, "the window")
        session.send("keys", 0xff1b)  # Escape hides the window
        wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")
        back("the-launcher", lambda token: self.assertEqual(session.start(
            dict(session.env, XDG_ACTIVATION_TOKEN=token)).wait(30), 0))
        session.send("keys", ord("a"), 0xff0d)  # any question due is answered with a, Return
        wait_until(lambda: sum(qld.counts(qld.read(deck))) == 1, "the answer")

        # Hidden again, it waits past the unlock while the user types in another application
        # (the program of another user): no key reaches it; once the typing stops it comes back
        # with the keyboard within 5 s.
        session.send("keys", 0xff1b)
        wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")
        other = start(session.other_user("other"), "the other application")
        session.send("lock", 0)
        typed = len(session.called("pressed")) + 20
        for _ in range(20):
            session.send("keys", ord("x"))
            time.sleep(0.2)
        # The 5 s count from the last key reaching the seat, which a busy desktop.py may delay.
        wait_until(lambda: len(session.called("pressed")) == typed, "the last key typed")
        self.assertEqual(Traffic(program).shown, 0, "it came back during the typing")
        wait_until(lambda: Traffic(program).focused, "the pop-up with the keyboard", timeout=5)

        # A third application takes the keyboard; a second start without a token brings the
        # window forward, but the compositor keeps the keyboard there: a notification.
        third = start(session.other_user("third"), "the third application")
        self.assertEqual(session.start().wait(30), 0)
        notice = wait_until(lambda: session.called("Notify"), "a notification")[0]
        self.assertEqual((Traffic(program).shown, Traffic(program).focused), (1, False))
        self.assertEqual(notice["actions"], ["default", "Answer", "second", "Later"])
        back("the-notification", lambda token: session.send("invoke", 1, token))

        # The same through GNOME Shell's own notifications: a click that hands only a time is
        # answered through GNOME's protocol (gtk_shell1), which mutter honours.
        session.send("shell")
        fourth = start(session.other_user("fourth"), "the fourth application")
        self.assertEqual(session.start().wait(30), 0)
        notice = wait_until(lambda: session.called("AddNotification"), "GNOME's notification")[0]
        self.assertEqual(notice["buttons"], [["Answer", "app.answer"], ["Later", "app.later"]])
        session.send("activate", notice["app"], notice["default"][len("app."):])
        wait_until(lambda: Traffic(program).focused, "the window back through gtk_shell1")
        session.send("lock", 1)  # from here on, only the user brings the window back
        session.send("activate", notice["app"], "later")
        wait_until(lambda: not Traffic(program).shown, "Later to hide the window")
        self.assertFalse("No such signal" in pathlib.Path(program.log).read_text(), "a warning")
        self.assertEqual([terminate(p) for p in (program, other, third, fourth)], [0] * 4)

        session.send("tray")
        program = start(session.env, "the window with a tray")
        icon = wait_until(lambda: session.called("Icon"), "the tray icon")[0]
        session.send("keys", 0xff1b)
        wait_until(lambda: not Traffic(program).shown, "Esc to hide the window")
        self.assertEqual(session.start().wait(30), 0)  # the icon is the way back, not this
        self.assertEqual(Traffic(program).shown, 0, "a second start showed the hidden window")
        back("the-tray", lambda token: session.send("click", icon["service"], token))
        self.assertEqual(terminate(program), 0)
