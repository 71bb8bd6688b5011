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
        counted = [0] * 400
        for round_ in range(5):
            where = "seed %d, round %d" % (seed, round_)
            program = self.session.start()
            self.session.focus(self.session.await_window(caption(deck), program))
            threading.Timer(rng.uniform(0.2, 1.5), program.kill).start()
            sent, start = 0, sum(counted)
            while program.poll() is None:  # answer until killed
                before = sum(counted)
                self.session.type("ok")
                self.session.key("Return")
                sent += 1

                def processed():
                    now = qld.counts(qld.read(deck))
                    return now if sum(now) > before else program.poll() is not None
                now = wait_until(processed, "an answer counted, " + where)
                counted = counted if now is True else now
            data = pathlib.Path(deck).read_bytes()
            self.assertEqual(qld.problems(data), [], where)
            now = qld.counts(qld.parse(data))
            self.assertEqual([i for i in range(400) if now[i] < counted[i]], [],
                             "counts lost for these records, " + where)
            self.assertLessEqual(sum(now), start + sent, "more counts than answers, " + where)
            counted = now
        self.assertGreater(sum(counted), 5, "too few answers reached the file")
