# The program killed with SIGKILL at a few random moments of a drill: the data file stays sound
# and keeps every answer that the program had processed (QUILLOW_E2E_SEED picks other moments).
import os
import pathlib
import random
import threading

import qld
from harness import XTest, caption, wait_until


class CrashTest(XTest):
    def test_killed_at_random_moments(self):
        seed = int(os.environ.get("QUILLOW_E2E_SEED", "20240607"))
        rng, cards = random.Random(seed), [("Q%d" % n, "ok") for n in range(400)]
        deck = self.session.deck("deck.qld", cards, review_mode=0, range_to=399)
        answered = lambda: sum(qld.counts(qld.read(deck)))
        counted = 0
        for round_ in range(5):
            where = "seed %d, round %d" % (seed, round_)
            program = self.session.start()
            self.session.focus(self.session.await_window(caption(deck), program))
            threading.Timer(rng.uniform(0.2, 1.5), program.kill).start()
            sent, start = 0, counted
            while program.poll() is None:  # answer until killed
                self.session.xdotool("type", "ok")
                self.session.xdotool("key", "Return")
                sent += 1
                wait_until(lambda: program.poll() is not None or answered() > counted, where)
                counted = max(counted, answered())
            data = pathlib.Path(deck).read_bytes()
            self.assertEqual(qld.problems(data), [], where)
            self.assertGreaterEqual(sum(qld.counts(qld.parse(data))), counted, where)
            self.assertLessEqual(sum(qld.counts(qld.parse(data))), start + sent, where)
            counted = sum(qld.counts(qld.parse(data)))
        self.assertGreater(counted, 5, "too few answers reached the file")
