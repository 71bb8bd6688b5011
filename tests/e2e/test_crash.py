# The program killed with SIGKILL at a few random moments of a drill: the data file stays sound
# and keeps every answer that the program had processed (QUILLOW_E2E_SEED picks other moments).
import os
import pathlib
import random
import threading

import qld
from harness import XTest, wait_until


class CrashTest(XTest):
    def test_killed_at_random_moments(self):
        session, seed = self.session, int(os.environ.get("QUILLOW_E2E_SEED", "20240607"))
        rng, cards = random.Random(seed), [("Q%d" % n, "ok") for n in range(400)]
        deck = session.deck("deck.qld", cards, review_mode=0, range_to=399)
        answered = lambda: sum(qld.counts(qld.read(deck)))
        counted = 0
        for round_ in range(5):
            where = "seed %d, round %d" % (seed, round_)
            session.quiz(deck)
            session.focus(session.window)
            threading.Timer(rng.uniform(0.2, 1.5), session.program.kill).start()
            sent, start = 0, counted
            while session.program.poll() is None:  # answer until killed
                session.xdotool("type", "ok")
                session.xdotool("key", "Return")
                sent += 1
                wait_until(lambda: session.program.poll() is not None or answered() > counted,
                           where)
                counted = max(counted, answered())
            data = pathlib.Path(deck).read_bytes()
            self.assertEqual(qld.problems(data), [], where)
            self.assertLessEqual(counted, answered(), where)
            self.assertLessEqual(answered(), start + sent, where)
            counted = answered()
        self.assertGreater(counted, 5, "too few answers reached the file")
