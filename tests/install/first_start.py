# The installed program (QUILLOW_EXECUTABLE) started by a user of its own: the starter deck
# (QUILLOW_STARTER) becomes the user's data file (a message would block the answer), and an
# answer counts in it.
import os

import qld
from harness import XTest, terminate


class FirstStartTest(XTest):
    def test_first_start_copies_the_starter_deck(self):
        data = os.path.join(self.session.env["XDG_DATA_HOME"], "Brightfen", "Quillow",
                            "Quillow.qld")
        starter = qld.read(os.environ["QUILLOW_STARTER"])["records"]
        self.session.quiz(data)
        self.session.answer_counted(starter[0]["answer"], 0)
        self.assertEqual(terminate(self.session.program), 0)
        self.assertEqual([(r["question"], r["answer"]) for r in qld.read(data)["records"]],
                         [(r["question"], r["answer"]) for r in starter])
