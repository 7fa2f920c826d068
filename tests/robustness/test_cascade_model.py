"""Model-checked rotation cascade: random directories, the real binary, and a model written here.

Each case builds a fresh directory from a seeded random generator: rotated copies with distinct
contents, gaps, a copy in slot 0 and copies above the top slot, directories at slot names, copies
without any write permission bit, copies dated outside the 1980 to 2107 window, and a live log
that is present, absent, read-only, dated, a directory, just below or at its size threshold. The
tool runs there once, and every entry of the directory afterwards (name, kind, content, read-only
flag, date window) must equal what the model below predicts, with empty output and status 0.

The model is built from the tool's rules, not from its code:
  - the live log is rotated when it is a regular file dated inside the window, has a write
    permission bit, and its size is at least max(Max-Groesse, 0) MiB;
  - the cascade is a fixed list of operations: delete slot Max-Anzahl, rename slot i to i + 1 for
    i from Max-Anzahl - 1 down to 1, rename the live log to slot 1 (nothing when Max-Anzahl < 0);
  - an operation acts only on a regular file dated inside the window; a delete refuses a file
    without write permission bits; a rename never replaces anything, a directory included.

Environment:
  PELKWARDT_BIN          the executable under test (required)
  PELKWARDT_MODEL_SEED   seed of the generator (default: fixed, so CI runs are repeatable)
  PELKWARDT_MODEL_CASES  number of random directories (default 400)
"""

import collections
import os
import random
import stat
import subprocess
import sys
import tempfile
import time
import unittest
from typing import NamedTuple

DEFAULT_SEED = 20240611
DEFAULT_CASES = 400
RUN_TIMEOUT = 60
MB = 1024 * 1024
HIGHEST_SLOT = 99999
LARGEST_MAX_COUNT = 99998
SHOWN_FAILURES = 3

linux_only = unittest.skipUnless(sys.platform.startswith("linux"), "needs Linux")


def tool_binary():
    binary = os.environ.get("PELKWARDT_BIN")
    if not binary:
        raise RuntimeError("set PELKWARDT_BIN to the pelkwardt executable under test")
    return os.path.abspath(binary)


def env_int(name, default):
    text = os.environ.get(name, "")
    return int(text) if text.strip() else default


# --- the directory as the model sees it ------------------------------------------------------
#
# A state maps each relative path ("a/b" for an entry inside a directory) to a File or to
# DIRECTORY. Directories never move: the tool only acts on regular files.


class File(NamedTuple):
    content: bytes
    read_only: bool = False  # no write permission bit at all (mode 0444)
    dated: bool = False  # modification time outside 1980-01-01 .. 2107-12-31, local time


DIRECTORY = "<directory>"
# Outside the window on either side; 1975 for most, 2110 now and then.
DATED_STAMPS = (time.mktime((1975, 3, 1, 12, 0, 0, 0, 0, -1)),
                time.mktime((2110, 3, 1, 12, 0, 0, 0, 0, -1)))


def slot_name(log, slot):
    """The copy's name: all but the log name's last four bytes, "_", five digits, those bytes."""
    assert 0 <= slot <= HIGHEST_SLOT
    head = log[:len(log) - 4] if len(log) > 4 else ""
    tail = log[len(log) - 4:] if len(log) >= 4 else ""
    return f"{head}_{slot:05d}{tail}"


def in_date_window(mtime):
    return 1980 <= time.localtime(mtime).tm_year <= 2107


def counts_as_file(entry):
    return isinstance(entry, File) and not entry.dated


class Delete(NamedTuple):
    path: str


class Rename(NamedTuple):
    source: str
    target: str


def cascade(log, max_count):
    """Every operation one rotation attempts, in order."""
    if max_count < 0:
        return []
    operations = [Delete(slot_name(log, max_count))]
    operations += [Rename(slot_name(log, i), slot_name(log, i + 1))
                   for i in range(max_count - 1, 0, -1)]
    operations.append(Rename(log, slot_name(log, 1)))
    return operations


