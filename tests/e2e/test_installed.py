"""The installed program: an install of the build into a temporary prefix, and a short drill from
PREFIX/bin/quillow on the default data file in the user's data folder."""
import os
import subprocess
import unittest

import qld
from harness import DisplayTest, Failure, Quiz, wait_until


def listing(folder):
    return sorted((os.path.relpath(os.path.join(top, name), folder),
                   os.lstat(os.path.join(top, name)).st_size)
                  for top, _, names in os.walk(folder) for name in names)


class InstalledTest(DisplayTest):
    tray = True

    def install(self):
        build = os.environ.get("QUILLOW_BUILD_DIR")
        if not build or not os.path.isdir(build):
            raise Failure("QUILLOW_BUILD_DIR does not name the build folder: %r" % build)
        prefix = self.session.path("prefix")
        # The install writes its list of files into the build folder: keep that of a real one.
        manifest = os.path.join(build, "install_manifest.txt")
        kept = None
        if os.path.exists(manifest):
            with open(manifest, "rb") as f:
                kept = f.read()
        try:
            done = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        finally:
            if kept is None:
                if os.path.exists(manifest):
                    os.remove(manifest)
            else:
                with open(manifest, "wb") as f:
                    f.write(kept)
        if done.returncode != 0:
            raise Failure("cmake --install failed: %s" % done.stdout.decode(errors="replace"))
        return prefix

    def test_installed_program_drills_on_the_default_data_file(self):
        prefix = self.install()
        installed = listing(prefix)
        deck = os.path.join(self.session.data, "Brightfen", "Quillow", "Quillow.qld")
        os.makedirs(os.path.dirname(deck))
        qld.make(deck, qld.numbered_cards(3))

        quiz = Quiz(self.session, deck, os.path.join(prefix, "bin", "quillow"))
        quiz.answer_counted("A1", 0)
        icon = wait_until(self.session.tray_icon, 30, "the tray icon")
        quiz.keys("Escape")
        self.session.await_state(quiz.window, "IsUnMapped", "Escape to hide the window")
        _, _, width, height = self.session.geometry(icon)
        self.session.click(icon, width // 2, height // 2)
        self.session.await_state(quiz.window, "IsViewable", "the window to come back on a click")
        quiz.answer_counted("A2", 1)
        self.assertEqual(quiz.program.terminate(), 0)

        self.assertEqual(self.session.setting("File1"), deck)
        with open(deck, "rb") as f:
            self.assertEqual(qld.problems(f.read()), [])
        self.assertEqual(listing(prefix), installed, "the program wrote into its install")


if __name__ == "__main__":
    unittest.main()
