"""Runs the real program on a virtual X display of its own, as a private user, and drives it
through the X server with xdotool; or in a headless Wayland session of its own (GNOME's mutter on
a private session bus), driven through the compositor's remote-desktop keyboard and observed in
the program's Wayland traffic."""
import configparser
import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import threading
import time
import unittest

import qld

CAPTION_PREFIX = "Quillow V2.0 - "
SCREEN = "1024x768x24"
ANSWER_CAPTION = "The correct answer is..."
APP_CAPTION = "Quillow"
# Items of the Function menu, as Down presses from the top (separators are skipped).
MENU = {"Memory Schedule...": 1, "Option...": 2, "New QLD file...": 3, "Open QLD file...": 4}


class Failure(AssertionError):
    pass


def wait_until(condition, timeout, what, interval=0.02):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure("timed out after %.1f s: %s" % (timeout, what))
        time.sleep(interval)


def caption(deck):
    return CAPTION_PREFIX + os.path.basename(deck)


def read_fd_line(read_end, what):
    """The first line written to the pipe by a starting server (nothing if it ended)."""
    with os.fdopen(read_end) as pipe:
        line = pipe.readline().strip()
    if not line:
        raise Failure("%s did not start" % what)
    return line


class Session:
    """A private user (home, settings, runtime and temporary folders) and an X display of its
    own, optionally with a tray host."""

    def __init__(self, tray=False):
        self.root = tempfile.mkdtemp(prefix="quillow-e2e-")
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.runtime, tmp = self.path("runtime"), self.path("tmp")
        for folder in (os.path.join(self.config, "Brightfen"), self.runtime, tmp):
            os.makedirs(folder, mode=0o700)
        self.settings = os.path.join(self.config, "Brightfen", "Quillow.conf")
        self.programs = []
        self.xvfb = self.trayer = None
        self.env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "WAYLAND_", "DBUS_", "GTK_", "GNOME_", "KDE_"))
               and k not in ("DISPLAY", "DESKTOP_SESSION", "SESSION_MANAGER", "XAUTHORITY")}
        self.env.update(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                        XDG_RUNTIME_DIR=self.runtime, TMPDIR=tmp, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        try:
            self._start_display()
            if tray:
                self._start_tray()
        except BaseException:
            self.close()
            raise

    def _start_display(self):
        # -displayfd lets the server pick a free display without racing other servers.
        read_end, write_end = os.pipe()
        with open(os.path.join(self.root, "xvfb.log"), "wb") as log:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten",
                 "tcp", "-noreset"],
                pass_fds=(write_end,), env=self.env, stdout=subprocess.DEVNULL, stderr=log,
                start_new_session=True)
        os.close(write_end)
        self.env["DISPLAY"] = ":" + read_fd_line(read_end, "Xvfb")

    def _start_tray(self):
        self.trayer = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "24"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        wait_until(lambda: self.xdotool("search", "--classname", "^trayer$", check=False).strip(),
                   30, "the tray host's window")

    def path(self, name):
        return os.path.join(self.root, name)

    def deck(self, name, cards, **fields):
        """A deck in the session's folder, made the recent file of the settings."""
        path = self.path(name)
        qld.make(path, cards, **fields)
        with open(self.settings, "w") as f:
            f.write("[Recent%%20QLD%%20File]\nFile1=%s\n" % path)
        return path

    def setting(self, entry):
        """An entry of the settings' "Recent QLD File" group, or None."""
        settings = configparser.ConfigParser(interpolation=None)
        settings.optionxform = str
        settings.read(self.settings)
        return settings.get("Recent%20QLD%20File", entry, fallback=None)

    def run(self, *command, check=True, timeout=30):
        done = subprocess.run(command, env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout)
        if check and done.returncode != 0:
            raise Failure("%s ended with %d: %s" % (" ".join(command), done.returncode,
                                                    done.stderr.decode(errors="replace")))
        return done.stdout.decode(errors="replace")

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check)

    def top_windows(self):
        """The top-level windows and their names, from the top of the stack to its bottom."""
        out = self.run("xwininfo", "-root", "-children")
        return [(int(w, 16), name) for w, name in
                re.findall(r'^\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): ', out, re.M)]

    def windows_named(self, name):
        """The viewable top-level windows of this name."""
        return [w for w, n in self.top_windows()
                if n == name and self.map_state(w) == "IsViewable"]

    def stacking(self):
        """The top-level windows from the bottom of the stack to its top."""
        return [w for w, _ in self.top_windows()][::-1]

    def map_state(self, window):
        out = self.run("xwininfo", "-id", str(window), check=False)
        match = re.search(r"Map State:\s*(\S+)", out)
        return match.group(1) if match else None

    def tray_icon(self):
        """The program's icon embedded in the tray host, or None."""
        out = self.run("xwininfo", "-root", "-tree")
        top = set(self.stacking())
        icons = [int(w, 16) for w in
                 re.findall(r'^\s+(0x[0-9a-f]+) "Quillow": \("quillow" "Quillow"\)', out, re.M)
                 if int(w, 16) not in top]
        return icons[0] if icons else None

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", "--shell", str(window))
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def focused(self):
        out = self.xdotool("getwindowfocus", check=False).strip()
        return int(out) if out.isdigit() else None

    def await_window(self, name, what):
        return wait_until(lambda: self.windows_named(name), 30, what)[0]

    def await_state(self, window, state, what):
        wait_until(lambda: self.map_state(window) == state, 30, what)

    def await_gone(self, window, what):
        wait_until(lambda: self.map_state(window) != "IsViewable", 30, what)

    def focus(self, window):
        """Gives the window the keyboard, as a click on it would."""
        if self.focused() != window:
            self.xdotool("windowfocus", str(window))
            wait_until(lambda: self.focused() == window, 30, "the focus on window %d" % window)

    def type(self, text):
        self.xdotool("type", "--delay", "12", "--", text)

    def key(self, *keys):
        self.xdotool("key", "--delay", "20", *keys)

    def click(self, window, x, y, button=1):
        """A click at a point of the window, in pixels from its top-left corner."""
        # One connection: the server moves the pointer before it presses the button. (--sync
        # would wait for ever when the pointer is there already.)
        self.xdotool("mousemove", "--window", str(window), str(x), str(y), "click", str(button))

    # -- the program ------------------------------------------------------------------------

    def start(self, env=None):
        program = Program(self, os.path.abspath(os.environ["QUILLOW_EXECUTABLE"]), env)
        self.programs.append(program)
        return program

    def close(self):
        for program in self.programs:
            program.kill()
        for process in (self.trayer, self.xvfb):
            stop(process)
        shutil.rmtree(self.root, ignore_errors=True)