def apply(state, operation):
    """Carries out one operation on state in place; returns what happened, as a short tag."""
    if isinstance(operation, Delete):
        entry = state.get(operation.path)
        if not counts_as_file(entry):
            return "delete: nothing there" if entry is None else "delete: not a file"
        if entry.read_only:
            return "delete: refused, read-only"
        del state[operation.path]
        return "delete: done"
    entry = state.get(operation.source)
    if not counts_as_file(entry):
        return "rename: nothing there" if entry is None else "rename: not a file"
    target = state.get(operation.target)
    if target is not None:
        return "rename: refused, target is a " + (
            "directory" if target == DIRECTORY else "dated file" if target.dated else "file")
    parent = os.path.dirname(operation.target)
    if parent and state.get(parent) != DIRECTORY:
        return "rename: refused, no such directory"
    state[operation.target] = state.pop(operation.source)
    return "rename: done"


def size_threshold(max_size_mb):
    return max(max_size_mb, 0) * MB


def rotates(state, log, max_size_mb):
    """Whether the size check lets the cascade run."""
    live = state.get(log)
    return (counts_as_file(live) and not live.read_only
            and len(live.content) >= size_threshold(max_size_mb))


def predict(before, log, max_count, max_size_mb):
    """The directory after one run, and the tags of what each operation did."""
    after = dict(before)
    if not rotates(before, log, max_size_mb):
        return after, ["no rotation"]
    return after, [apply(after, operation) for operation in cascade(log, max_count)]


# --- the real directory ----------------------------------------------------------------------


def build(root, state):
    for path in sorted(state, key=lambda p: p.count("/")):
        full = os.path.join(root, path)
        entry = state[path]
        if entry == DIRECTORY:
            os.makedirs(full, exist_ok=True)
            continue
        with open(full, "wb") as f:
            f.write(entry.content)
        if entry.dated:
            stamp = DATED_STAMPS[len(entry.content) % 2]
            os.utime(full, (stamp, stamp))
        if entry.read_only:
            os.chmod(full, 0o444)


def snapshot(root):
    """Reads a directory back into a state; anything but files and directories is an error."""
    state = {}
    for parent, dirs, files in os.walk(root):
        for name in dirs + files:
            full = os.path.join(parent, name)
            path = os.path.relpath(full, root).replace(os.sep, "/")
            st = os.lstat(full)
            if stat.S_ISDIR(st.st_mode):
                state[path] = DIRECTORY
            elif stat.S_ISREG(st.st_mode):
                with open(full, "rb") as f:
                    state[path] = File(f.read(), not st.st_mode & 0o222,
                                       not in_date_window(st.st_mtime))
            else:
                state[path] = f"<mode {st.st_mode:o}>"
    return state


def file_identities(root):
    """Content -> (inode, modification time in ns) of every regular file under root."""
    identities = {}
    for parent, _, files in os.walk(root):
        for name in files:
            full = os.path.join(parent, name)
            st = os.lstat(full)
            with open(full, "rb") as f:
                identities[f.read()] = (st.st_ino, st.st_mtime_ns)
    return identities


def show_entry(entry):
    if not isinstance(entry, File):
        return entry
    content = entry.content
    text = repr(content) if len(content) <= 40 else f"{content[:24]!r}... ({len(content)} bytes)"
    return text + (" read-only" if entry.read_only else "") + (" dated" if entry.dated else "")


def show_state(state):
    if not state:
        return "    (empty)"
    width = max(len(path) for path in state)
    return "\n".join(f"    {path.ljust(width)}  {show_entry(state[path])}" for path in sorted(state))


def show_differences(expected, actual):
    lines = []
    for path in sorted(set(expected) | set(actual)):
        if expected.get(path) != actual.get(path):
            lines.append(f"    {path}: expected {show_entry(expected.get(path, 'absent'))}, "
                         f"found {show_entry(actual.get(path, 'absent'))}")
    return "\n".join(lines)


# --- random directories ----------------------------------------------------------------------

# "log/ab" puts its copies in other directories ("lo_00001g/ab"), which may or may not exist.
LOG_NAMES = ["Vorbank.LOG"] * 6 + ["log/Vorbank.LOG", "log/ab", "Vorbank", "a.lo", "abc"]
DECOYS = ["Vorbank_1.LOG", "Vorbank.LOG.1", "vorbank_00001.LOG", "Vorbank_00001.log"]


class Case(NamedTuple):
    log: str
    max_count: int
    max_size_mb: int
    before: dict
    features: frozenset  # what the directory contains, for the coverage check

    def args(self):
        return [self.log, str(self.max_count), str(self.max_size_mb), "0"]


