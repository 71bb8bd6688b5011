# Runs the real program as a private user on a display server of its own: an X display (Xvfb,
# driven with xdotool), or a headless Wayland session (mutter on a private session bus, with
# desktop.py's stand-ins), where the window is watched in the program's Wayland traffic.
import json
import os
import re
import socket
import struct
import subprocess
import tempfile
import threading
import time
import unittest

import qld


def wait_until(condition, what, timeout=30):
    # Polls condition() until it returns a true value, which is returned.
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %d s: %s" % (timeout, what))
        time.sleep(0.02)
    return value


def caption(deck):
    return "Quillow V2.0 - " + os.path.basename(deck)


def contrast(first, second):
    # The contrast ratio of two colours, 1 to 21, as WCAG reckons it.
    def luminance(colour):
        c = [v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in colour]
        return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2] + 0.05
    return max(luminance(first), luminance(second)) / min(luminance(first), luminance(second))


def terminate(program):
    # Ends the program as the session would (SIGTERM); returns its exit status.
    program.terminate()
    return program.wait(30)


class Session:
    # A private user with the programs and servers started for it (their output in numbered
    # logs), all gone when the test ends, on a display server of its own: an X display (Xvfb)
    # with trayer as the tray host (hiding withdraws the window there), without a window manager,
    # or with a window manager (openbox) and desktop.py's stand-ins on a private session bus, but
    # no tray (hiding minimises the window); or GNOME's compositor without X11 (mutter
    # --headless) on a private session bus, with desktop.py's stand-ins, where the programs log
    # their Wayland traffic.

    def __init__(self, test, wayland=False, window_manager=False):
        self.folder = tempfile.TemporaryDirectory(prefix="quillow-e2e-")
        self.processes = []
        self.test = test
        test.addCleanup(self.close)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY")
                    and not k.startswith(("QT_", "XDG_", "WAYLAND_", "DBUS_", "GTK_", "KDE_"))}
        self.env.update(self.user("home"), LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.settings = os.path.join(self.env["XDG_CONFIG_HOME"], "Brightfen", "Quillow.conf")
        self.tree = "-children"
        if not wayland:
            self.env["DISPLAY"] = ":" + self.server(["Xvfb", "-displayfd", "{}", "-screen", "0",
                                                     "1024x768x24", "-nolisten", "tcp", "-noreset"])
            if not window_manager:
                self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                            "request", "--height", "24"])
                wait_until(lambda: self.windows("panel"), "trayer")
                return
            self.tree = "-tree"  # the programs' windows inside the window manager's frames
            self.spawn(["openbox"])
            wait_until(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.run(
                "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), "openbox")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.server(
            ["dbus-daemon", "--session", "--nofork", "--print-address={}"])
        if wayland:
            self.spawn(["mutter", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
                        "1024x768", "--wayland-display", "wayland-quillow"])
            self.socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "wayland-quillow")
            # Widgets drawn in shared memory: no graphics driver, which LeakSanitizer would see.
            self.env.update(WAYLAND_DISPLAY=self.socket, QT_QPA_PLATFORM="wayland",
                            QT_WAYLAND_CLIENT_BUFFER_INTEGRATION="none", WAYLAND_DEBUG="client")
        # The system interpreter, which has python3-dbus and python3-gi; it reports in its log.
        self.desktop = self.spawn(["/usr/bin/python3", os.path.dirname(__file__) + "/desktop.py"]
                                  + ["--x11"] * (not wayland), stdin=subprocess.PIPE, text=True)
        test.addCleanup(self.desktop.stdin.close)
        wait_until(lambda: self.called("ready"), "desktop.py")

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def dark_theme(self):
        # The dark palette that qt6ct gives Qt programs (its "darker" colour scheme).
        os.makedirs(self.env["XDG_CONFIG_HOME"] + "/qt6ct")
        with open(self.env["XDG_CONFIG_HOME"] + "/qt6ct/qt6ct.conf", "w") as f:
            f.write("[Appearance]\ncustom_palette=true\nstyle=Fusion\n"
                    "color_scheme_path=/usr/share/qt6ct/colors/darker.conf\n")
        self.env["QT_QPA_PLATFORMTHEME"] = "qt6ct"

    def screen_reader(self):
        # Orca on a session bus of its own, without a speech synthesizer (the spawn command of
        # speech-dispatcher's client fails at once). It writes its debug log to a terminal, which
        # it does line by line; spoken() reads what it said there.
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.server(
            ["dbus-daemon", "--session", "--nofork", "--print-address={}"])
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        terminal, self.orca_log = os.openpty(), b""

        def read():
            while chunk := os.read(terminal[0], 65536):
                self.orca_log += chunk
        threading.Thread(target=read, daemon=True).start()
        orca = self.spawn(["orca", "--debug-file=" + os.ttyname(terminal[1])],
                          env=dict(self.env, SPEECHD_CMD="/bin/false"))
        self.test.addCleanup(orca.kill)  # it does not always end on SIGTERM
        wait_until(lambda: "Screen reader on." in self.spoken(), "Orca")

    def spoken(self):
        return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", self.orca_log.decode(errors="replace"))

    def screenshot(self, window, x, y, width, height):
        # The colours of an area of the window, in pixels from its top-left corner, most used first.
        ppm = subprocess.run(["import", "-window", window, "-crop", "%dx%d+%d+%d" % (
            width, height, x, y), "ppm:-"], env=self.env, capture_output=True).stdout
        pixels = ppm[len(b"".join(ppm.split(b"\n", 3)[:3])) + 3:]
        colours = [tuple(pixels[i:i + 3]) for i in range(0, len(pixels), 3)]
        return sorted(set(colours), key=colours.count, reverse=True)

    def user(self, name):
        # The home, settings, runtime and temporary folders of a user of its own.
        home = self.path(name)
        for folder in ("run", "tmp", ".config/Brightfen"):
            os.makedirs(os.path.join(home, folder), mode=0o700)
        return dict(HOME=home, XDG_CONFIG_HOME=home + "/.config", TMPDIR=home + "/tmp",
                    XDG_DATA_HOME=home + "/.local/share", XDG_RUNTIME_DIR=home + "/run")

    def other_user(self, name):
        # The session's environment for another user, whose recent file is a deck of its own
        # (not the build tree's default file, which other tests open too).
        env = dict(self.env, **self.user(name))
        qld.make(env["HOME"] + "/own.qld", [("Q", "a")])
        with open(env["XDG_CONFIG_HOME"] + "/Brightfen/Quillow.conf", "w") as f:
            f.write("[Recent%%20QLD%%20File]\nFile1=%s/own.qld\n" % env["HOME"])
        return env

    def deck(self, name, cards, **fields):
        # A deck in the session's folder, made the user's recent file.
        qld.make(self.path(name), cards, **fields)
        with open(self.settings, "w") as f:
            f.write("[Recent%%20QLD%%20File]\nFile1=%s\n" % self.path(name))
        return self.path(name)

    def spawn(self, command, **options):
        with open(self.path("%d.log" % len(self.processes)), "wb") as out:
            self.processes.append(subprocess.Popen(command, start_new_session=True, **{
                "env": self.env, "stdout": out, "stderr": out, "cwd": self.path("."), **options}))
        self.processes[-1].log = out.name
        return self.processes[-1]

    def server(self, command):
        # Starts a server that writes a line ({} in its command: the file descriptor); the line.
        read_end, write_end = os.pipe()
        self.spawn([word.format(write_end) for word in command], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as line:
            return line.readline().strip()

    def start(self, env=None):
        return self.spawn([os.environ["QUILLOW_EXECUTABLE"]], env=env or self.env)

    def close(self):
        for process in self.processes[::-1]:
            process.terminate()
            process.wait()
        self.folder.cleanup()

    # On X: the quiz window of a program started on a deck, driven as a user would.

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True).stdout

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def windows(self, name=None):
        # The shown top-level windows (of this name), from the top of the stack down.
        return [w for w, n in re.findall(r'^\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): ',
                                         self.run("xwininfo", "-root", self.tree), re.M)
                if name in (None, n) and self.shown(w)]

    def shown(self, window):
        return "IsViewable" in self.run("xwininfo", "-id", window)

    def focused(self):
        return hex(int(self.xdotool("getwindowfocus") or 0))

    def focus(self, window):
        self.xdotool("windowfocus", window)
        return wait_until(lambda: self.focused() == window and window, "the keyboard on " + window)

    def key(self, *keys, window=None):
        self.focus(window or self.window)
        self.xdotool("key", *keys)

    def click(self, window, x, y):
        # A click at a point of the window, in pixels from its top-left corner.
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")

    def quiz(self, deck):
        self.deck_path, self.program = deck, self.start()
        self.window = wait_until(lambda: self.windows(caption(deck)), "the window of " + deck)[0]

    def answer(self, text):
        self.focus(self.window)
        self.xdotool("type", text)
        self.xdotool("key", "Return")

    def answer_counted(self, text, number):
        # Answers, and waits for the answer counted in the file for this record.
        count = lambda: qld.counts(qld.read(self.deck_path))[number]
        before = count()
        self.answer(text)
        wait_until(lambda: count() == before + 1, "%r counted for record %d" % (text, number))

    def dialog(self, title):
        return self.focus(wait_until(lambda: self.windows(title), "the window " + title)[0])

    def dismiss(self, window):
        self.key("Return", window=window)
        wait_until(lambda: not self.shown(window), "window %s to close" % window)

    def menu(self, downs, title):
        # The dialog that the Function menu's item, this many Down presses down, opens.
        self.key("F9")
        wait_until(lambda: self.windows("Quillow"), "the menu")
        self.xdotool("key", *["Down"] * downs, "Return")
        return self.dialog(title)

    # On Wayland: desktop.py's stand-ins and the launcher.

    def send(self, *words):
        # A line to desktop.py (its heading lists them).
        self.desktop.stdin.write(" ".join(map(str, words)) + "\n")
        self.desktop.stdin.flush()

    def called(self, name):
        with open(self.desktop.log) as log:
            return [json.loads(line) for line in log if line.startswith('{"call": "%s"' % name)]

    def launch_token(self, token):
        # Tells mutter, as GNOME's launcher does (gtk_shell1.notify_launch), that a program
        # starts with this startup id: an activation token that mutter honours with the keyboard.
        def send(target, opcode, *args):  # a request with uint and string arguments
            payload = b"".join(struct.pack("<I", a) if isinstance(a, int) else struct.pack(
                "<I", len(a) + 1) + a.encode() + bytes(4 - len(a) % 4) for a in args)
            wayland.sendall(struct.pack("<II", target, 8 + len(payload) << 16 | opcode) + payload)

        def round_trip(callback):  # wl_display.sync: the events up to its callback's done
            send(1, 0, callback)
            events = b""
            while struct.pack("<II", callback, 12 << 16) not in events:
                events += wayland.recv(65536)
            return events
        with socket.socket(socket.AF_UNIX) as wayland:
            wayland.connect(self.socket)
            send(1, 1, 2)  # wl_display.get_registry as object 2
            events = round_trip(3)
            at = events.index(b"\x0b\0\0\0gtk_shell1\0") - 4  # the global's name
            send(2, 0, *struct.unpack_from("<I", events, at), "gtk_shell1", 3, 4)  # bind as 4
            send(4, 3, token)  # gtk_shell1.notify_launch
            round_trip(5)


class XTest(unittest.TestCase):
    def setUp(self):
        self.session = Session(self)


class Traffic:
    # A program's Wayland traffic (WAYLAND_DEBUG): how many toplevels it shows, whether it has
    # the keyboard, the activation tokens it presented.

    def __init__(self, program):
        with open(program.log, errors="replace") as log:
            calls = re.findall(r'(\w+)@\d+\.(\w+)\("?([^",)]*)', log.read())
        pairs = [c[:2] for c in calls]
        self.shown = pairs.count(("xdg_surface", "get_toplevel")) - pairs.count(
            ("xdg_toplevel", "destroy"))
        self.focused = [c[1] for c in calls if c[0] == "wl_keyboard"
                        and c[1] in ("enter", "leave")][-1:] == ["enter"]
        self.activations = [c[2] for c in calls if c[:2] == ("xdg_activation_v1", "activate")]
