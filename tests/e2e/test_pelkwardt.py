"""End-to-end tests of pelkwardt: the built executable, run in a fresh directory per case.

Environment:
  PELKWARDT_BIN       path of the executable under test (required)
  PELKWARDT_PREFIX    optional command prefix, split like a shell would (for example "wine")
  PELKWARDT_PLATFORM  "windows" skips the cases that need Linux (FIFOs, symlinks, leases,
                      signals, a private tmpfs) and runs the Windows ones instead
  PELKWARDT_WINDOWS_FIXTURE  for the Windows cases: the helper program that holds a file open or
                      the rotation lock, sets the read-only attribute and starts a process with an exact command line

Every case checks the exact bytes on standard output, the exit status, an empty standard error and
the complete contents of the working directory afterwards.
"""

import os
import shlex
import shutil
import stat
import subprocess
import tempfile
import time
import unittest
from typing import NamedTuple

ON_WINDOWS = os.environ.get("PELKWARDT_PLATFORM", "").lower() == "windows"
linux_only = unittest.skipIf(ON_WINDOWS, "needs Linux file system and process features")
windows_only = unittest.skipUnless(ON_WINDOWS, "needs Windows processes and file attributes")

RUN_TIMEOUT = 60  # generous for a slow emulated start-up; a healthy run takes milliseconds
HANG_TIMEOUT = 5  # for the cases where the danger is a tool that blocks
MB = 1024 * 1024
GIB = 1024 * MB
LOG = "Vorbank.LOG"


def tool_command():
    binary = os.environ.get("PELKWARDT_BIN")
    if not binary:
        raise RuntimeError("set PELKWARDT_BIN to the pelkwardt executable under test")
    return shlex.split(os.environ.get("PELKWARDT_PREFIX", "")) + [os.path.abspath(binary)]


TOOL = None  # the command that starts the tool, set up once per run of the suite


def setUpModule():
    global TOOL
    TOOL = tool_command()


# --- console texts, as the tool must print them ------------------------------------------------


def crlf(text):
    return text.replace("\n", "\r\n").encode("ascii")


BOX_LINES = [
    "*" * 55,
    "** (c) VELMORA".ljust(53) + "**",
    "** Projekt     : QUARDELIN                           **",
    "** Tool        : RUNDHAMMER                          **",
    "** Beschreibung: Pruefrn des freien Restspeicherplatz**",
    "**               der Festplatte und umbenennen bzw   **",
    "**               loeschen der Log-Dateien            **",
    "**                                                   **",
    "*" * 55,
]
BANNER = crlf("\n" + "".join(line + "\n" for line in BOX_LINES) + "\n")
USAGE = crlf(
    "Befehlsformat: \n"
    "PELKWARDT.EXE Logdateiname Max-Anzahl Max-Groesse Min-Restgroesse Debug\n"
    "\n"
    "Beispiel:\n"
    "PELKWARDT.EXE ..\\..\\quardelin_php\\log\\Vorbank.LOG 5 2 10%\n"
    "Logdateiname    Name der Logdatei mit Path\n"
    "Max-Anzahl      Maximale Anzahl der umbenannten Logdateien\n"
    "Max-Groesse     Maximale groesse in MB wann eine Logdatei umbenannt wird\n"
    "Min-Restgroesse Minimal erforderlicher Restspeicher auf der Festplatte in MB\n"
    "                (Durch anstellen des %-Zeichens erfolgt die Angabe in Prozent)\n"
)
MSG_COUNT = crlf("Anzahl Parameter ungueltig!")
MSG_MAX_COUNT = crlf("Max-Anzahl Logdateien ungueltig\n\n")
MSG_MAX_SIZE = crlf("Max-Loggroesse ungueltig\n\n")
MSG_PERCENT = crlf("Restgroesse in Prozent ungueltig\n\n")
MSG_MB = crlf("Restgroesse in MB ungueltig\n\n")


def rejected(message):
    return BANNER + message + USAGE


# --- directory fixtures ------------------------------------------------------------------------
#
# A directory is described by a dict: name -> bytes (a regular file), ReadOnly (a regular file
# without any write permission bit), Big (a large file, created sparse), a nested dict (a
# directory), Link (a symbolic link) or FIFO. snapshot() reads a directory back into the same form.

HEAD_LEN = 16
BIG_LIMIT = 64 * 1024  # files above this are compared by size and first bytes


class ReadOnly(NamedTuple):
    content: bytes


class Big(NamedTuple):
    size: int
    head: bytes


class Link(NamedTuple):
    target: str


FIFO = "<fifo>"


def big(tag, size):
    """A large file of the given size whose first bytes identify it."""
    head = tag.ljust(HEAD_LEN, b".")
    assert len(head) == HEAD_LEN and size > BIG_LIMIT
    return Big(size, head)


def make_tree(root, tree):
    for name, value in tree.items():
        path = os.path.join(root, name)
        if isinstance(value, dict):
            os.mkdir(path)
            make_tree(path, value)
        elif isinstance(value, bytes):
            with open(path, "wb") as f:
                f.write(value)
        elif isinstance(value, ReadOnly):
            with open(path, "wb") as f:
                f.write(value.content)
            os.chmod(path, 0o444)
        elif isinstance(value, Big):
            with open(path, "wb") as f:
                f.write(value.head)
                f.truncate(value.size)
        elif isinstance(value, Link):
            os.symlink(value.target, path)
        elif value == FIFO:
            os.mkfifo(path)
        else:
            raise TypeError(f"unknown fixture for {name!r}: {value!r}")


