#!/usr/bin/env python3
"""Runs the suite against the hand-written mutants of tools/mutants.txt.

Each mutant is applied to a scratch copy of the work tree, built
incrementally, and run against every test; a mutant is killed when some test
fails (or times out), survives when all pass, and is stillborn when it does
not build. Prints each mutant's fate and the kill rate, and writes the
matrix of which test killed which mutant to <scratch>/kills.tsv.

  python3 tools/mutants.py                 every mutant
  python3 tools/mutants.py C01 R02 ...     only these
  python3 tools/mutants.py --check         only check that every mutant applies
  python3 tools/mutants.py --analyze       from the last kills.tsv: the tests
                                           that kill a mutant no other kills
  python3 tools/mutants.py --rows          from the last run's test output: the
                                           table rows that could go together,
                                           each mutant they catch still caught
  python3 tools/mutants.py --windows       the mutants marked "build: windows",
                                           cross-built, their tests under Wine
  python3 tools/mutants.py --tests RE ...  only the tests whose names match RE
                                           (ctest -R), for mutants of code that
                                           no other test reaches
  python3 tools/mutants.py --except RE     all but the tests whose names match
                                           (ctest -E): a slow test left out, its
                                           survivors run again with it

It is slow (a build and a whole test run per mutant) and runs outside CI.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(TOP, "tools", "mutants.txt")


class Mutant:
    def __init__(self, ident, fault):
        self.ident, self.fault = ident, fault
        self.file = None
        self.windows = False  # only the Windows build compiles the mutated code
        self.edits = []  # [original, replacement, nth], applied in order


def unescape(text):
    return text.replace("\u23ce", "\n")


def read_mutants(path):
    mutants, current = [], None
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        header = re.match(r"\[(\w+)\]\s*(.*)", line)
        if header:
            current = Mutant(header.group(1), header.group(2))
            mutants.append(current)
            continue
        field = re.match(r"(file|from|to|nth|build):\s?(.*)", line)
        if not field or current is None:
            sys.exit(f"{path}:{number}: cannot read this line")
        key, value = field.group(1), field.group(2).strip()
        if key == "file":
            current.file = value
        elif key == "build":
            current.windows = value == "windows"
        elif key == "from":
            current.edits.append([unescape(value), None, 1])
        elif not current.edits:
            sys.exit(f"{path}:{number}: {key} before from")
        elif key == "to":
            current.edits[-1][1] = unescape(value)
        else:
            current.edits[-1][2] = int(value)
    for m in mutants:
        if m.file is None or not m.edits or any(e[1] is None for e in m.edits):
            sys.exit(f"{path}: mutant {m.ident} lacks file, from or to")
    idents = [m.ident for m in mutants]
    if len(set(idents)) != len(idents):
        sys.exit(f"{path}: a mutant name is used twice")
    return mutants


def mutated(source, m):
    """The source with the mutant applied, or None when its text is not there."""
    for original, replacement, nth in m.edits:
        at = -1
        for _ in range(nth):
            at = source.find(original, at + 1)
            if at < 0:
                return None
        source = source[:at] + replacement + source[at + len(original):]
    return source


def run(command, cwd, log, timeout=None, env=None):
    """The command's exit status, -1 when it ran out of time; then it and
    every test it started are killed, so that none is left waiting."""
    with open(log, "w") as out:
        process = subprocess.Popen(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, env=env,
                                   start_new_session=True)
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return -1


def sync_tree(scratch):
    """Copies the work tree (tracked and new files) into scratch/src, leaving
    unchanged files untouched so that the build stays incremental."""
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=TOP,
                           capture_output=True, text=True, check=True).stdout.split("\n")
    src = os.path.join(scratch, "src")
    for name in filter(None, files):
        origin, copy = os.path.join(TOP, name), os.path.join(src, name)
        if not os.path.isfile(origin):
            continue
        data = open(origin, "rb").read()
        if os.path.isfile(copy) and open(copy, "rb").read() == data:
            continue
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        # A fresh time stamp: the build must see the copy as newer than what
        # it built from the copy before.
        shutil.copyfile(origin, copy)
        shutil.copymode(origin, copy)
    return src


def failed_tests(log):
    """The names of the tests that ctest reports as failed."""
    names, listing = [], False
    for line in open(log, errors="replace"):
        if "The following tests FAILED" in line:
            listing = True
        elif listing:
            found = re.match(r"\s*\d+ - (\S+)", line)
            if found:
                names.append(found.group(1))
    return names


def read_kills(scratch):
    """From <scratch>/kills.tsv, each killed mutant's killers; a mutant run
    again counts by its latest line."""
    path = os.path.join(scratch, "kills.tsv")
    if not os.path.isfile(path):
        sys.exit(f"no {path}: run the mutants first")
    fates = {}
    for line in open(path):
        ident, fate, tests = (line.rstrip("\n").split("\t") + [""])[:3]
        fates[ident] = (fate, [t for t in tests.split(",") if t])
    return {ident: tests for ident, (fate, tests) in fates.items() if fate == "killed"}


def analyze(scratch):
    killers = read_kills(scratch)
    unique = {}
    for ident, tests in killers.items():
        if len(tests) == 1:
            unique.setdefault(tests[0], []).append(ident)
    every = set(t for tests in killers.values() for t in tests)
    print("Tests that kill a mutant no other test kills:")
    for test in sorted(unique):
        print(f"  {test}: {' '.join(sorted(unique[test]))}")
    print("Tests that kill only mutants another test kills too:")
    for test in sorted(every - set(unique)):
        print(f"  {test}")


def table_rows():
    """The reasons that open the rows of the tests' tables ({"why", ...}),
    with the file each stands in."""
    rows = {}
    for folder, _, names in os.walk(os.path.join(TOP, "tests")):
        for name in filter(lambda n: n.endswith(".cpp"), names):
            path = os.path.join(folder, name)
            for line in open(path, encoding="utf-8"):
                found = re.match(r'\s*\{"([^"\\]*)"', line)
                if found and " " in found.group(1):
                    rows[found.group(1)] = os.path.relpath(path, TOP)
    return rows


def analyze_rows(scratch):
    """A row catches a mutant when its reason is printed in a failure of its
    test. Rows are dropped, fewest catches first, while every mutant they
    catch is still caught by a row or a test that is left."""
    rows = table_rows()
    catchers = {}
    for ident, tests in read_kills(scratch).items():
        log = os.path.join(scratch, "logs", ident + ".log")
        if not os.path.isfile(log):
            continue
        output, caught = open(log, errors="replace").read(), set()
        for test in tests:
            failure = re.search(r"\[ RUN +\] " + re.escape(test) + r"\n(.*?)\[ +FAILED +\] " +
                                re.escape(test), output, re.S)
            hits = [why for why in rows if failure and why in failure.group(1)]
            hits = [why for why in hits if not any(why != other and why in other for other in hits)]
            if hits:
                caught.update((test, why) for why in hits)
            else:
                caught.add((test, None))
        catchers[ident] = caught
    catches = {}
    for ident, caught in catchers.items():
        for catcher in caught:
            catches.setdefault(catcher, set()).add(ident)
    print("Rows whose every catch another row or test makes too (they could go together):")
    for (test, why), idents in sorted(catches.items(), key=lambda c: (len(c[1]), str(c[0]))):
        if why is not None and all(len(catchers[i]) > 1 for i in idents):
            for i in idents:
                catchers[i].discard((test, why))
            print(f"  {rows[why]}: {why} ({' '.join(sorted(idents))})")
    caught = {why for _, why in catches}
    print("Rows that catch no mutant:")
    for why, path in sorted(rows.items(), key=lambda r: r[1]):
        if why not in caught:
            print(f"  {path}: {why}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("only", nargs="*", help="names of the mutants to run")
    parser.add_argument("--check", action="store_true", help="only check that the mutants apply")
    parser.add_argument("--analyze", action="store_true", help="report unique kills")
    parser.add_argument("--rows", action="store_true", help="report rows that could go")
    parser.add_argument("--scratch", default=os.path.join(os.environ.get("TMPDIR", "/tmp"),
                                                          "tessaly-mutants"))
    parser.add_argument("--timeout", type=int, default=300, help="seconds for one test run")
    parser.add_argument("--tests", help="run only the tests whose names match (ctest -R)")
    parser.add_argument("--except", dest="excluded", help="leave out the tests that match (ctest -E)")
    parser.add_argument("--windows", action="store_true",
                        help="the Windows mutants, on the Windows build under Wine")
    args = parser.parse_args()
    if args.windows and "--scratch" not in sys.argv:
        args.scratch += "-windows"

    if args.rows:
        analyze_rows(args.scratch)
        return 0
    if args.analyze:
        analyze(args.scratch)
        return 0
    mutants = [m for m in read_mutants(LIST) if m.windows == args.windows]
    if args.only:
        mutants = [m for m in mutants if m.ident in args.only]
    broken = []
    for m in mutants:
        path = os.path.join(TOP, m.file)
        if not os.path.isfile(path) or mutated(open(path, encoding="utf-8").read(), m) is None:
            broken.append(m)
            print(f"missing  {m.ident}  {m.file}: the text is not there")
    if args.check:
        print(f"{len(mutants) - len(broken)} of {len(mutants)} mutants apply")
        return 1 if broken else 0

    os.makedirs(args.scratch, exist_ok=True)
    src = sync_tree(args.scratch)
    build = os.path.join(args.scratch, "build")
    log = os.path.join(args.scratch, "log")
    if not os.path.isfile(os.path.join(build, "build.ninja")):
        configure = ["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                     "-DTESSALY_BUILD_BENCH=OFF", "-DTESSALY_TEST_TIMEOUT=60"]
        if args.windows:
            configure += ["-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(src, "tools", "mingw-w64.cmake"),
                          "-DTESSALY_LINUX_BUILD=" + os.path.join(TOP, "build", "release")]
        if run(configure, TOP, log) != 0:
            sys.exit(f"configuring failed: see {log}")
    env_ctest = ["ctest", "--test-dir", build, "-j2", "--timeout", "60", "--output-on-failure"]
    if args.tests:
        env_ctest += ["-R", args.tests]
    if args.excluded:
        env_ctest += ["-E", args.excluded]
    # A mutant may walk or move outside its test's tree (a parent directory
    # taken for the chosen one): its tests get temporary directories of their
    # own, so that they never reach another program's files in /tmp.
    test_env = dict(os.environ, TMPDIR=os.path.join(args.scratch, "tmp"))
    os.makedirs(test_env["TMPDIR"], exist_ok=True)
    if run(["cmake", "--build", build], TOP, log) != 0:
        sys.exit(f"the unmutated tree does not build: see {log}")
    if run(env_ctest, TOP, log, args.timeout, test_env) != 0:
        sys.exit(f"the unmutated tree fails its tests: see {log}")

    killed = survived = stillborn = 0
    # Each mutant's test output is kept: the failures name the table rows
    # that caught it, so that rows which catch nothing of their own show.
    logs = os.path.join(args.scratch, "logs")
    os.makedirs(logs, exist_ok=True)
    kills = open(os.path.join(args.scratch, "kills.tsv"), "a" if args.only else "w")
    started = time.time()
    for m in mutants:
        if m in broken:
            kills.write(f"{m.ident}\tmissing\t\n")
            continue
        path = os.path.join(src, m.file)
        original = open(path, encoding="utf-8").read()
        try:
            with open(path, "w", encoding="utf-8") as out:
                out.write(mutated(original, m))
            if run(["cmake", "--build", build], TOP, log) != 0:
                fate, tests = "stillborn", []
                stillborn += 1
            else:
                # What a mutant's tests left behind (a file moved out of its
                # tree) must not meet the next mutant's.
                shutil.rmtree(test_env["TMPDIR"], ignore_errors=True)
                os.makedirs(test_env["TMPDIR"])
                status = run(env_ctest, TOP, log, args.timeout, test_env)
                shutil.copyfile(log, os.path.join(logs, m.ident + ".log"))
                tests = failed_tests(log) if status != 0 else []
                if status != 0:
                    fate = "killed"
                    killed += 1
                    if not tests:
                        tests = ["(the test run itself)"]
                else:
                    fate = "survived"
                    survived += 1
        finally:
            with open(path, "w", encoding="utf-8") as out:
                out.write(original)
        shown = f" by {len(tests)}: {', '.join(tests[:4])}{' ...' if len(tests) > 4 else ''}"
        print(f"{fate:9} {m.ident}  {m.file}: {m.fault}{shown if tests else ''}", flush=True)
        kills.write(f"{m.ident}\t{fate}\t{','.join(tests)}\n")
        kills.flush()

    kills.close()
    run(["cmake", "--build", build], TOP, log)
    tried = killed + survived
    rate = 100.0 * killed / tried if tried else 0.0
    print(f"\n{killed} of {tried} mutants killed ({rate:.1f} %), {survived} survived, "
          f"{stillborn} stillborn, {len(broken)} missing; {time.time() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
