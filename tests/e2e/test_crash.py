"""The program killed with SIGKILL at a few random moments of a drill: the data file stays sound
and keeps every answer that the program had processed."""
import os
import random
import sys
import threading
import unittest

import qld
from harness import DisplayTest, Failure, caption, wait_until

ROUNDS, CARDS = 5, 400


class CrashTest(DisplayTest):
    def test_killed_at_random_moments_keeps_every_processed_answer(self):
        seed = int(os.environ.get("QUILLOW_E2E_SEED", "20240607"))
        sys.stderr.write("crash test seed %d (QUILLOW_E2E_SEED sets another)\n" % seed)
        rng = random.Random(seed)
        deck = self.session.deck("deck.qld", [("Q%d" % (i + 1), "ok") for i in range(CARDS)],
                                 review_mode=0, range_to=CARDS - 1)
        counted = [0] * CARDS
        for round_ in range(ROUNDS):
            program = self.session.start()
            self.session.focus(program.await_window(caption(deck)))
            threading.Timer(rng.uniform(0.2, 1.5), program.process.kill).start()
            start, sent = counted, 0
            try:
                while program.running():  # answer until killed
                    before = sum(counted)
                    self.session.type("ok")
                    self.session.key("Return")
                    sent += 1

                    def processed():
                        now = qld.counts(qld.read(deck))
                        return now if sum(now) > before else not program.running()
                    now = wait_until(processed, 30, "the answer to be counted")
                    if now is not True:
                        counted = now
            except Failure:
                if program.running():
                    raise
            program.kill()
            with open(deck, "rb") as f:
                data = f.read()
            self.assertEqual(qld.problems(data), [], "round %d" % round_)
            now = qld.counts(qld.parse(data))
            self.assertEqual([i for i in range(CARDS) if now[i] < counted[i]], [],
                             "round %d: counts lost for these records" % round_)
            self.assertLessEqual(sum(now), sum(start) + sent, "more counts than answers")
            counted = now
        self.assertGreater(sum(counted), ROUNDS, "too few answers reached the file")


if __name__ == "__main__":
    unittest.main()