def put(state, path, entry):
    """Sets one entry and the directories above it, dropping whatever lay inside an entry of
    that name before."""
    for inner in [p for p in state if p.startswith(path + "/")]:
        del state[inner]
    parent = os.path.dirname(path)
    if parent and state.get(parent) != DIRECTORY:
        put(state, parent, DIRECTORY)
    state[path] = entry


def random_max_count(rng):
    roll = rng.random()
    if roll < 0.10:
        return rng.choice([-1, -1, -2, -99999, -2147483648])
    if roll < 0.94:
        return rng.randint(0, 12)
    return rng.choice([rng.randint(13, 150), rng.randint(151, 3000), LARGEST_MAX_COUNT])


def slots_to_consider(rng, max_count):
    """Slot 0, the slots the cascade passes over and a few above; only the ends of a long one."""
    top = max_count if max_count >= 0 else rng.randint(0, 6)
    if top <= 16:
        slots = range(0, top + 4)
    else:
        slots = sorted({0, 1, 2, 3, 4} | set(range(top - 3, top + 3)))
    return top, [s for s in slots if s <= HIGHEST_SLOT]


def generate(rng, number):
    log = rng.choice(LOG_NAMES)
    max_count = random_max_count(rng)
    top, slots = slots_to_consider(rng, max_count)
    features = set()
    before = {}
    if "/" in log:
        put(before, os.path.dirname(log), DIRECTORY)

    fill = rng.choice([0.35, 0.7, 0.9, 1.0, 1.0])
    for slot in slots:
        name = slot_name(log, slot)
        if "/" in name and rng.random() < 0.5:
            put(before, os.path.dirname(name), DIRECTORY)
        if rng.random() >= fill:
            continue
        label = f"case {number} slot {slot}".encode()
        roll = rng.random()
        if roll < 0.06:
            put(before, name, DIRECTORY)
            if rng.random() < 0.5:
                put(before, name + "/inside", File(b"inside " + label))
        elif roll < 0.13:
            put(before, name, File(label, read_only=True))
        elif roll < 0.17:
            put(before, name, File(label, dated=True))
        else:
            put(before, name, File(label))
    # Make the rarer situations common enough: a top copy that cannot go, and a directory that
    # stops a rename from below.
    if rng.random() < 0.2:
        put(before, slot_name(log, top), File(f"case {number} slot {top} kept".encode(), True))
    if top >= 2 and rng.random() < 0.1:
        put(before, slot_name(log, rng.randint(1, top)), DIRECTORY)

    roll = rng.random()
    max_size_mb = 0
    live_label = f"case {number} live".encode()
    if roll < 0.07:
        pass  # no live log
    elif roll < 0.11:
        before[log] = File(live_label, read_only=True)
    elif roll < 0.14:
        before[log] = File(live_label, dated=True)
    elif roll < 0.17:
        before[log] = DIRECTORY
    elif roll < 0.21:
        before[log] = File(b"")
        features.add("empty live log")
    elif roll < 0.45:
        max_size_mb = rng.choice([1, 1, 2])
        size = size_threshold(max_size_mb) + rng.choice([-1, 0, 0, 1, 4096])
        before[log] = File(live_label.ljust(size, b"."))
        features.add("live log sized near the threshold")
    else:
        before[log] = File(live_label)
        max_size_mb = rng.choice([0, 0, 0, 0, -1, -2147483648, 4096])

    for decoy in DECOYS:
        if log == "Vorbank.LOG" and rng.random() < 0.05:
            before[decoy] = File(f"case {number} decoy {decoy}".encode())

    if max_count < 0:
        features.add("negative Max-Anzahl")
    elif max_count == 0:
        features.add("Max-Anzahl 0")
    elif max_count > 12:
        features.add("Max-Anzahl above 12")
    if max_count == LARGEST_MAX_COUNT:
        features.add(f"Max-Anzahl {LARGEST_MAX_COUNT}")
    if "/" in log:
        features.add("log in a subdirectory")
    if len(log) < 4:
        features.add("log name shorter than four bytes")
    if max_count > 0 and slot_name(log, 0) in before:
        features.add("entry in slot 0 with Max-Anzahl above 0")
    if any(slot_name(log, s) in before for s in slots if s > top + 1):
        features.add("entry above the slot over the top")
    live = before.get(log)
    if live is None:
        features.add("no live log")
    elif live == DIRECTORY:
        features.add("directory at the log name")
    elif live.read_only:
        features.add("read-only live log")
    elif live.dated:
        features.add("dated live log")
    return Case(log, max_count, max_size_mb, before, frozenset(features))