def snapshot(root):
    tree = {}
    for name in os.listdir(root):
        path = os.path.join(root, name)
        st = os.lstat(path)
        if stat.S_ISLNK(st.st_mode):
            tree[name] = Link(os.readlink(path))
        elif stat.S_ISDIR(st.st_mode):
            tree[name] = snapshot(path)
        elif stat.S_ISFIFO(st.st_mode):
            tree[name] = FIFO
        elif stat.S_ISREG(st.st_mode):
            with open(path, "rb") as f:
                if st.st_size > BIG_LIMIT:
                    tree[name] = Big(st.st_size, f.read(HEAD_LEN))
                else:
                    content = f.read()
                    read_only = not st.st_mode & 0o222
                    tree[name] = ReadOnly(content) if read_only else content
        else:
            tree[name] = f"<mode {st.st_mode:o}>"
    return tree


def local_time(year, month, day):
    return time.mktime((year, month, day, 12, 0, 0, 0, 0, -1))


class ToolTestCase(unittest.TestCase):
    maxDiff = None

    def run_tool(self, cwd, args, timeout=RUN_TIMEOUT, **kwargs):
        kwargs.setdefault("stdout", subprocess.PIPE)
        return subprocess.run(
            TOOL + list(args),
            cwd=cwd,
            stdin=subprocess.DEVNULL,
            stderr=subprocess.PIPE,
            timeout=timeout,
            **kwargs,
        )

    def assertRun(self, cwd, args, status=0, stdout=b"", after=None, **kwargs):
        """Runs the tool in cwd and checks output, status, standard error and, if given, the
        directory's contents afterwards."""
        result = self.run_tool(cwd, args, **kwargs)
        self.assertEqual(result.stdout, stdout)
        self.assertEqual(result.stderr, b"")
        self.assertEqual(result.returncode, status)
        if after is not None:
            self.assertEqual(snapshot(cwd), after)
        return result

    def check(self, args, before, after, status=0, stdout=b"", prepare=None, **kwargs):
        """Builds `before` in a fresh directory, runs the tool there and checks everything."""
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, before)
            if prepare:
                prepare(cwd)
            self.assertRun(cwd, args, status, stdout, after, **kwargs)


# --- command line and console texts ------------------------------------------------------------


