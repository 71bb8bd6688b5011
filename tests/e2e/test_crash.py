"""The program killed with SIGKILL at random moments of a drill: the data file stays sound and
keeps every answer that the program had processed."""
import os
import random
import subprocess
import sys
import threading
import time
import unittest

import qld
from harness import DisplayTest, Failure, caption, wait_until

ROUNDS = 50
CARDS = 400  # a pass of 2400 questions: far more than the drill answers


class CrashTest(DisplayTest):
    def drill(self, program, rng, counted):
        """Answers (and now and then skips) questions until the program dies; returns how many
        answers were sent. counted follows the counts on disk as they go up."""
        sent = 0
        try:
            while program.running():
                if rng.random() < 0.2:
                    self.session.key("F8")
                else:
                    self.session.type("ok")
                    sent += 1
                    self.session.key("Return")
                    before = sum(counted)

                    def processed():
                        now = qld.counts(qld.read(self.deck))
                        if sum(now) > before:
                            counted[:] = now
                            return True
                        return not program.running()
                    wait_until(processed, 30, "the answer to be counted")
                time.sleep(rng.uniform(0, 0.05))
        except (Failure, subprocess.SubprocessError):
            if program.running():
                raise
        return sent

    def test_killed_at_random_moments_keeps_every_processed_answer(self):
        seed = int(os.environ.get("QUILLOW_E2E_SEED", "20240607"))
        sys.stderr.write("crash test seed %d (QUILLOW_E2E_SEED sets another)\n" % seed)
        rng = random.Random(seed)
        delays = [rng.uniform(0, 1.2) for _ in range(ROUNDS)]
        self.deck = self.session.deck("deck.qld", [("Q%d" % (i + 1), "ok") for i in range(CARDS)],
                                      review_mode=0, range_to=CARDS - 1)
        counted, answers = [0] * CARDS, 0
        for round_ in range(ROUNDS + 1):
            program = self.session.start()
            window = program.await_window(caption(self.deck))
            if round_ == ROUNDS:
                break
            self.session.focus(window)
            delay = delays[round_]
            killer = threading.Timer(delay, program.process.kill)
            killer.start()
            start = list(counted)
            try:
                sent = self.drill(program, rng, counted)
            finally:
                killer.cancel()
                program.kill()
            with open(self.deck, "rb") as f:
                data = f.read()
            what = "round %d, killed after %.3f s" % (round_, delay)
            self.assertEqual(qld.problems(data), [], what)
            now = qld.counts(qld.parse(data))
            lost = [i for i in range(CARDS) if now[i] < counted[i]]
            self.assertEqual(lost, [], "%s: counts lost for these records" % what)
            self.assertLessEqual(sum(now), sum(start) + sent, "%s: more counts than answers"
                                 % what)
            counted, answers = now, answers + sent
        sys.stderr.write("%d answers sent, %d counted\n" % (answers, sum(counted)))
        self.assertEqual(program.terminate(), 0)
        with open(self.deck, "rb") as f:
            self.assertEqual(qld.problems(f.read()), [])
        self.assertGreater(sum(counted), ROUNDS // 5, "too few answers reached the file")


if __name__ == "__main__":
    unittest.main()
