"""Hiding the quiz window to the tray, its pop-up by the timer and by a click on the tray icon,
a start hidden in the tray, a second start while a copy runs, and SIGTERM."""
import glob
import subprocess
import threading
import time
import unittest

import qld
from harness import APP_CAPTION, DisplayTest, Failure, Quiz, caption, wait_until

HIDE_BUTTON = (448 + 25, 144 + 10)
OPTION_PERIOD = (40, 38)


class MapEvents:
    """Records the map and unmap events of a window, as xev reports them."""

    def __init__(self, session, window):
        self.lines = []
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-id", str(window), "-event", "structure", "-event",
             "property"], env=session.env, stdout=subprocess.PIPE, text=True)
        threading.Thread(target=lambda: self.lines.extend(self.process.stdout),
                         daemon=True).start()
        # A property of ours, set until xev reports it, shows when xev listens.
        def listening():
            session.run("xprop", "-id", str(window), "-f", "_E2E_MARK", "8s", "-set",
                        "_E2E_MARK", "1")
            return any("_E2E_MARK" in line for line in self.lines)
        try:
            wait_until(listening, 30, "xev to listen", interval=0.2)
        except BaseException:
            self.close()
            raise

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

    def start(self):
        self.deck = self.session.deck("deck.qld", qld.numbered_cards(5))
        return Quiz(self.session, self.deck)

    def await_focus(self, window, what):
        wait_until(lambda: self.session.focused() == window, 30, what)

    def test_hidden_window_comes_back_by_timer_and_by_tray_click(self):
        quiz = self.start()
        icon = wait_until(self.session.tray_icon, 30, "the tray icon")
        # The window comes back where the user put it.
        self.session.xdotool("windowmove", str(quiz.window), "40", "30")
        place = wait_until(lambda: self.session.geometry(quiz.window)[:2] == (40, 30) and (40, 30),
                           30, "the window moved")
        quiz.keys("Escape")
        self.session.await_state(quiz.window, "IsUnMapped", "Escape to hide the window")
        self.assertEqual(self.session.map_state(icon), "IsViewable")
        # The default period is a minute: a click on the icon brings the window back at once.
        _, _, width, height = self.session.geometry(icon)
        self.session.click(icon, width // 2, height // 2)
        self.session.await_state(quiz.window, "IsViewable", "the window to come back on a click")
        self.await_focus(quiz.window, "the keyboard on the window after the click")
        self.assertEqual(self.session.geometry(quiz.window)[:2], place)
        quiz.answer_counted("A1", 0)

        # With the smallest period the window comes back by itself as soon as it has hidden.
        dialog = quiz.menu("Option...", "Option")
        self.session.click(dialog, *OPTION_PERIOD)
        self.session.key("ctrl+a")
        self.session.type("0")
        self.session.key("Return")
        self.session.await_gone(dialog, "the Option dialog to close")
        wait_until(lambda: qld.read(self.deck)["header"]["popupMinutes"] == 0, 30,
                   "the period 0 in the header")
        events = MapEvents(self.session, quiz.window)
        self.addCleanup(events.close)
        self.session.click(quiz.window, *HIDE_BUTTON)
        wait_until(lambda: events.events()[-2:] == ["UnmapNotify", "MapNotify"], 30,
                   "the window to hide and come back")
        self.session.await_state(quiz.window, "IsViewable", "the window to show")
        self.await_focus(quiz.window, "the keyboard on the window after the pop-up")
        self.assertEqual(self.session.geometry(quiz.window)[:2], place)
        quiz.answer_counted("A2", 1)
        self.assertEqual(quiz.program.terminate(), 0)
        wait_until(lambda: self.session.tray_icon() is None, 30, "the tray icon to go at the end")

    def test_window_hidden_at_start_waits_in_the_tray_asleep(self):
        # A blinking text cursor in the hidden window would wake the program twice a second.
        deck = self.session.deck("deck.qld", qld.numbered_cards(5), option_flags=1)
        program = self.session.start()
        wait_until(self.session.tray_icon, 30, "the tray icon")
        window = wait_until(lambda: [w for w, name in self.session.top_windows()
                                     if name == caption(deck)], 30, "the quiz window")[0]
        self.session.await_state(window, "IsUnMapped", "the window to hide at start")
        time.sleep(1)
        before = wakeups(program.pid)
        time.sleep(3)
        self.assertLessEqual(wakeups(program.pid) - before, 3, "wake-ups in 3 s while hidden")
        self.assertEqual(program.terminate(), 0)

    def test_second_start_brings_the_running_copy_forward_and_ends(self):
        quiz = self.start()
        # A normal application window with a task-bar entry of its own, not a transient dialog.
        kind = self.session.run("xprop", "-id", str(quiz.window), "_NET_WM_WINDOW_TYPE",
                                "WM_TRANSIENT_FOR")
        self.assertIn("= _NET_WM_WINDOW_TYPE_NORMAL", kind)
        self.assertIn("WM_TRANSIENT_FOR:  not found", kind)
        panel = int(self.session.xdotool("search", "--classname", "^panel$").split()[0])
        self.session.xdotool("windowraise", str(panel))
        self.assertNotEqual(self.session.stacking()[-1], quiz.window)
        with open(self.deck, "rb") as f:
            deck = f.read()
        with open(self.session.settings) as f:
            settings = f.read()

        # The launcher's time in its startup id goes with the activation request.
        startup = dict(self.session.env, DESKTOP_STARTUP_ID="menu-1-host-quillow-0_TIME2000000000")
        second = self.session.start(env=startup)
        self.assertEqual(second.process.wait(30), 0, second.output())
        wait_until(lambda: self.session.stacking()[-1] == quiz.window, 30,
                   "the running copy on top")
        self.assertIn("= 2000000000", self.session.run("xprop", "-id", str(quiz.window),
                                                       "_NET_WM_USER_TIME"))
        self.assertEqual(self.session.windows_named(caption(self.deck)), [quiz.window])
        with open(self.deck, "rb") as f:
            self.assertEqual(f.read(), deck)
        with open(self.session.settings) as f:
            self.assertEqual(f.read(), settings)

        # A hidden copy stays hidden.
        quiz.keys("Escape")
        self.session.await_state(quiz.window, "IsUnMapped", "Escape to hide the window")
        third = self.session.start()
        self.assertEqual(third.process.wait(30), 0, third.output())
        deadline = time.monotonic() + 1
        while time.monotonic() < deadline:
            if self.session.map_state(quiz.window) != "IsUnMapped":
                raise Failure("a second start showed the hidden window")
            time.sleep(0.05)
        self.assertTrue(quiz.program.running())

    def test_sigterm_ends_the_program_also_with_the_function_menu_open(self):
        self.deck = self.session.deck("deck.qld", qld.numbered_cards(5), review_mode=0)
        quiz = Quiz(self.session, self.deck)
        # Questions 1, 2 and then 1 again: the step within the position is not in the file yet.
        quiz.answer_counted("A1", 0)
        quiz.answer_counted("A2", 1)
        self.assertEqual(qld.read(self.deck)["header"]["stepIndex"], 0)
        quiz.keys("F9")
        self.session.await_window(APP_CAPTION, what="the Function menu")
        self.assertEqual(quiz.program.terminate(), 0)
        with open(self.deck, "rb") as f:
            data = f.read()
        self.assertEqual(qld.problems(data), [])
        self.assertEqual(qld.parse(data)["header"]["stepIndex"], 1, "the header was not saved")


if __name__ == "__main__":
    unittest.main()