class CommandLineRejectedTest(ToolTestCase):
    # Each rejected command line leaves a log that would rotate, had the run gone on.
    LIVE = {LOG: b"live"}

    def test_count_error_output_and_box_layout(self):
        with tempfile.TemporaryDirectory() as cwd:
            out = self.run_tool(cwd, []).stdout
        self.assertEqual(len(BANNER), 517)
        self.assertEqual(len(USAGE), 498)
        self.assertEqual(out[:517], BANNER)
        self.assertEqual(out[517:-498], b"Anzahl Parameter ungueltig!")
        self.assertEqual(out[-498:], USAGE)
        self.assertIn(b"ungueltig!Befehlsformat: \r\n", out)
        lines = out[:517].split(b"\r\n")
        self.assertEqual(lines[0], b"")
        self.assertEqual(lines[10:], [b"", b""])
        for line in lines[1:10]:
            with self.subTest(line=line):
                self.assertEqual(len(line), 55)
                self.assertEqual(line[53:55], b"**")
                self.assertEqual(line[:2], b"**")
        self.assertEqual(lines[2], b"** (c) VELMORA" + b" " * 39 + b"**")

    def test_each_error_prints_banner_message_and_usage(self):
        cases = [
            ([], MSG_COUNT),
            ([LOG], MSG_COUNT),
            ([LOG, "1"], MSG_COUNT),
            ([LOG, "1", "0"], MSG_COUNT),
            ([LOG, "x", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "5 ", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "\t5", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "- 5", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "-$1F", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "+0x1F", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "$100000000", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "2147483648", "0", "0"], MSG_MAX_COUNT),
            ([LOG, "1", "1.5", "0"], MSG_MAX_SIZE),
            ([LOG, "1", "1e3", "0"], MSG_MAX_SIZE),
            ([LOG, "1", "$", "0"], MSG_MAX_SIZE),
            ([LOG, "1", "-", "0"], MSG_MAX_SIZE),
            ([LOG, "1", "-2147483649", "0"], MSG_MAX_SIZE),
            ([LOG, "1", "0", "%"], MSG_PERCENT),
            ([LOG, "1", "0", "10 %"], MSG_PERCENT),
            ([LOG, "1", "0", "10%%"], MSG_PERCENT),
            ([LOG, "1", "0", "0x%"], MSG_PERCENT),
            ([LOG, "1", "0", ""], MSG_MB),
            ([LOG, "1", "0", "%10"], MSG_MB),
            ([LOG, "1", "0", "10MB"], MSG_MB),
            ([LOG, "1", "0", "+"], MSG_MB),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                self.check(args, self.LIVE, self.LIVE, status=99, stdout=rejected(message))

    def test_only_the_first_bad_number_is_reported(self):
        cases = [
            ([LOG, "x", "y", "z"], MSG_MAX_COUNT),
            ([LOG, "x", "y", "z%"], MSG_MAX_COUNT),
            ([LOG, "1", "y", "z"], MSG_MAX_SIZE),
            ([LOG, "1", "y", "%"], MSG_MAX_SIZE),
            ([LOG, "99999", "y", "z"], MSG_MAX_COUNT),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                self.check(args, self.LIVE, self.LIVE, status=99, stdout=rejected(message))

    def test_max_count_above_99998_is_refused(self):
        for text in ["99999", "100000", "2147483647", "$7FFFFFFF", "0x1869F"]:
            with self.subTest(max_count=text):
                self.check([LOG, text, "0", "0"], self.LIVE, self.LIVE, status=99,
                           stdout=rejected(MSG_MAX_COUNT))

    def test_output_redirected_to_a_file_holds_every_byte_in_order(self):
        with tempfile.TemporaryDirectory() as cwd, tempfile.TemporaryFile() as out:
            result = self.run_tool(cwd, [LOG, "1", "0", "10%%"], stdout=out)
            out.seek(0)
            self.assertEqual((result.returncode, result.stderr), (99, b""))
            self.assertEqual(out.read(), rejected(MSG_PERCENT))
            self.assertEqual(snapshot(cwd), {})


class CommandLineAcceptedTest(ToolTestCase):
    def test_valid_run_without_a_log_prints_nothing_and_creates_nothing(self):
        for args in [[LOG, "3", "0", "0"], [LOG, "3", "0", "0%"], ["", "3", "0", "0"]]:
            with self.subTest(args=args):
                self.check(args, {}, {})

    def test_number_forms_of_max_count(self):
        # The value read from Max-Anzahl decides which copies move and which one is dropped, so
        # each outcome tells the value: 1, 2 or 10, or negative (nothing moves).
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2",
                  "Vorbank_00010.LOG": b"gen-10"}
        one = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-2",
               "Vorbank_00010.LOG": b"gen-10"}
        two = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
               "Vorbank_00010.LOG": b"gen-10"}
        ten = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
               "Vorbank_00003.LOG": b"gen-2"}
        cases = [
            ("1", one), ("$1", one), ("0x00000001", one),
            ("2", two), ("+2", two), ("002", two), ("  2", two), ("$2", two), ("x2", two),
            ("X2", two), ("0x2", two), ("0X2", two), ("$000000002", two), ("  0x2", two),
            ("10", ten), ("010", ten), ("+0010", ten), ("$A", ten), ("0xa", ten), ("X0A", ten),
            ("-1", before), ("$FFFFFFFF", before), ("-2147483648", before),
            ("0x80000000", before),
        ]
        for text, after in cases:
            with self.subTest(max_count=text):
                self.check([LOG, text, "0", "0"], before, after)

    def test_free_space_thresholds_that_always_pass(self):
        for text in ["0", "-1", "$0", "-2147483648", "0%", " 0%", "0x0%", "-5%", "-2147483648%"]:
            with self.subTest(min_free=text):
                self.check([LOG, "1", "0", text], {LOG: b"live"}, {"Vorbank_00001.LOG": b"live"})

    def test_extra_arguments_change_nothing(self):
        for extra in [["Debug"], ["x", "not a number", ""], ["1", "0", "0%"]]:
            with self.subTest(extra=extra):
                self.check([LOG, "2", "0", "0"] + extra,
                           {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"},
                           {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"})


# --- size check ------------------------------------------------------------------------------


class SizeThresholdTest(ToolTestCase):
    def test_threshold(self):
        cases = [
            # Max-Groesse, live log, rotated?
            ("1", big(b"live", MB), True),
            ("1", big(b"live", MB - 1), False),
            ("1", big(b"live", MB + 1), True),
            ("2", big(b"live", 2 * MB - 1), False),
            ("0", b"", True),
            ("-1", b"", True),
            ("-2147483648", b"live", True),
            ("$FFFFFFFF", b"", True),
            ("4096", b"live", False),        # 4096 MB must not wrap to 0 bytes
            ("2147483647", b"live", False),  # nor the largest number to a negative threshold
        ]
        for max_size, live, rotated in cases:
            with self.subTest(max_size=max_size, size=len(live) if isinstance(live, bytes) else live.size):
                after = {"Vorbank_00001.LOG": live} if rotated else {LOG: live}
                self.check([LOG, "3", max_size, "0"], {LOG: live}, after)

    def test_measuring_leaves_content_and_modification_time_alone(self):
        stamp = local_time(2001, 2, 3)
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live"})
            os.utime(os.path.join(cwd, LOG), (stamp, stamp))
            self.assertRun(cwd, [LOG, "3", "1", "0"], after={LOG: b"live"})
            self.assertEqual(os.stat(os.path.join(cwd, LOG)).st_mtime, stamp)
            self.assertRun(cwd, [LOG, "3", "0", "0"], after={"Vorbank_00001.LOG": b"live"})
            self.assertEqual(os.stat(os.path.join(cwd, "Vorbank_00001.LOG")).st_mtime, stamp)

    def test_read_only_live_log_is_never_rotated(self):
        for max_size in ["0", "-1"]:
            with self.subTest(max_size=max_size):
                before = {LOG: ReadOnly(b"live"), "Vorbank_00001.LOG": b"gen-1"}
                self.check([LOG, "2", max_size, "0"], before, before)

    def test_log_name_that_names_no_regular_file(self):
        other = {"Vorbank.LOGX": b"x", "Vorbank": b"y"}
        cases = [
            ("missing", LOG, dict(other)),
            ("directory", LOG, {LOG: {"inner.LOG": b"inner"}}),
            ("empty directory", LOG, {LOG: {}}),
            ("wildcard star", "Vorb*.LOG", {LOG: b"live"}),
            ("wildcard question mark", "Vorban?.LOG", {LOG: b"live"}),
            ("empty name", "", {LOG: b"live"}),
        ]
        for label, name, before in cases:
            with self.subTest(label):
                self.check([name, "2", "0", "0"], before, before)

    def test_modification_date_window(self):
        cases = [
            ((1979, 6, 1), False),
            ((1980, 1, 2), True),
            ((2107, 12, 30), True),
            ((2108, 6, 1), False),
        ]
        for date, rotated in cases:
            with self.subTest(date=date):
                stamp = local_time(*date)
                after = {"Vorbank_00001.LOG": b"live"} if rotated else {LOG: b"live"}
                self.check([LOG, "2", "0", "0"], {LOG: b"live"}, after,
                           prepare=lambda cwd: os.utime(os.path.join(cwd, LOG), (stamp, stamp)))


# --- rotation cascade ------------------------------------------------------------------------


class RotationTest(ToolTestCase):
    def test_worked_example(self):
        before = {
            LOG: big(b"live", 2_300_000),
            "Vorbank_00001.LOG": b"gen-1",
            "Vorbank_00002.LOG": b"gen-2",
            "Vorbank_00003.LOG": b"gen-3",
        }
        after = {
            "Vorbank_00001.LOG": big(b"live", 2_300_000),
            "Vorbank_00002.LOG": b"gen-1",
            "Vorbank_00003.LOG": b"gen-2",
        }
        self.check([LOG, "3", "2", "0%"], before, after)

    def test_worked_example_at_exactly_the_threshold_and_one_byte_below(self):
        copies = {"Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2",
                  "Vorbank_00003.LOG": b"gen-3"}
        self.check([LOG, "3", "2", "0"], {LOG: big(b"live", 2 * MB), **copies},
                   {"Vorbank_00001.LOG": big(b"live", 2 * MB), "Vorbank_00002.LOG": b"gen-1",
                    "Vorbank_00003.LOG": b"gen-2"})
        below = {LOG: big(b"live", 2 * MB - 1), **copies}
        self.check([LOG, "3", "2", "0"], below, below)

    def test_gaps_move_up_with_the_copies(self):
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2",
                  "Vorbank_00004.LOG": b"gen-4"}
        after = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
                 "Vorbank_00003.LOG": b"gen-2", "Vorbank_00005.LOG": b"gen-4"}
        self.check([LOG, "5", "0", "0"], before, after)

    def test_only_the_live_log_and_no_copies(self):
        self.check([LOG, "4", "0", "0"], {LOG: b"live"}, {"Vorbank_00001.LOG": b"live"})

    def test_max_count_zero(self):
        cases = [
            ("slot 0 copy is deleted, live log moves to slot 1",
             {LOG: b"live", "Vorbank_00000.LOG": b"gen-0"},
             {"Vorbank_00001.LOG": b"live"}),
            ("live log alone",
             {LOG: b"live"},
             {"Vorbank_00001.LOG": b"live"}),
            ("a slot 1 copy keeps the live log in place",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}),
            ("slot 0 is deleted even when slot 1 blocks the live log",
             {LOG: b"live", "Vorbank_00000.LOG": b"gen-0", "Vorbank_00001.LOG": b"gen-1"},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}),
        ]
        for label, before, after in cases:
            with self.subTest(label):
                self.check([LOG, "0", "0", "0"], before, after)

    def test_negative_max_count_moves_nothing(self):
        before = {LOG: b"live", "Vorbank_00000.LOG": b"gen-0", "Vorbank_00001.LOG": b"gen-1",
                  "Vorbank_00002.LOG": b"gen-2"}
        for text in ["-1", "-99999", "-2147483648"]:
            with self.subTest(max_count=text):
                self.check([LOG, text, "0", "0"], before, before)

    def test_slot_zero_and_slots_above_the_top_are_untouched(self):
        before = {LOG: b"live", "Vorbank_00000.LOG": b"gen-0", "Vorbank_00001.LOG": b"gen-1",
                  "Vorbank_00002.LOG": b"gen-2", "Vorbank_00003.LOG": b"gen-3",
                  "Vorbank_00007.LOG": b"gen-7"}
        after = {"Vorbank_00000.LOG": b"gen-0", "Vorbank_00001.LOG": b"live",
                 "Vorbank_00002.LOG": b"gen-1", "Vorbank_00003.LOG": b"gen-3",
                 "Vorbank_00007.LOG": b"gen-7"}
        self.check([LOG, "2", "0", "0"], before, after)

    def test_largest_max_count(self):
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_99997.LOG": b"gen-99997",
                  "Vorbank_99998.LOG": b"gen-99998", "Vorbank_99999.LOG": b"gen-99999"}
        after = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
                 "Vorbank_99998.LOG": b"gen-99997", "Vorbank_99999.LOG": b"gen-99999"}
        self.check([LOG, "99998", "0", "0"], before, after)

    def test_directory_at_a_slot_name(self):
        cases = [
            ("directory in a middle slot stops the copy below it",
             "3",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": {},
              "Vorbank_00003.LOG": b"gen-3"},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": {}}),
            ("empty directory in the top slot is not deleted, the cascade goes on",
             "2",
             {LOG: b"live", "Vorbank_00002.LOG": {}},
             {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": {}}),
            ("directory in the top slot blocks the copy below it",
             "2",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": {"x": b"x"}},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": {"x": b"x"}}),
            ("directory at slot 1 keeps the live log in place",
             "3",
             {LOG: b"live", "Vorbank_00001.LOG": {}, "Vorbank_00003.LOG": b"gen-3"},
             {LOG: b"live", "Vorbank_00001.LOG": {}}),
        ]
        for label, max_count, before, after in cases:
            with self.subTest(label):
                self.check([LOG, max_count, "0", "0"], before, after)

    def test_read_only_copies(self):
        cases = [
            ("read-only top copy blocks the whole cascade",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2",
              "Vorbank_00003.LOG": ReadOnly(b"gen-3")},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2",
              "Vorbank_00003.LOG": ReadOnly(b"gen-3")}),
            ("the block reaches down only to the first free slot",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1",
              "Vorbank_00003.LOG": ReadOnly(b"gen-3")},
             {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
              "Vorbank_00003.LOG": ReadOnly(b"gen-3")}),
            ("a read-only middle copy still moves up",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1",
              "Vorbank_00002.LOG": ReadOnly(b"gen-2"), "Vorbank_00003.LOG": b"gen-3"},
             {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
              "Vorbank_00003.LOG": ReadOnly(b"gen-2")}),
        ]
        for label, before, after in cases:
            with self.subTest(label):
                self.check([LOG, "3", "0", "0"], before, after)

    def test_copy_dated_outside_the_window_counts_as_absent(self):
        def date_slot_2(cwd):
            stamp = local_time(1979, 6, 1)
            os.utime(os.path.join(cwd, "Vorbank_00002.LOG"), (stamp, stamp))

        cases = [
            ("not deleted from the top slot",
             {LOG: b"live", "Vorbank_00002.LOG": b"gen-2"},
             {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-2"}),
            ("and nothing moves into it",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2"},
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2"}),
        ]
        for label, before, after in cases:
            with self.subTest(label):
                self.check([LOG, "2", "0", "0"], before, after, prepare=date_slot_2)

    def test_rotated_names(self):
        cases = [
            # log name, existing copy in slot 1, its name in slot 2
            ("Vorbank", "Vor_00001bank", "Vor_00002bank"),
            ("Vorbank.js", "Vorban_00001k.js", "Vorban_00002k.js"),
            ("a.lo", "_00001a.lo", "_00002a.lo"),
            ("abc", "_00001", "_00002"),
            ("x", "_00001", "_00002"),
            ("Vor bank.LOG", "Vor bank_00001.LOG", "Vor bank_00002.LOG"),
            (" Vorbank.LOG", " Vorbank_00001.LOG", " Vorbank_00002.LOG"),
        ]
        for name, slot1, slot2 in cases:
            with self.subTest(name=name):
                self.check([name, "2", "0", "0"], {name: b"live", slot1: b"gen-1"},
                           {slot1: b"live", slot2: b"gen-1"})

    def test_log_in_a_subdirectory(self):
        self.check(
            ["logs/Vorbank.LOG", "2", "0", "0"],
            {"logs": {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}, LOG: b"other"},
            {"logs": {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"},
             LOG: b"other"})

    def test_rotations_in_a_row(self):
        with tempfile.TemporaryDirectory() as cwd:
            for gen in range(1, 5):
                make_tree(cwd, {LOG: b"gen-%d" % gen})
                self.assertRun(cwd, [LOG, "2", "0", "0"])
            self.assertEqual(snapshot(cwd), {"Vorbank_00001.LOG": b"gen-4",
                                             "Vorbank_00002.LOG": b"gen-3"})


# --- Linux only ------------------------------------------------------------------------------


@linux_only
class LinuxFileKindsTest(ToolTestCase):
    def test_fifo_does_not_hang_the_tool(self):
        cases = [
            ("at the log name", {LOG: FIFO, "Vorbank_00001.LOG": b"gen-1"},
             {LOG: FIFO, "Vorbank_00001.LOG": b"gen-1"}),
            ("at the top slot", {LOG: b"live", "Vorbank_00002.LOG": FIFO},
             {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": FIFO}),
        ]
        for label, before, after in cases:
            with self.subTest(label):
                self.check([LOG, "2", "0", "0"], before, after, timeout=HANG_TIMEOUT)

    def test_symlinks(self):
        cases = [
            ("to a regular file counts as the log and is renamed itself",
             {LOG: Link("target.txt"), "target.txt": b"live"},
             {"Vorbank_00001.LOG": Link("target.txt"), "target.txt": b"live"}),
            ("dangling counts as absent",
             {LOG: Link("missing.txt")},
             {LOG: Link("missing.txt")}),
            ("to a directory counts as absent",
             {LOG: Link("dir"), "dir": {"f": b"f"}},
             {LOG: Link("dir"), "dir": {"f": b"f"}}),
            ("to a read-only file is not rotated",
             {LOG: Link("target.txt"), "target.txt": ReadOnly(b"live")},
             {LOG: Link("target.txt"), "target.txt": ReadOnly(b"live")}),
        ]
        for label, before, after in cases:
            with self.subTest(label):
                self.check([LOG, "2", "0", "0"], before, after, timeout=HANG_TIMEOUT)

    def test_names_are_cut_by_bytes(self):
        cases = [
            # bytes of the log name, of its slot-1 name
            ("Pr\u00fcfung.LOG".encode(), "Pr\u00fcfung_00001.LOG".encode()),
            (b"a\xc3\xbc.LG", b"a\xc3_00001\xbc.LG"),
            (b"a.LOG ", b"a._00001LOG "),
        ]
        for name, slot1 in cases:
            with self.subTest(name=name):
                self.check([name, "1", "0", "0"], {os.fsdecode(name): b"live"},
                           {os.fsdecode(slot1): b"live"})

    def test_wildcard_characters_are_literal(self):
        self.check(["Vor*.LOG", "1", "0", "0"], {"Vor*.LOG": b"live", LOG: b"other"},
                   {"Vor*_00001.LOG": b"live", LOG: b"other"})


class LargeFileTest(ToolTestCase):
    def test_sparse_logs_beyond_32_bits(self):
        cases = [
            # live log size, Max-Groesse, rotated?
            (2**31 + 5, "2048", True),
            (2**31 + 5, "2049", False),
            (2**31 + 5, "1", True),
            (3 * GIB, "3072", True),
            (3 * GIB - 1, "3072", False),
            (4 * GIB - 1, "1", True),
            (5 * GIB, "1", True),
            (5 * GIB, "5120", True),
            (5 * GIB - 1, "5120", False),
            (5 * GIB, "2147483647", False),
        ]
        for size, max_size, rotated in cases:
            with self.subTest(size=size, max_size=max_size):
                live = big(b"live", size)
                before = {LOG: live, "Vorbank_00001.LOG": b"gen-1"}
                after = ({"Vorbank_00001.LOG": live, "Vorbank_00002.LOG": b"gen-1"}
                         if rotated else before)
                self.check([LOG, "2", max_size, "0"], before, after)


@linux_only
class LinuxLogInUseTest(ToolTestCase):
    ROTATED = {"Vorbank_00001.LOG": b"live"}

    def test_log_open_for_writing_here_is_rotated_only_once_closed(self):
        for mode in ["ab", "r+b", "wb"]:
            with self.subTest(mode=mode), tempfile.TemporaryDirectory() as cwd:
                make_tree(cwd, {LOG: b"live"})
                with open(os.path.join(cwd, LOG), mode) as writer:
                    if mode == "wb":
                        writer.write(b"live")
                        writer.flush()
                    self.assertRun(cwd, [LOG, "1", "0", "0"], after={LOG: b"live"})
                self.assertRun(cwd, [LOG, "1", "0", "0"], after=self.ROTATED)

    def test_log_open_for_reading_is_rotated(self):
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live"})
            with open(os.path.join(cwd, LOG), "rb"):
                self.assertRun(cwd, [LOG, "1", "0", "0"], after=self.ROTATED)

    def test_log_appended_to_by_a_child_process(self):
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live"})
            with open(os.path.join(cwd, LOG), "ab") as log:
                writer = subprocess.Popen(["sleep", "60"], stdout=log, cwd=cwd)
            try:
                self.assertRun(cwd, [LOG, "1", "0", "0"], after={LOG: b"live"},
                               timeout=HANG_TIMEOUT)
            finally:
                writer.kill()
                writer.wait()
            self.assertRun(cwd, [LOG, "1", "0", "0"], after=self.ROTATED)


@linux_only
class LinuxBrokenOutputTest(ToolTestCase):
    ERROR_ARGS = [LOG, "x", "0", "0"]

    def test_closed_stdout_keeps_the_exit_status(self):
        cases = [
            (self.ERROR_ARGS, {LOG: b"live"}, {LOG: b"live"}, 99),
            ([LOG, "1", "0", "0"], {LOG: b"live"}, {"Vorbank_00001.LOG": b"live"}, 0),
            ([LOG, "1", "0", "0"], {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"},
             {"Vorbank_00001.LOG": b"live"}, 0),
        ]
        for args, before, after, status in cases:
            with self.subTest(args=args, before=before), tempfile.TemporaryDirectory() as cwd:
                make_tree(cwd, before)
                result = subprocess.run(
                    ["sh", "-c", 'exec "$@" >&-', "sh"] + TOOL + args, cwd=cwd,
                    stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                    timeout=RUN_TIMEOUT)
                self.assertEqual((result.returncode, result.stdout, result.stderr),
                                 (status, b"", b""))
                self.assertEqual(snapshot(cwd), after)

    def test_broken_pipe_keeps_the_exit_status(self):
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live"})
            read_end, write_end = os.pipe()
            os.close(read_end)
            try:
                # subprocess restores the default SIGPIPE action in the child.
                result = self.run_tool(cwd, self.ERROR_ARGS, stdout=write_end)
            finally:
                os.close(write_end)
            self.assertEqual((result.returncode, result.stderr), (99, b""))
            self.assertEqual(snapshot(cwd), {LOG: b"live"})

    def test_terminal_gets_the_same_bytes(self):
        import tty

        master, slave = os.openpty()
        try:
            tty.setraw(slave)
            with tempfile.TemporaryDirectory() as cwd:
                result = self.run_tool(cwd, self.ERROR_ARGS, stdout=slave)
            os.close(slave)
            slave = None
            received = b""
            while True:
                try:
                    chunk = os.read(master, 4096)
                except OSError:  # EIO once the terminal has no more writers
                    break
                if not chunk:
                    break
                received += chunk
        finally:
            if slave is not None:
                os.close(slave)
            os.close(master)
        self.assertEqual((result.returncode, result.stderr), (99, b""))
        self.assertEqual(received, rejected(MSG_MAX_COUNT))


@linux_only
class LinuxFreeSpaceTest(ToolTestCase):
    """Runs the tool on a 4 MiB tmpfs in a private mount namespace, filled so that exactly
    1 MiB (25 %) stays free."""

    PAGE = 4096
    TMPFS_SIZE = 4 * MB
    USED = 3 * MB
    SCRIPT = r'''
mnt=$1 stage=$2 out=$3 fill=$4
shift 4
mount -t tmpfs -o size=4m tmpfs "$mnt" || exit 125
cp -a "$stage"/. "$mnt"/ || exit 125
cd "$mnt" || exit 125
head -c "$fill" /dev/zero > fill || exit 125
"$@"
rc=$?
cp -a ./. "$out"/ || exit 125
exit $rc
'''

    @classmethod
    def setUpClass(cls):
        if not shutil.which("unshare"):
            raise unittest.SkipTest("unshare is not installed")
        with tempfile.TemporaryDirectory() as probe:
            result = subprocess.run(
                ["unshare", "-rm", "sh", "-c", 'mount -t tmpfs -o size=4m tmpfs "$1"', "sh", probe],
                stdin=subprocess.DEVNULL, capture_output=True, timeout=RUN_TIMEOUT)
        if result.returncode != 0:
            raise unittest.SkipTest(
                "a private tmpfs is not allowed here (unshare -rm / mount -t tmpfs): "
                + result.stderr.decode(errors="replace").strip())

    def pages(self, tree):
        count = 0
        for value in tree.values():
            if isinstance(value, dict):
                count += self.pages(value)
            else:
                content = value.content if isinstance(value, ReadOnly) else value
                count += -(-len(content) // self.PAGE)
        return count

    def check_on_tmpfs(self, args, before, after, status, stdout, outside=None, outside_after=None):
        """Runs the tool with its working directory on the tmpfs, which holds `before`.
        `outside` is a directory on another volume; "{outside}" in args stands for its path."""
        fill = self.USED - self.pages(before) * self.PAGE
        with tempfile.TemporaryDirectory() as top:
            mnt, stage, out, ext = (os.path.join(top, d) for d in ("mnt", "stage", "out", "ext"))
            for d in (mnt, stage, out, ext):
                os.mkdir(d)
            make_tree(stage, before)
            make_tree(ext, outside or {})
            args = [arg.replace("{outside}", ext) for arg in args]
            result = subprocess.run(
                ["unshare", "-rm", "sh", "-c", self.SCRIPT, "sh", mnt, stage, out, str(fill)]
                + TOOL + args,
                stdin=subprocess.DEVNULL, capture_output=True, timeout=RUN_TIMEOUT)
            self.assertEqual(result.stderr, b"")
            self.assertEqual(result.stdout, stdout)
            self.assertEqual(result.returncode, status)
            self.assertEqual(snapshot(out), {**after, "fill": Big(fill, b"\0" * HEAD_LEN)})
            self.assertEqual(snapshot(ext), outside_after or {})

    def test_free_space_thresholds(self):
        short_mb = b">>> Nicht genuegend Restspeicherplatz (1MB)!\r\n"
        short_percent = b">>> Nicht genuegend Restspeicherplatz (25%)!\r\n"
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}
        rotated = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"}
        cases = [
            ("1", 0, b"", rotated),
            ("0x1", 0, b"", rotated),
            ("0", 0, b"", rotated),
            ("2", 102, short_mb, before),
            ("$2", 102, short_mb, before),
            ("2147483647", 102, short_mb, before),
            ("25%", 0, b"", rotated),
            ("$19%", 0, b"", rotated),
            ("26%", 101, short_percent, before),
            ("100%", 101, short_percent, before),
            ("150%", 101, short_percent, before),
        ]
        for min_free, status, stdout, after in cases:
            with self.subTest(min_free=min_free):
                self.check_on_tmpfs([LOG, "2", "0", min_free], before, after, status, stdout)

    def test_the_working_directory_is_measured_not_the_log_volume(self):
        short_mb = b">>> Nicht genuegend Restspeicherplatz (1MB)!\r\n"
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}
        rotated = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"}
        cases = [("1", 0, b"", rotated), ("2", 102, short_mb, before)]
        for min_free, status, stdout, outside_after in cases:
            with self.subTest(min_free=min_free):
                self.check_on_tmpfs(["{outside}/" + LOG, "2", "0", min_free], {}, {}, status,
                                    stdout, outside=before, outside_after=outside_after)


if __name__ == "__main__":
    unittest.main()


@windows_only
class WindowsTest(ToolTestCase):
    def fixture(self, *args, **kwargs):
        return TOOL[:-1] + [os.environ["PELKWARDT_WINDOWS_FIXTURE"], *args]

    def test_quoted_log_name_with_blanks_is_one_argument(self):
        # The tool splits its own command line, so it is given one exactly as a script would write it.
        program = "Z:" + TOOL[-1].replace("/", "\\")
        cases = [
            (f'"{program}" "mein log.LOG" 1 0 0', 0, b"", {"mein log_00001.LOG": b"live"}),
            (f'"{program}"   mein" "log.LOG\t1 0 0 ""', 0, b"", {"mein log_00001.LOG": b"live"}),
            # Unquoted, the blank splits the name, and "log.LOG" stands where Max-Anzahl belongs.
            (f'"{program}" mein log.LOG 1 0 0', 99, rejected(MSG_MAX_COUNT), {"mein log.LOG": b"live"}),
        ]
        for line, status, stdout, after in cases:
            with self.subTest(line):
                with tempfile.TemporaryDirectory() as cwd:
                    make_tree(cwd, {"mein log.LOG": b"live"})
                    result = subprocess.run(self.fixture("run", line), cwd=cwd, stdin=subprocess.DEVNULL,
                                            capture_output=True, timeout=RUN_TIMEOUT)
                    self.assertEqual((result.returncode, result.stdout), (status, stdout))
                    self.assertEqual(snapshot(cwd), after)

    def test_log_held_open_for_writing_by_another_process_is_not_rotated(self):
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"})
            writer = subprocess.Popen(self.fixture("hold", LOG), cwd=cwd, stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE)
            try:
                self.assertEqual(writer.stdout.readline().strip(), b"ready")
                self.assertRun(cwd, [LOG, "2", "0", "0"], after={LOG: b"live", "Vorbank_00001.LOG": b"gen-1"})
            finally:
                writer.stdin.close()
                self.assertEqual(writer.wait(timeout=RUN_TIMEOUT), 0)
                writer.stdout.close()
            self.assertRun(cwd, [LOG, "2", "0", "0"],
                           after={"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"})

    def test_a_run_that_finds_the_rotation_locked_leaves_the_log_alone(self):
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1"}
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, before)
            other_run = subprocess.Popen(self.fixture("lock", LOG), cwd=cwd, stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE)
            try:
                self.assertEqual(other_run.stdout.readline().strip(), b"ready")
                self.assertRun(cwd, [LOG, "2", "0", "0"], after=before)
            finally:
                other_run.stdin.close()
                self.assertEqual(other_run.wait(timeout=RUN_TIMEOUT), 0)
                other_run.stdout.close()
            # The lock ends with the process that held it.
            self.assertRun(cwd, [LOG, "2", "0", "0"],
                           after={"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1"})

    def test_read_only_attribute(self):
        before = {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2"}
        cases = [
            # the read-only file, what the directory holds afterwards
            (LOG, {LOG: ReadOnly(b"live"), "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": b"gen-2"}),
            ("Vorbank_00002.LOG",
             {LOG: b"live", "Vorbank_00001.LOG": b"gen-1", "Vorbank_00002.LOG": ReadOnly(b"gen-2")}),
        ]
        for name, after in cases:
            with self.subTest(name):
                def set_read_only(cwd):
                    subprocess.run(self.fixture("readonly", name), cwd=cwd, check=True, timeout=RUN_TIMEOUT)
                self.check([LOG, "2", "0", "0"], before, after, prepare=set_read_only)


@linux_only
class HostileInputTest(ToolTestCase):
    """Inputs that a careless tool would hang, crash or destroy something on."""

    def test_hostile_log_names(self):
        long_component = "x" * 300  # longer than any file system allows for one name
        cases = [
            ("a device node", "/dev/null", {}, {}),
            ("a FIFO", LOG, {LOG: FIFO}, {LOG: FIFO}),
            ("a symlink to a directory", LOG, {LOG: Link("dir"), "dir": {}}, {LOG: Link("dir"), "dir": {}}),
            ("a dangling symlink", LOG, {LOG: Link("gone")}, {LOG: Link("gone")}),
            ("a newline in the name", "Vor\nbank.LOG", {"Vor\nbank.LOG": b"live"},
             {"Vor\nbank_00001.LOG": b"live"}),
            ("bytes above 127", os.fsdecode(b"Vorb\xe4nk.LOG"), {os.fsdecode(b"Vorb\xe4nk.LOG"): b"live"},
             {os.fsdecode(b"Vorb\xe4nk_00001.LOG"): b"live"}),
            ("a path longer than PATH_MAX", "d/" * 2100 + LOG, {LOG: b"live"}, {LOG: b"live"}),
            ("a name longer than NAME_MAX", long_component + ".LOG", {LOG: b"live"}, {LOG: b"live"}),
            ("an argument of 100 KiB", "y" * 102400, {LOG: b"live"}, {LOG: b"live"}),
            ("an empty name", "", {LOG: b"live", "_00001": b"x"}, {LOG: b"live", "_00001": b"x"}),
        ]
        for label, name, before, after in cases:
            with self.subTest(label):
                self.check([name, "2", "0", "0"], before, after, timeout=HANG_TIMEOUT)
        self.assertTrue(stat.S_ISCHR(os.stat("/dev/null").st_mode))

    def test_huge_numbers(self):
        rotated = {"Vorbank_00001.LOG": b"live"}
        cases = [
            ("10,000 digits of a small number", ["0" * 9999 + "3", "0", "0"], 0, b"", rotated),
            ("10,000 digits of a large number", ["9" * 10000, "0", "0"], 99, rejected(MSG_MAX_COUNT), None),
            ("100 KiB of blanks before a number", ["1", " " * 102400 + "0", "0"], 0, b"", rotated),
            ("100 KiB of garbage", ["1", "0", "%" * 102400], 99, rejected(MSG_PERCENT), None),
            ("100 KiB of hexadecimal zeros", ["1", "0", "$" + "0" * 102400], 0, b"", rotated),
        ]
        for label, numbers, status, stdout, after in cases:
            with self.subTest(label):
                before = {LOG: b"live"}
                self.check([LOG, *numbers], before, after or before, status=status, stdout=stdout)

    def test_symlinked_copies_move_as_links_and_their_targets_stay(self):
        with tempfile.TemporaryDirectory() as outside:
            make_tree(outside, {"target-1.LOG": b"elsewhere-1", "target-2.LOG": b"elsewhere-2"})
            link_1 = Link(os.path.join(outside, "target-1.LOG"))
            link_2 = Link(os.path.join(outside, "target-2.LOG"))
            before = {LOG: b"live", "Vorbank_00001.LOG": link_1, "Vorbank_00002.LOG": link_2}
            # The link in the top slot is deleted, the one below moves up; neither target is touched.
            after = {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": link_1}
            self.check([LOG, "2", "0", "0"], before, after)
            self.assertEqual(snapshot(outside), {"target-1.LOG": b"elsewhere-1", "target-2.LOG": b"elsewhere-2"})


@linux_only
class ConcurrentRunsTest(ToolTestCase):
    def test_a_second_run_during_a_rotation_deletes_nothing_more(self):
        if shutil.which("strace") is None:
            self.skipTest("strace is needed to hold a rotation in mid-cascade")
        generations = {f"Vorbank_{slot:05d}.LOG": f"gen-{slot}".encode() for slot in range(1, 6)}
        with tempfile.TemporaryDirectory() as cwd:
            make_tree(cwd, {LOG: b"live", **generations})
            # The first run sleeps after each rename, so the second starts while the first is between
            # moving slot 4 up and moving the live log.
            slow = subprocess.Popen(["strace", "-qq", "-o", "/dev/null", "-e", "trace=renameat2",
                                     "-e", "inject=renameat2:delay_exit=300000", *TOOL, LOG, "5", "0", "0"],
                                    cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
            try:
                deadline = time.monotonic() + RUN_TIMEOUT
                while os.path.exists(os.path.join(cwd, "Vorbank_00004.LOG")):
                    self.assertLess(time.monotonic(), deadline, "the first run never moved slot 4")
                    time.sleep(0.01)
                self.assertRun(cwd, [LOG, "5", "0", "0"])
            finally:
                out, _ = slow.communicate(timeout=RUN_TIMEOUT)
            self.assertEqual((slow.returncode, out), (0, b""))
            # Exactly one rotation's worth of change: only the oldest generation is gone.
            self.assertEqual(snapshot(cwd), {"Vorbank_00001.LOG": b"live", "Vorbank_00002.LOG": b"gen-1",
                                             "Vorbank_00003.LOG": b"gen-2", "Vorbank_00004.LOG": b"gen-3",
                                             "Vorbank_00005.LOG": b"gen-4"})
