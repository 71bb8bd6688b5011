"""The quiz window's pop-up by the timer, in the place where the user put it; a start hidden in
the tray, asleep; a second start while a copy runs hidden and shown; a click on the tray icon."""
import glob
import pathlib
import subprocess
import threading
import time
import unittest

import qld
from harness import DisplayTest, Quiz, caption, wait_until

HIDE_BUTTON = (448 + 25, 144 + 10)


class MapEvents:
    """The map and unmap events of a window, as xev reports them."""

    def __init__(self, test, window):
        session, self.lines = test.session, []
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-id", str(window), "-event", "structure", "-event",
             "property"], env=session.env, stdout=subprocess.PIPE, text=True)
        test.addCleanup(self.close)
        threading.Thread(target=lambda: self.lines.extend(self.process.stdout),
                         daemon=True).start()

        def listening():  # a property of ours, set until xev reports it
            session.run("xprop", "-id", str(window), "-f", "_E2E_MARK", "8s", "-set",
                        "_E2E_MARK", "1")
            return any("_E2E_MARK" in line for line in self.lines)
        wait_until(listening, 30, "xev to listen", interval=0.2)

    def events(self):
        return [line.split()[0] for line in list(self.lines)
                if line.startswith(("MapNotify", "UnmapNotify"))]

    def close(self):
        self.process.kill()
        self.process.wait()
        self.process.stdout.close()


def wakeups(pid):
    """The context switches of all the process's threads so far."""
    total = 0
    for task in glob.glob("/proc/%d/task/*/status" % pid):
        try:
            with open(task) as f:
                total += sum(int(line.split()[1]) for line in f
                             if line.startswith(("voluntary_ctxt", "nonvoluntary_ctxt")))
        except OSError:
            pass  # a thread that has just ended
    return total


class WindowTest(DisplayTest):
    tray = True

    def test_pop_up_where_the_user_put_the_window(self):
        # With the smallest period the window comes back as soon as it has hidden.
        deck = self.session.deck("deck.qld", qld.numbered_cards(5), popup_minutes=0)
        quiz = Quiz(self.session, deck)
        self.session.xdotool("windowmove", str(quiz.window), "40", "30")
        wait_until(lambda: self.session.geometry(quiz.window)[:2] == (40, 30), 30, "the move")
        events = MapEvents(self, quiz.window)
        self.session.click(quiz.window, *HIDE_BUTTON)
        wait_until(lambda: events.events()[-2:] == ["UnmapNotify", "MapNotify"], 30,
                   "the window to hide and come back")
        wait_until(lambda: self.session.focused() == quiz.window, 30, "the keyboard on it")
        self.assertEqual(self.session.geometry(quiz.window)[:2], (40, 30))
        quiz.answer_counted("A1", 0)
        self.assertEqual(quiz.program.terminate(), 0)
        wait_until(lambda: self.session.tray_icon() is None, 30, "the tray icon to go at the end")

    def test_start_hidden_asleep_and_second_start(self):
        self.deck = self.session.deck("deck.qld", qld.numbered_cards(5), option_flags=1)
        program = self.session.start()
        icon = wait_until(self.session.tray_icon, 30, "the tray icon")  # the way back
        window = wait_until(lambda: [w for w, name in self.session.top_windows()
                                     if name == caption(self.deck)], 30, "the quiz window")[0]
        self.session.await_state(window, "IsUnMapped", "the window to hide at start")
        # A blinking text cursor in the hidden window would wake the program twice a second.
        time.sleep(1)
        before = wakeups(program.pid)
        time.sleep(3)
        self.assertLessEqual(wakeups(program.pid) - before, 3, "wake-ups in 3 s while hidden")
        # A second start leaves a hidden copy hidden, and ends.
        self.assertEqual(self.session.start().process.wait(30), 0)
        deadline = time.monotonic() + 1
        while time.monotonic() < deadline:
            self.assertEqual(self.session.map_state(window), "IsUnMapped", "shown by a 2nd start")
            time.sleep(0.05)

        _, _, width, height = self.session.geometry(icon)
        self.session.click(icon, width // 2, height // 2)
        self.session.await_state(window, "IsViewable", "the window to come back on a click")
        wait_until(lambda: self.session.focused() == window, 30, "the keyboard on it")
        # A normal application window with a task-bar entry of its own, not a transient dialog.
        kind = self.session.run("xprop", "-id", str(window), "_NET_WM_WINDOW_TYPE",
                                "WM_TRANSIENT_FOR")
        self.assertIn("= _NET_WM_WINDOW_TYPE_NORMAL", kind)
        self.assertIn("WM_TRANSIENT_FOR:  not found", kind)
        panel = int(self.session.xdotool("search", "--classname", "^panel$").split()[0])
        self.session.xdotool("windowraise", str(panel))
        self.assertNotEqual(self.session.stacking()[-1], window)
        def files():
            return [pathlib.Path(path).read_bytes() for path in (self.deck, self.session.settings)]
        before = files()
        # A second start brings a shown copy forward at the launcher's time from its startup id,
        # and changes no file.
        startup = dict(self.session.env, DESKTOP_STARTUP_ID="menu-1-host-quillow-0_TIME2000000000")
        self.assertEqual(self.session.start(env=startup).process.wait(30), 0)
        wait_until(lambda: self.session.stacking()[-1] == window, 30, "the running copy on top")
        self.assertIn("= 2000000000",
                      self.session.run("xprop", "-id", str(window), "_NET_WM_USER_TIME"))
        self.assertEqual(self.session.windows_named(caption(self.deck)), [window])
        self.assertEqual(files(), before)
        self.assertEqual(program.terminate(), 0)


if __name__ == "__main__":
    unittest.main()
