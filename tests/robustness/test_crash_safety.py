"""Crash safety of the rotation cascade: SIGKILL at random moments of a long rotation.

The directory holds a live log and copies in every slot from 1 to COPIES, each with its own
content, and the tool rotates it with Max-Anzahl COPIES. The run is killed with SIGKILL after a
random delay; afterwards

  - no generation may be duplicated, and none lost but the one in the top slot;
  - the directory must be exactly the model's state after some prefix of the cascade's operations
    (delete slot COPIES, rename COPIES - 1 to COPIES, ..., rename 1 to 2, rename the live log to 1);
  - a run killed before it ended may not exit 0, and one that exited 0 has done everything;
  - a further, uninterrupted run on what the killed one left must do what the model says, which
    also shows that nothing of the killed run (its rotation lock included) outlives it.

The delays come from uninterrupted runs on the same directory: how long a run takes that rotates
nothing (start-up and size check only), how long one takes that rotates, and how long its cascade
takes, from the top copy's delete to the live log's rename. A tenth of the kills fall early in the
start-up, a tenth after the end of a whole run, both counted from the start; the rest fall at a
random point of the cascade's duration, counted from the moment the test sees the top copy
deleted. The test prints where the kills landed and fails if too few landed mid-cascade, as it
would then prove little.

Environment:
  PELKWARDT_BIN          the executable under test (required)
  PELKWARDT_CRASH_SEED   seed of the kill delays (default: fixed)
  PELKWARDT_CRASH_KILLS  number of killed runs (default 150)
  PELKWARDT_CRASH_COPIES copies in the directory, and Max-Anzahl (default 400)
"""

import os
import random
import signal
import statistics
import subprocess
import sys
import tempfile
import time
import unittest

from test_cascade_model import (File, apply, build, cascade, env_int, linux_only, predict,
                                show_differences, slot_name, snapshot, tool_binary)

DEFAULT_SEED = 7331
DEFAULT_KILLS = 150
DEFAULT_COPIES = 400
TIMING_RUNS = 7
RUN_TIMEOUT = 60
LOG = "Vorbank.LOG"
MIN_MID_CASCADE_SHARE = 0.10  # of all kills


def generation(number):
    return File(f"generation {number:05d}\n".encode())


def full_directory(copies):
    state = {LOG: File(b"generation live\n")}
    for slot in range(1, copies + 1):
        state[slot_name(LOG, slot)] = generation(slot)
    return state


def prefix_states(before, operations):
    """The directory after each prefix of the operations that changes it, first the untouched one."""
    states = [dict(before)]
    for operation in operations:
        state = dict(states[-1])
        if apply(state, operation).endswith("done"):
            states.append(state)
    return states


def key(state):
    return frozenset(state.items())


def generation_problems(before, after, top_copy):
    """What is wrong with the generations in after: duplicates, losses other than top_copy,
    and contents that were never there."""
    problems = []
    had = [entry for entry in before.values() if isinstance(entry, File)]
    has = [entry.content for entry in after.values() if isinstance(entry, File)]
    duplicated = sorted({content for content in has if has.count(content) > 1})
    lost = sorted({entry.content for entry in had} - set(has) - {top_copy.content})
    foreign = sorted(set(has) - {entry.content for entry in had})
    if duplicated:
        problems.append(f"duplicated generations: {duplicated[:10]}")
    if lost:
        problems.append(f"lost generations other than the top copy: {lost[:10]}")
    if foreign:
        problems.append(f"contents that were never there: {foreign[:10]}")
    return problems


