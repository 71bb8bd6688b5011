"""The installed program (QUILLOW_EXECUTABLE) started by a user of its own: the starter deck
(QUILLOW_STARTER) becomes the user's data file without a message, and a drill on it counts."""
import os
import subprocess
import unittest

import qld
from harness import APP_CAPTION, DisplayTest, Quiz


class FirstStartTest(DisplayTest):
    def test_first_start_makes_the_data_file_from_the_starter_deck(self):
        data = os.path.join(self.session.data, "Brightfen", "Quillow", "Quillow.qld")
        starter = qld.read(os.environ["QUILLOW_STARTER"])["records"]
        quiz = Quiz(self.session, data)
        self.assertEqual(self.session.windows_named(APP_CAPTION), [], "a message at the start")
        quiz.answer_counted(starter[0]["answer"], 0)
        self.assertEqual(quiz.program.terminate(), 0)
        self.assertEqual(self.session.setting("File1"), data)
        qld_tool = os.path.join(os.path.dirname(os.environ["QUILLOW_EXECUTABLE"]), "qld")
        subprocess.run([qld_tool, "check", data], check=True, stdout=subprocess.DEVNULL)
        self.assertEqual([(r["question"], r["answer"]) for r in qld.read(data)["records"]],
                         [(r["question"], r["answer"]) for r in starter])


if __name__ == "__main__":
    unittest.main()
