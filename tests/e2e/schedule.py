"""A model of the review schedule, written from its rules, to predict which question the program
asks next."""

OFFSETS = [
    [0, 1, 3, 6, 11, 18],
    [0, 2, 5, 11, -1, -1],
    [0, 3, -1, -1, -1, -1],
    [0, -1, -1, -1, -1, -1],
]
SPAN = [18, 11, 3, 0]


class Schedule:
    def __init__(self, header):
        self.position = header["position"]
        self.mode = header["reviewMode"]
        self.step_index = header["stepIndex"]
        self.first = header["rangeFrom"]
        self.last = header["rangeTo"]
        self.record_count = header["recordCount"]
        self.sequence = [-1] * 6
        self.next_slot = 0
        self.congratulations = 0

    @classmethod
    def loaded(cls, header):
        """The schedule as the program sets it up when it opens a file with this header."""
        s = cls(header)
        if not 0 <= s.first <= s.last < 1000 or not 0 <= s.mode <= 3:
            s.first, s.last, s.mode, s.step_index = 0, 19, 1, 0
        if not s.first <= s.position <= s.last:
            s.position = s.first
        s.compute()
        s.next_slot = s.step_index
        return s

    def compute(self):
        while True:
            self.sequence = [-1] * 6
            k = 0
            for d in OFFSETS[self.mode]:
                if d < 0:
                    continue
                q = self.position - d
                self.sequence[k] = q if self.first <= q <= self.last else -1
                k += 1
            due = [i for i, q in enumerate(self.sequence) if q >= 0]
            if due:
                self.next_slot = due[0]
                return
            if self.position > self.last + SPAN[self.mode]:
                self.congratulations += 1
                self.position = self.first
            else:
                self.position += 1
            self.step_index = 0
            self.next_slot = 0

    def next(self):
        """The record number of the question handed out next."""
        n = -1
        if self.next_slot <= 5:
            n = self.sequence[self.next_slot]
            while n < 0:
                self.next_slot += 1
                if self.next_slot >= 6:
                    break
                n = self.sequence[self.next_slot]
        if n < 0:
            self.position += 1
            self.step_index = 0
            self.compute()
            n = self.sequence[self.next_slot]
        if n >= self.record_count:
            n = self.record_count
            self.record_count += 1
        self.step_index = self.next_slot
        self.next_slot += 1
        return n

    def go(self, number):
        """The go-to command with a one-based number inside the range."""
        self.position = number - 1
        self.compute()