@linux_only
class CrashSafetyTest(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self.binary = tool_binary()
        self.copies = env_int("PELKWARDT_CRASH_COPIES", DEFAULT_COPIES)
        self.before = full_directory(self.copies)
        self.args = [LOG, str(self.copies), "0", "0"]
        self.states = prefix_states(self.before, cascade(LOG, self.copies))
        self.prefix_of = {key(state): length for length, state in enumerate(self.states)}
        self.assertEqual(len(self.states), self.copies + 2, "every operation of the full "
                                                            "cascade changes the directory")

    def start(self, cwd, args):
        self.top_inode = os.lstat(os.path.join(cwd, slot_name(LOG, self.copies))).st_ino
        started = time.perf_counter()
        process = subprocess.Popen([self.binary] + args, cwd=cwd, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return process, started

    def watch(self, process, cwd):
        """Busy-waits while the run starts up; returns the moment the top copy was seen deleted,
        or None when the run ended first. The next rename fills the top slot again at once, so
        the sign is another file under that name, not a missing one."""
        top = os.path.join(cwd, slot_name(LOG, self.copies))
        looked = 0
        while True:
            try:
                if os.lstat(top).st_ino != self.top_inode:
                    break
            except FileNotFoundError:
                break
            looked += 1
            if looked % 64 == 0 and process.poll() is not None:
                return None
        return time.perf_counter()

    def timed_run(self, args, expected):
        """One uninterrupted run, checked against the expected directory: the seconds from its
        start to its end, and from the top copy's delete to the live log's rename (None when
        the run deletes nothing, or is over before it is seen)."""
        with tempfile.TemporaryDirectory() as cwd:
            build(cwd, self.before)
            process, started = self.start(cwd, args)
            cascade_started = self.watch(process, cwd)
            live = os.path.join(cwd, LOG)
            while cascade_started is not None and os.path.lexists(live):
                if process.poll() is not None:
                    cascade_started = None
            cascade_ended = time.perf_counter()
            stdout, stderr = process.communicate(timeout=RUN_TIMEOUT)
            elapsed = time.perf_counter() - started
            self.assertEqual((process.returncode, stdout, stderr), (0, b"", b""))
            after = snapshot(cwd)
            self.assertEqual(after, expected, show_differences(expected, after))
        return elapsed, None if cascade_started is None else cascade_ended - cascade_started

    def test_sigkill_at_random_moments_leaves_a_prefix_of_the_cascade(self):
        seed = env_int("PELKWARDT_CRASH_SEED", DEFAULT_SEED)
        kills = env_int("PELKWARDT_CRASH_KILLS", DEFAULT_KILLS)
        rng = random.Random(seed)
        # Max-Anzahl -1 makes the same run without the cascade: start-up and size check.
        idle = statistics.median(self.timed_run([LOG, "-1", "0", "0"], self.before)[0]
                                 for _ in range(TIMING_RUNS))
        timings = [self.timed_run(self.args, self.states[-1]) for _ in range(TIMING_RUNS)]
        full = statistics.median(elapsed for elapsed, _ in timings)
        spans = [span for _, span in timings if span is not None]
        self.assertTrue(spans, "no uninterrupted run was seen between its first and last operation")
        span = statistics.median(spans)

        landed = []  # prefix length reached by each killed run
        failures = []
        for number in range(kills):
            # The start-up time of a run varies far more than its cascade (a sanitizer build takes
            # tens of milliseconds to start), so most kills count from the top copy's delete.
            roll = rng.random()
            if roll < 0.1:
                moment = ("start", rng.uniform(0, idle / 2))
            elif roll < 0.2:
                moment = ("start", rng.uniform(full, full * 1.5))
            else:
                moment = ("delete of the top copy", rng.uniform(0, span))
            length, problems = self.kill_once(*moment)
            landed.append(length)
            if problems:
                failures.append(f"seed {seed}, kill {number} {moment[1] * 1000:.3f} ms after the "
                                f"{moment[0]} (idle run {idle * 1000:.3f} ms, full run "
                                f"{full * 1000:.3f} ms, cascade {span * 1000:.3f} ms):"
                                "\n  " + "\n  ".join(problems))

        last = len(self.states) - 1
        mid = [length for length in landed if length is not None and 0 < length < last]
        print(f"\ncrash safety: seed {seed}, {self.copies} copies, idle run {idle * 1000:.2f} ms, "
              f"full run {full * 1000:.2f} ms, cascade {span * 1000:.2f} ms; of {kills} kills "
              f"{landed.count(0)} before any change, {len(mid)} mid-cascade"
              + (f" (after {min(mid)} to {max(mid)} of {last} operations)" if mid else "")
              + f", {landed.count(last)} after the last operation, "
              f"{landed.count(None)} in no prefix state", file=sys.stderr)
        if failures:
            self.fail(f"{len(failures)} of {kills} killed runs went wrong:\n\n"
                      + "\n\n".join(failures[:3]))
        self.assertGreaterEqual(
            len(mid), max(1, int(kills * MIN_MID_CASCADE_SHARE)),
            f"seed {seed}: too few kills landed mid-cascade to show anything; "
            f"landed after {sorted(set(landed))} operations")

    def kill_once(self, anchor, delay):
        """Starts a rotation, kills it delay seconds after its start or after the top copy's
        delete, and checks what it left; returns the prefix length found (None if none matched)
        and a list of problems."""
        problems = []
        with tempfile.TemporaryDirectory() as cwd:
            build(cwd, self.before)
            process, started = self.start(cwd, self.args)
            if anchor != "start":
                started = self.watch(process, cwd) or started
            while time.perf_counter() - started < delay:
                pass
            process.send_signal(signal.SIGKILL)
            stdout, stderr = process.communicate(timeout=RUN_TIMEOUT)
            left = snapshot(cwd)
            length = self.prefix_of.get(key(left))
            if (stdout, stderr) != (b"", b""):
                problems.append(f"output {stdout[:200]!r}, {stderr[:200]!r}, expected none")
            if process.returncode not in (0, -signal.SIGKILL):
                problems.append(f"exit status {process.returncode}")
            problems += generation_problems(self.before, left, generation(self.copies))
            if length is None:
                problems.append("the directory is no prefix state of the cascade; differences "
                                "from the nearest one:\n" + self.nearest_prefix(left))
            elif process.returncode == 0 and length != len(self.states) - 1:
                problems.append(f"exit status 0 after only {length} operations")

            # What the killed run left is an ordinary directory to the next run.
            expected, _ = predict(left, LOG, self.copies, 0)
            rerun = subprocess.run([self.binary] + self.args, cwd=cwd, stdin=subprocess.DEVNULL,
                                   capture_output=True, timeout=RUN_TIMEOUT)
            after = snapshot(cwd)
            if (rerun.returncode, rerun.stdout, rerun.stderr) != (0, b"", b""):
                problems.append(f"the next run: status {rerun.returncode}, output "
                                f"{rerun.stdout[:200]!r}, {rerun.stderr[:200]!r}")
            if after != expected:
                problems.append(f"the next run after {length} operations differs from the "
                                "model:\n" + show_differences(expected, after))
        return length, problems

    def nearest_prefix(self, state):
        def distance(other):
            return sum(state.get(path) != other.get(path) for path in set(state) | set(other))

        length = min(range(len(self.states)), key=lambda n: distance(self.states[n]))
        return f"  (after {length} operations)\n" + show_differences(self.states[length], state)


if __name__ == "__main__":
    unittest.main()