# Each must occur at least once in a run of DEFAULT_CASES cases; the tags come from generate()
# (what a directory holds) and from the model (what an operation did).
REQUIRED_COVERAGE = [
    "negative Max-Anzahl", "Max-Anzahl 0", "Max-Anzahl above 12", f"Max-Anzahl {LARGEST_MAX_COUNT}",
    "log in a subdirectory", "log name shorter than four bytes", "empty live log",
    "live log sized near the threshold", "no live log", "directory at the log name",
    "read-only live log", "dated live log", "entry in slot 0 with Max-Anzahl above 0",
    "entry above the slot over the top", "no rotation",
    "delete: done", "delete: nothing there", "delete: not a file", "delete: refused, read-only",
    "rename: done", "rename: nothing there", "rename: not a file",
    "rename: refused, target is a file", "rename: refused, target is a directory",
    "rename: refused, target is a dated file", "rename: refused, no such directory",
]


@linux_only
class CascadeModelTest(unittest.TestCase):
    maxDiff = None

    def test_random_directories_match_the_model(self):
        binary = tool_binary()
        seed = env_int("PELKWARDT_MODEL_SEED", DEFAULT_SEED)
        cases = env_int("PELKWARDT_MODEL_CASES", DEFAULT_CASES)
        failures = []
        coverage = collections.Counter()
        started = time.monotonic()
        for number in range(cases):
            # One generator per case, so that a case can be rebuilt from the seed and its number.
            case = generate(random.Random(f"{seed}/{number}"), number)
            expected, outcomes = predict(case.before, case.log, case.max_count, case.max_size_mb)
            coverage.update(case.features | set(outcomes))
            problem = self.run_case(binary, case, expected)
            if problem:
                failures.append(
                    f"seed {seed}, case {number}: pelkwardt {' '.join(case.args())}\n"
                    f"  {problem}\n"
                    f"  before:\n{show_state(case.before)}\n"
                    f"  expected after:\n{show_state(expected)}\n"
                    f"  rebuild with PELKWARDT_MODEL_SEED={seed} PELKWARDT_MODEL_CASES={number + 1}")
        elapsed = time.monotonic() - started
        print(f"\ncascade model: seed {seed}, {cases} cases in {elapsed:.1f} s, "
              f"{len(failures)} differed from the model", file=sys.stderr)
        if failures:
            self.fail(f"{len(failures)} of {cases} cases differ from the model (seed {seed}); "
                      f"the first {min(len(failures), SHOWN_FAILURES)}:\n\n"
                      + "\n\n".join(failures[:SHOWN_FAILURES]))
        if cases >= DEFAULT_CASES:
            missing = [tag for tag in REQUIRED_COVERAGE if not coverage[tag]]
            self.assertEqual(missing, [], f"seed {seed}: the random directories never produced "
                                          f"these situations; coverage: {dict(coverage)}")

    def run_case(self, binary, case, expected):
        """Runs the tool on the case's directory; returns a description of what went wrong."""
        with tempfile.TemporaryDirectory() as cwd:
            build(cwd, case.before)
            built = snapshot(cwd)
            if built != case.before:
                return "the fixture was not built as described:\n" + show_differences(
                    case.before, built)
            identities = file_identities(cwd)
            result = subprocess.run([binary] + case.args(), cwd=cwd, stdin=subprocess.DEVNULL,
                                    capture_output=True, timeout=RUN_TIMEOUT)
            actual = snapshot(cwd)
            moved = file_identities(cwd)
        problems = []
        # Contents are distinct, so each names its file: a rotated copy must be the same inode,
        # untouched, not a new file with the old bytes.
        changed = sorted(show_entry(File(content)) for content, identity in moved.items()
                         if identities.get(content) != identity)
        if changed:
            problems.append(f"files replaced or modified (inode or modification time changed): "
                            f"{', '.join(changed)}")
        if result.returncode != 0:
            problems.append(f"exit status {result.returncode}, expected 0")
        if result.stdout:
            problems.append(f"standard output {result.stdout[:200]!r}, expected nothing")
        if result.stderr:
            problems.append(f"standard error {result.stderr[:200]!r}, expected nothing")
        if actual != expected:
            problems.append("directory differs from the model:\n"
                            + show_differences(expected, actual)
                            + f"\n  found after:\n{show_state(actual)}")
        return "\n  ".join(problems)


if __name__ == "__main__":
    unittest.main()