def stop(process):
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class WaylandSession(Session):
    """A private user in a headless Wayland session of its own: GNOME's compositor (mutter,
    without X11) with a virtual monitor, on a private session bus with the desktop's stand-ins
    (desktop.py: a notification server, and the keyboard typed through the compositor's
    remote-desktop API). The programs started here speak Wayland natively and print their
    Wayland traffic (WAYLAND_DEBUG) into their logs, which Traffic reads."""

    # python3-dbus and python3-gi are the system interpreter's packages.
    SYSTEM_PYTHON = "/usr/bin/python3"

    def __init__(self):
        self.bus = self.desktop = self.mutter = None
        self.notices = []
        self.typed = threading.Semaphore(0)
        super().__init__(tray=False)

    def _start_display(self):
        for key in ("DISPLAY", "XAUTHORITY"):
            self.env.pop(key, None)
        read_end, write_end = os.pipe()
        self.bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile",
             "--print-address=%d" % write_end],
            pass_fds=(write_end,), env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = read_fd_line(read_end, "dbus-daemon")
        with open(self.path("mutter.log"), "wb") as log:
            self.mutter = subprocess.Popen(
                ["mutter", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
                 SCREEN.rsplit("x", 1)[0], "--wayland-display", "wayland-quillow"],
                env=self.env, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        socket_path = os.path.join(self.runtime, "wayland-quillow")
        wait_until(lambda: os.path.exists(socket_path) or self.mutter.poll() is not None, 30,
                   "the compositor's socket")
        if self.mutter.poll() is not None:
            raise Failure("mutter ended with %d" % self.mutter.returncode)
        # The widgets draw in shared memory: without Qt's EGL buffer integration no graphics
        # driver is loaded, whose library, unloaded at the end, LeakSanitizer cannot tell apart.
        self.env.update(WAYLAND_DISPLAY="wayland-quillow", QT_QPA_PLATFORM="wayland",
                        QT_WAYLAND_CLIENT_BUFFER_INTEGRATION="none", WAYLAND_DEBUG="client")
        wait_until(self._desktop_started, 30, "the compositor's remote-desktop service")

    def _desktop_started(self):
        """Starts desktop.py; false when the compositor's services are not on the bus yet."""
        self.desktop = subprocess.Popen(
            [self.SYSTEM_PYTHON, os.path.join(os.path.dirname(__file__), "desktop.py")],
            env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
            start_new_session=True)
        first = json.loads(self.desktop.stdout.readline() or "{}")
        if first.get("call") != "ready":
            stop(self.desktop)
            self.desktop.stdin.close()
            self.desktop.stdout.close()
            self.desktop = None
            return False

        def read(stdout):
            for line in stdout:
                call = json.loads(line)
                if call["call"] == "typed":
                    self.typed.release()
                else:
                    self.notices.append(call)
        threading.Thread(target=read, args=(self.desktop.stdout,), daemon=True).start()
        return True

    def send(self, *words):
        """A line to desktop.py (its docstring lists them)."""
        self.desktop.stdin.write(" ".join(str(word) for word in words) + "\n")
        self.desktop.stdin.flush()

    def calls(self, *names):
        """What the desktop's stand-ins reported so far, of these kinds."""
        return [call for call in list(self.notices) if call["call"] in names]

    def launch_token(self, name):
        """An activation token as the desktop's launcher makes one (gtk_shell1.notify_launch):
        one that the compositor honours with the focus."""
        announce_launch(os.path.join(self.runtime, self.env["WAYLAND_DISPLAY"]), name)
        return name

    def other_user_env(self, deck):
        """The environment of another application in this session: a Quillow of a user of its
        own on this deck, which the single instance does not join to this user's."""
        home = self.path("other")
        runtime = self.path("other-runtime")
        os.makedirs(os.path.join(home, ".config", "Brightfen"))
        os.makedirs(runtime, mode=0o700)
        with open(os.path.join(home, ".config", "Brightfen", "Quillow.conf"), "w") as f:
            f.write("[Recent%%20QLD%%20File]\nFile1=%s\n" % deck)
        return dict(self.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                    XDG_DATA_HOME=os.path.join(home, ".local", "share"), XDG_RUNTIME_DIR=runtime,
                    WAYLAND_DISPLAY=os.path.join(self.runtime, self.env["WAYLAND_DISPLAY"]))

    def key(self, *keys):
        keysyms = [KEYSYMS.get(key) or ord(key) for key in keys]
        self.send("keys", *keysyms)
        if not self.typed.acquire(timeout=30):
            raise Failure("the keys %s were not typed" % (keys,))

    def type(self, text):
        self.key(*text)

    def close(self):
        for program in self.programs:
            program.kill()
        if self.desktop:
            self.desktop.stdin.close()
        for process in (self.desktop, self.mutter, self.bus):
            stop(process)
        if self.desktop:
            self.desktop.stdout.close()
        shutil.rmtree(self.root, ignore_errors=True)


KEYSYMS = {"Return": 0xff0d, "Escape": 0xff1b}


def announce_launch(socket_path, startup_id):
    """Tells mutter, as GNOME's launcher does, that a program starts with this startup id, which
    the program then presents as its activation token. Speaks the Wayland wire protocol: the
    registry, gtk_shell1.notify_launch, and a round trip."""
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    connection.connect(socket_path)
    received = b""

    def send(target, opcode, payload=b""):
        connection.sendall(struct.pack("<II", target, ((8 + len(payload)) << 16) | opcode)
                           + payload)

    def text(value):
        data = value.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

    def round_trip(callback, on_event):
        nonlocal received
        send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            while len(received) >= 8:
                target, word = struct.unpack_from("<II", received)
                if len(received) < word >> 16:
                    break
                body, received = received[8:word >> 16], received[word >> 16:]
                if target == 1 and word & 0xffff == 0:
                    raise Failure("Wayland error: %r" % body)
                if target == callback:
                    return
                on_event(target, word & 0xffff, body)
            chunk = connection.recv(65536)
            if not chunk:
                raise Failure("the compositor closed the connection")
            received += chunk

    globals_ = {}

    def on_global(target, opcode, body):
        if target == 2 and opcode == 0:  # wl_registry.global
            name, length = struct.unpack_from("<II", body)
            interface = body[8:8 + length - 1].decode()
            version_at = 8 + length + (-length % 4)
            globals_[interface] = (name, struct.unpack_from("<I", body, version_at)[0])
    try:
        send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry
        round_trip(3, on_global)
        name, version = globals_["gtk_shell1"]
        # wl_registry.bind as gtk_shell1 (notify_launch came in version 3) to object 4
        send(2, 0, struct.pack("<I", name) + text("gtk_shell1")
             + struct.pack("<II", min(version, 3), 4))
        send(4, 3, text(startup_id))  # gtk_shell1.notify_launch
        round_trip(5, lambda *event: None)
    finally:
        connection.close()


class Traffic:
    """The program's Wayland traffic (WAYLAND_DEBUG=client in its log), replayed: its toplevel
    windows now with their titles, how often a window of each title was mapped, the surface that
    has the keyboard, the activation tokens it presented and the minimise requests it made."""
    LINE = re.compile(r"^\[\s*[\d.]+\]\s+(->\s+)?(\w+)@(\d+)\.(\w+)\((.*)\)\s*$")

    def __init__(self, log_path):
        self.toplevels = {}
        self.focus = None
        self.activations = []
        self.minimised = 0
        self.mapped = {}
        xdg_surfaces = {}
        with open(log_path, errors="replace") as f:
            for line in f:
                match = self.LINE.match(line)
                if not match:
                    continue
                _, interface, number, message, args = match.groups()
                number = int(number)
                if interface == "xdg_wm_base" and message == "get_xdg_surface":
                    ids = re.findall(r"@(\d+)", args)
                    xdg_surfaces[int(ids[0])] = int(ids[1])
                elif interface == "xdg_surface" and message == "get_toplevel":
                    self.toplevels[int(re.findall(r"@(\d+)", args)[0])] = {
                        "surface": xdg_surfaces.get(number), "title": None}
                elif interface == "xdg_toplevel" and number in self.toplevels:
                    if message == "set_title":
                        title = json.loads(args)
                        if self.toplevels[number]["title"] is None:
                            self.mapped[title] = self.mapped.get(title, 0) + 1
                        self.toplevels[number]["title"] = title
                    elif message == "destroy":
                        del self.toplevels[number]
                    elif message == "set_minimized":
                        self.minimised += 1
                elif interface == "wl_keyboard" and message == "enter":
                    surface = re.search(r"wl_surface@(\d+)", args)
                    self.focus = int(surface.group(1)) if surface else None
                elif interface == "wl_keyboard" and message == "leave":
                    self.focus = None
                elif interface == "xdg_activation_v1" and message == "activate":
                    self.activations.append(re.match(r'"(.*?)"', args).group(1))

    def windows(self, title):
        return [t["surface"] for t in self.toplevels.values() if t["title"] == title]

    def shown(self, title):
        return bool(self.windows(title))

    def focused(self, title):
        return self.focus is not None and self.focus in self.windows(title)


class Program:
    def __init__(self, session, executable, env=None):
        self.session = session
        self.log = open(session.path("program-%d.log" % len(session.programs)), "wb")
        self.process = subprocess.Popen([executable], env=env or session.env, cwd=session.root,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.pid = self.process.pid

    def running(self):
        return self.process.poll() is None

    def await_window(self, caption):
        def shown():
            if not self.running():
                raise Failure("the program ended with status %d before showing %r: %s"
                              % (self.process.returncode, caption, self.output()))
            return self.session.windows_named(caption)
        return wait_until(shown, 30, "the window %r" % caption)[0]

    def output(self):
        with open(self.log.name, errors="replace") as f:
            return f.read()[-2000:]

    def terminate(self):
        """Ends the program as the session would (SIGTERM); returns its exit status."""
        self.process.send_signal(signal.SIGTERM)
        return self.process.wait(30)

    def kill(self):
        if self.running():
            self.process.kill()
        self.process.wait()
        self.log.close()


class Quiz:
    """The quiz window of a program started on a deck, driven by keys as a user would."""

    def __init__(self, session, deck):
        self.session, self.deck = session, deck
        self.program = session.start()
        self.window = self.program.await_window(caption(deck))

    def keys(self, *keys):
        self.session.focus(self.window)
        self.session.key(*keys)

    def answer(self, text):
        self.session.focus(self.window)
        if text:
            self.session.type(text)
        self.session.key("Return")

    def counts(self):
        return qld.counts(qld.read(self.deck))

    def answer_counted(self, text, number):
        """Answers and checks that the answer reached the file, counted for this record."""
        before = self.counts()
        self.answer(text)

        def changed():
            now = self.counts()
            return now if now != before else None
        now = wait_until(changed, 30, "a count for record %d" % number)
        expected = before + [0] * (len(now) - len(before))
        expected[number] += 1
        if now != expected:
            raise Failure("counts went from %s to %s; record %d was due" % (before, now, number))
        return now

    def close_box(self, title=APP_CAPTION, key="Return"):
        """Answers the message box of this title with a key and waits for it to close."""
        box = self.session.await_window(title, what="a message box %r" % title)
        self.session.focus(box)
        self.session.key(key)
        self.session.await_gone(box, "the message box %r to close" % title)

    def menu(self, item, dialog):
        """Chooses an item of the Function menu (F9) and returns the dialog that it opens."""
        self.keys("F9")
        menu = self.session.await_window(APP_CAPTION, what="the Function menu")
        self.session.key(*["Down"] * MENU[item], "Return")
        self.session.await_gone(menu, "the Function menu to close")
        return self.dialog(dialog)

    def dialog(self, title):
        window = self.session.await_window(title, what="the dialog %r" % title)
        self.session.focus(window)
        return window


class DisplayTest(unittest.TestCase):
    """A test on a session of its own."""
    tray = False

    def setUp(self):
        self.session = Session(tray=self.tray)
        self.addCleanup(self.session.close)
