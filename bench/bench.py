#!/usr/bin/env python3
"""Times pelkwardt side by side with what it must be measured against, and prints a table of medians.

Started by bench/run.sh, which builds the binaries. Three cases, each in a fresh temporary directory:

  1. a run that finds the log below its limit, against the floor (a static C program that only exits);
  2. a rotation of a log with five copies, against logrotate doing the same job;
  3. a cascade with Max-Anzahl 99998 over an empty directory, against a C program that makes the same
     99,999 stat calls.

How the runs alternate: hyperfine runs all the runs of one command before it starts the next, so a slow
patch of a shared machine would land on one contender only. Each case is therefore measured in many short
rounds: every round is one hyperfine call on all the case's commands with a few runs each (after one or
two warm-up runs), and the order of the commands rotates from round to round. The median quoted is over
all runs of all rounds, and a ratio is that of two such medians; beside it stand the quartiles of the
ratios of the single rounds' medians, which show how far the machine's noise moves it. hyperfine runs
each command without a shell (-N); the directory reset before each run is its --prepare, which is not
timed.

Environment: BENCH_SCALE (default 1) multiplies the number of rounds of every case (0.2 for a quick look).
"""
import argparse
import json
import os
import platform
import re
import shlex
import statistics
import subprocess
import sys
import tempfile

STAT_CALLS = {"stat", "lstat", "newfstatat", "fstatat64", "statx"}


def fail(message):
    sys.exit(f"bench: {message}")


def hyperfine_round(commands, prepares, warmup, runs, cwd, json_path):
    """One hyperfine call on the commands in the given order; returns each command's run times (s)."""
    argv = ["hyperfine", "-N", "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
            "--export-json", json_path]
    for prepare in prepares:
        argv += ["--prepare", prepare]
    argv += commands
    done = subprocess.run(argv, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        fail(f"hyperfine failed:\n{done.stdout}")
    with open(json_path) as f:
        return [result["times"] for result in json.load(f)["results"]]


def measure(title, contenders, warmup, runs, rounds, cwd):
    """contenders: (label, command, prepare or None). Returns {label: (all times, per-round medians)}."""
    print(f"{title}: {rounds} rounds of {runs} runs per command", file=sys.stderr, flush=True)
    times = {label: [] for label, _, _ in contenders}
    round_medians = {label: [] for label, _, _ in contenders}
    json_path = os.path.join(cwd, "..", "hyperfine.json")
    for r in range(rounds):
        k = r % len(contenders)
        order = contenders[k:] + contenders[:k]
        prepares = [prepare for _, _, prepare in order if prepare is not None]
        results = hyperfine_round([command for _, command, _ in order], prepares, warmup, runs, cwd, json_path)
        for (label, _, _), run_times in zip(order, results):
            times[label] += run_times
            round_medians[label].append(statistics.median(run_times))
    return {label: (times[label], round_medians[label]) for label in times}


def run(argv, cwd, check_status=True):
    done = subprocess.run(argv, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if check_status and done.returncode != 0:
        fail(f"{shlex.join(argv)} exited with {done.returncode}: {done.stdout!r} {done.stderr!r}")
    return done


def files_of(directory):
    result = {}
    for name in sorted(os.listdir(directory)):
        with open(os.path.join(directory, name), "rb") as f:
            result[name] = f.read()
    return result


def strace_counts(argv, cwd, out_path):
    """Calls per system call of one run under strace -f -c, and the total."""
    run(["strace", "-f", "-c", "-o", out_path] + argv, cwd)
    counts, total = {}, None
    with open(out_path) as f:
        for line in f:
            fields = line.split()
            if len(fields) < 5 or not fields[3].isdigit():
                continue
            if fields[-1] == "total":
                total = int(fields[3])
            else:
                counts[fields[-1]] = int(fields[3])
    if total is None:
        fail(f"no total in the strace summary of {shlex.join(argv)}")
    return counts, total


def peak_rss_kb(argv, cwd, samples=7):
    """Median of the maximum resident set size that /usr/bin/time -v reports over a few runs."""
    values = []
    for _ in range(samples):
        done = run(["/usr/bin/time", "-v"] + argv, cwd)
        match = re.search(rb"Maximum resident set size \(kbytes\): (\d+)", done.stderr)
        if not match:
            fail("no peak memory in the output of /usr/bin/time -v")
        values.append(int(match.group(1)))
    return statistics.median(values)


def heap_allocations(argv, cwd):
    """Number of heap allocations of one run under valgrind (dynamically linked binaries only)."""
    done = run(["valgrind", "--error-exitcode=125"] + argv, cwd)
    match = re.search(rb"total heap usage: ([\d,]+) allocs", done.stderr)
    if not match:
        fail(f"no heap summary from valgrind for {shlex.join(argv)}")
    return int(match.group(1).replace(b",", b""))


def milliseconds(seconds):
    ms = seconds * 1000
    return f"{ms:.3g} ms" if ms < 100 else f"{ms:.0f} ms"


def ratio_text(value, low, high, suffix=""):
    return f"{value:.2f}×{suffix} ({low:.2f}–{high:.2f})"


def quartiles(values):
    if len(values) < 2:
        return values[0], values[0]
    q = statistics.quantiles(values, n=4)
    return q[0], q[2]


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    versions = []
    for argv in (["hyperfine", "--version"], ["logrotate", "--version"]):
        done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        versions.append(done.stdout.splitlines()[0].strip() if done.stdout else argv[0])
    return f"{os.cpu_count()} CPUs ({model}), Linux {platform.release()}; " + ", ".join(versions)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True, help="the statically linked release binary")
    parser.add_argument("--dynamic", required=True, help="the same, linked dynamically (the default build)")
    parser.add_argument("--floor", required=True)
    parser.add_argument("--stat-loop", required=True)
    parser.add_argument("--reset", required=True)
    args = parser.parse_args()
    tool, dynamic, floor, stat_loop = (os.path.abspath(p) for p in (args.tool, args.dynamic, args.floor,
                                                                     args.stat_loop))
    reset = os.path.abspath(args.reset)
    scale = float(os.environ.get("BENCH_SCALE", "1"))

    def rounds(default):
        return max(1, round(default * scale))

    top = 99998

    with tempfile.TemporaryDirectory(prefix="pelkwardt-bench-") as temp:
        quiet_dir, rotation_dir, cascade_dir = (os.path.join(temp, name) for name in ("quiet", "rotation", "cascade"))
        for directory in (quiet_dir, rotation_dir, cascade_dir):
            os.mkdir(directory)
        with open(os.path.join(quiet_dir, "Vorbank.LOG"), "w") as f:
            f.write("live log line\n" * 100)
        conf = os.path.join(temp, "logrotate.conf")
        with open(conf, "w") as f:
            f.write(f"{os.path.join(rotation_dir, 'Vorbank.LOG')} {{\n    size 0\n    rotate 5\n    nocreate\n}}\n")
        os.chmod(conf, 0o644)

        def prepare(mode, directory):
            return shlex.join(["sh", reset, mode, directory])

        def reset_now(mode, directory):
            run(["sh", reset, mode, directory], temp)

        # Each contender does its job, and nothing else, before any timing.
        quiet_args = ["Vorbank.LOG", "5", "100", "0"]
        before = files_of(quiet_dir)
        for binary in (tool, dynamic):
            done = run([binary] + quiet_args, quiet_dir)
            if done.stdout or files_of(quiet_dir) != before:
                fail("the run below the limit printed something or changed the directory")
        rotation_args = ["Vorbank.LOG", "5", "0", "0"]
        logrotate_argv = ["logrotate", "-s", "logrotate.state", conf]
        expected = {1: b"live log line\n", 2: b"copy 1\n", 3: b"copy 2\n", 4: b"copy 3\n", 5: b"copy 4\n"}
        for binary in (tool, dynamic):
            reset_now("rotation-pelkwardt", rotation_dir)
            run([binary] + rotation_args, rotation_dir)
            if files_of(rotation_dir) != {f"Vorbank_{slot:05d}.LOG": text for slot, text in expected.items()}:
                fail(f"pelkwardt did not rotate as expected: {sorted(files_of(rotation_dir))}")
        reset_now("rotation-logrotate", rotation_dir)
        run(logrotate_argv, rotation_dir)
        rotated = files_of(rotation_dir)
        rotated.pop("logrotate.state", None)
        if rotated != {f"Vorbank.LOG.{slot}": text for slot, text in expected.items()}:
            fail(f"logrotate did not rotate as expected: {sorted(rotated)}")
        cascade_args = ["Vorbank.LOG", str(top), "0", "0"]
        reset_now("cascade", cascade_dir)
        run([tool] + cascade_args, cascade_dir)
        if sorted(os.listdir(cascade_dir)) != ["Vorbank_00001.LOG"]:
            fail("the cascade did not end with the live log in slot 1")
        reset_now("cascade", cascade_dir)
        run([stat_loop, "Vorbank.LOG", str(top)], cascade_dir)

        # The floor runs in case 2 as well, after the same reset as pelkwardt: the reset (a shell and rm)
        # leaves the machine's caches colder, which slows whatever runs next, and the floor shows by how
        # much. No program can beat logrotate by more than the ratio of logrotate's time to that floor.
        q = shlex.join
        case1 = measure("case 1, log below its limit",
                        [("floor", q([floor]), None),
                         ("tool", q([tool] + quiet_args), None),
                         ("dynamic", q([dynamic] + quiet_args), None)], 2, 5, rounds(60), quiet_dir)
        case2 = measure("case 2, rotation with five copies",
                        [("logrotate", q(logrotate_argv), prepare("rotation-logrotate", rotation_dir)),
                         ("tool", q([tool] + rotation_args), prepare("rotation-pelkwardt", rotation_dir)),
                         ("dynamic", q([dynamic] + rotation_args), prepare("rotation-pelkwardt", rotation_dir)),
                         ("floor", q([floor]), prepare("rotation-pelkwardt", rotation_dir))],
                        1, 3, rounds(40), rotation_dir)
        case3 = measure(f"case 3, cascade with Max-Anzahl {top}",
                        [("stat_loop", q([stat_loop, "Vorbank.LOG", str(top)]), prepare("cascade", cascade_dir)),
                         ("tool", q([tool] + cascade_args), prepare("cascade", cascade_dir))],
                        1, 2, rounds(15), cascade_dir)

        # Case 1's system calls and peak memory.
        strace_out = os.path.join(temp, "strace.txt")
        _, calls_tool = strace_counts([tool] + quiet_args, quiet_dir, strace_out)
        _, calls_dynamic = strace_counts([dynamic] + quiet_args, quiet_dir, strace_out)
        _, calls_floor = strace_counts([floor], quiet_dir, strace_out)
        rss_tool = peak_rss_kb([tool] + quiet_args, quiet_dir)
        rss_dynamic = peak_rss_kb([dynamic] + quiet_args, quiet_dir)
        rss_floor = peak_rss_kb([floor], quiet_dir)

        # Case 3's cost per pass: the difference between a cascade of 6 passes and one of 99,999.
        small = 5
        per_pass = {}
        for passes in (small, top):
            reset_now("cascade", cascade_dir)
            counts, total = strace_counts([tool, "Vorbank.LOG", str(passes), "0", "0"], cascade_dir, strace_out)
            stats = sum(n for name, n in counts.items() if name in STAT_CALLS)
            reset_now("cascade", cascade_dir)
            per_pass[passes] = (stats, total, heap_allocations([dynamic, "Vorbank.LOG", str(passes), "0", "0"],
                                                                cascade_dir))
        extra = top - small
        stat_per_pass = (per_pass[top][0] - per_pass[small][0]) / extra
        other_per_pass = ((per_pass[top][1] - per_pass[small][1]) - (per_pass[top][0] - per_pass[small][0])) / extra
        allocations_per_pass = (per_pass[top][2] - per_pass[small][2]) / extra

    def median(case, label):
        return statistics.median(case[label][0])

    def ratio(case, numerator, denominator):
        rounds_ratio = [n / d for n, d in zip(case[numerator][1], case[denominator][1])]
        return (median(case, numerator) / median(case, denominator),) + quartiles(rounds_ratio)

    r1, r1_low, r1_high = ratio(case1, "tool", "floor")
    r1d, r1d_low, r1d_high = ratio(case1, "dynamic", "floor")
    r2, r2_low, r2_high = ratio(case2, "logrotate", "tool")
    r2d, r2d_low, r2d_high = ratio(case2, "logrotate", "dynamic")
    r2f, r2f_low, r2f_high = ratio(case2, "logrotate", "floor")
    r3, r3_low, r3_high = ratio(case3, "tool", "stat_loop")

    def verdict(met):
        return "met" if met else "**missed**"

    rows = [
        ("1. log below its limit", "floor: static C program that only exits", median(case1, "floor"), "1", ""),
        ("", "`pelkwardt Vorbank.LOG 5 100 0` (static)", median(case1, "tool"),
         ratio_text(r1, r1_low, r1_high), f"≤ 1.25×: {verdict(r1 <= 1.25)}"),
        ("", "the same, dynamically linked", median(case1, "dynamic"),
         ratio_text(r1d, r1d_low, r1d_high), "for comparison"),
        ("2. rotation, five copies", "`logrotate -s logrotate.state logrotate.conf`", median(case2, "logrotate"),
         "1", ""),
        ("", "`pelkwardt Vorbank.LOG 5 0 0` (static)", median(case2, "tool"),
         ratio_text(r2, r2_low, r2_high, " faster"), f"≥ 10× faster: {verdict(r2 >= 10)}"),
        ("", "the same, dynamically linked", median(case2, "dynamic"),
         ratio_text(r2d, r2d_low, r2d_high, " faster"), "for comparison"),
        ("", "floor, after the same reset", median(case2, "floor"),
         ratio_text(r2f, r2f_low, r2f_high, " faster"), "the most any program can reach"),
        (f"3. cascade, Max-Anzahl {top}", f"`stat_loop Vorbank.LOG {top}`: {top + 1} stat calls",
         median(case3, "stat_loop"), "1", ""),
        ("", f"`pelkwardt Vorbank.LOG {top} 0 0` (static)", median(case3, "tool"),
         ratio_text(r3, r3_low, r3_high), f"≤ 1.2×: {verdict(r3 <= 1.2)}"),
    ]
    runs = {n: (len(case["tool"][0]), len(case["tool"][1])) for n, case in ((1, case1), (2, case2), (3, case3))}
    print()
    print(f"Machine: {machine()}")
    print("Runs per command: " + ", ".join(f"{r} in {k} rounds (case {n})" for n, (r, k) in runs.items()) +
          "; in brackets the quartiles of the rounds' ratios.")
    print()
    print("| Case | Command | Median | Ratio | Goal |")
    print("|---|---|---:|---|---|")
    for case, command, seconds, ratio_cell, goal in rows:
        print(f"| {case} | {command} | {milliseconds(seconds)} | {ratio_cell} | {goal} |")
    print()
    print(f"Case 1, system calls (strace -f -c): {calls_tool} static, {calls_dynamic} dynamic, "
          f"{calls_floor} for the floor")
    print(f"Case 1, peak memory (/usr/bin/time -v, median of 7): {rss_tool:.0f} KB static, "
          f"{rss_dynamic:.0f} KB dynamic, {rss_floor:.0f} KB for the floor")
    above_logrotate = median(case2, "logrotate") - median(case2, "floor")
    above_tool = median(case2, "tool") - median(case2, "floor")
    if above_tool > 0:
        print(f"Case 2, time above the floor: {milliseconds(above_logrotate)} logrotate, "
              f"{milliseconds(above_tool)} pelkwardt ({above_logrotate / above_tool:.1f}× less)")
    print(f"Case 3, per pass: {stat_per_pass:.3f} stat calls, {other_per_pass:.3f} other system calls "
          f"(strace -f -c), {allocations_per_pass:.3f} heap allocations (valgrind); "
          f"{per_pass[small][2]} allocations in a run of any length")
    ok = stat_per_pass == 1 and other_per_pass == 0 and allocations_per_pass == 0
    if not ok:
        print("Case 3: a pass does more than one existence test")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
