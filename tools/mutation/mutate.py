#!/usr/bin/env python3
"""Mutation testing of the design engine and the simulation: plants one plausible
fault at a time (mutants.txt) in a scratch copy of the tree, rebuilds the test
programs that link the changed library and runs their tests under ctest. A mutant
is killed when a test fails (or the run times out), survives when every test
passes, is not applicable when its anchor text is not found exactly once, and a
build failure is reported but not counted.

  tools/mutation/mutate.py                 every mutant
  tools/mutation/mutate.py --list          the mutants and whether their anchors apply
  tools/mutation/mutate.py --only 'pm-*,coss-not-added'

The working tree is only read: the scratch copy lives in --scratch (default
/tmp/voltra-mutation) with a persistent build directory, so after the first run
each mutant recompiles one file (through ccache) and relinks the test programs.
"""

import argparse
import fcntl
import fnmatch
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
DEFAULT_MUTANTS = HERE / "mutants.txt"
# The plain-C++ test programs that link the engine or the simulation; the units'
# tests link the engine too but exercise none of it.
DEFAULT_TARGETS = ["engine_tests", "files_tests", "simulation_tests"]
# With --gui, the Qt programs that walk the circuit and show the verification.
GUI_TARGETS = ["print_tests", "design_screen_tests", "program_tests"]
# Tests run in this order, cheapest first, so most mutants die before ngspice runs.
STAGE_ORDER = ["engine_tests", "files_tests", "units_tests", "print_tests", "design_screen_tests",
               "program_tests", "simulation_tests"]


@dataclass
class Mutant:
    ident: str
    path: str
    why: str
    find: str
    into: str
    line: int  # where the mutant starts in the list file
    result: str = ""
    detail: str = ""
    seconds: float = 0.0


@dataclass
class Outcome:
    status: str
    detail: str = ""


KEYS = ("mutant", "file", "why", "find", "into")


def parse_mutants(path):
    """Blocks of 'key value' lines separated by blank lines; '#' starts a comment line.
    A repeated find or into line continues the text on a new line."""
    mutants = []
    block = {}
    start = 0

    def finish():
        if not block:
            return
        missing = [k for k in KEYS if k not in block]
        if missing:
            sys.exit(f"{path}:{start}: mutant lacks {', '.join(missing)}")
        mutants.append(Mutant(block["mutant"], block["file"], block["why"], block["find"], block["into"], start))

    for number, raw in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        if raw.startswith("#"):
            continue
        if not raw.strip():
            finish()
            block = {}
            continue
        key, _, value = raw.partition(" ")
        value = value.lstrip(" ")
        if key not in KEYS:
            sys.exit(f"{path}:{number}: unknown key {key!r}")
        if not block:
            start = number
        if key in ("find", "into") and key in block:
            block[key] += "\n" + value
        elif key in block:
            sys.exit(f"{path}:{number}: {key} given twice")
        else:
            block[key] = value
    finish()
    seen = set()
    for m in mutants:
        if m.ident in seen:
            sys.exit(f"{path}:{m.line}: mutant {m.ident} listed twice")
        seen.add(m.ident)
    return mutants


def anchor_count(tree, mutant):
    source = tree / mutant.path
    if not source.is_file():
        return 0
    return source.read_text(encoding="utf-8").count(mutant.find)


def tracked_files(tree):
    listing = subprocess.run(["git", "-C", str(tree), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                             check=True, capture_output=True).stdout
    return sorted({p for p in listing.decode().split("\0") if p and (tree / p).is_file()})


def sync_tree(tree, copy):
    """Makes copy hold the working tree's files; a file whose content is unchanged keeps
    its time stamp, so ninja rebuilds only what really differs."""
    copy.mkdir(parents=True, exist_ok=True)
    manifest = copy / ".mutation-manifest"
    previous = set(manifest.read_text().split("\n")) if manifest.exists() else set()
    files = tracked_files(tree)
    for name in files:
        source = tree / name
        target = copy / name
        data = source.read_bytes()
        if target.is_file() and target.read_bytes() == data:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        shutil.copymode(source, target)
    for stale in previous - set(files):
        if stale and (copy / stale).is_file():
            (copy / stale).unlink()
    manifest.write_text("\n".join(files))


class Runner:
    def __init__(self, args, copy, build):
        self.args = args
        self.copy = copy
        self.build = build
        self.env = dict(os.environ)
        self.env.update({
            "CMAKE_CXX_COMPILER_LAUNCHER": "ccache",
            "CMAKE_C_COMPILER_LAUNCHER": "ccache",
            # The copy's paths relative to its build directory are those of any
            # worktree's, so the copy and the worktrees share ccache entries.
            "CCACHE_BASEDIR": str(copy),
            "QT_QPA_PLATFORM": "offscreen",
        })
        self.targets = args.targets.split(",") if args.targets else DEFAULT_TARGETS + (GUI_TARGETS if args.gui else [])
        self.tests_by_target = {}

    def run(self, command, timeout=None):
        """Runs in its own process group, so a timeout or Ctrl-C ends the whole tree."""
        process = subprocess.Popen(command, cwd=self.copy, env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, start_new_session=True, text=True, errors="replace")
        try:
            output, _ = process.communicate(timeout=timeout)
        except BaseException:
            os.killpg(process.pid, signal.SIGKILL)
            process.communicate()
            raise
        return process.returncode, output

    def configure(self):
        if (self.build / "build.ninja").exists():
            return
        command = ["cmake", "-S", str(self.copy), "-B", str(self.build), "-G", "Ninja",
                   "-DCMAKE_BUILD_TYPE=RelWithDebInfo", f"-DVOLTRA_GUI={'ON' if self.args.gui else 'OFF'}"]
        code, output = self.run(command)
        if code != 0:
            sys.exit("cmake could not configure the copy:\n" + output)

    def compile(self):
        command = ["cmake", "--build", str(self.build), "-j", str(self.args.jobs), "--target", *self.targets]
        return self.run(command)

    def executables(self):
        stamps = {}
        for test in self.tests_by_target:
            exe = self.tests_by_target[test]["exe"]
            stamps[test] = exe.stat().st_mtime_ns if exe.exists() else 0
        return stamps

    def discover(self):
        """The ctest tests of each built test program, from ctest's own listing. The
        second run of a suite under a comma-decimal locale is left out: it repeats the
        same arithmetic."""
        code, output = self.run(["ctest", "--test-dir", str(self.build), "--show-only=json-v1"])
        if code != 0:
            sys.exit("ctest could not list the tests:\n" + output)
        listing = json.loads(output)
        by_target = {}
        for test in listing.get("tests", []):
            command = test.get("command") or []
            if not command or test["name"].startswith("comma_locale:"):
                continue
            target = Path(command[0]).name
            if target in self.targets:
                by_target.setdefault(target, {"exe": Path(command[0]), "names": []})["names"].append(test["name"])
        order = {name: i for i, name in enumerate(STAGE_ORDER)}
        self.tests_by_target = dict(sorted(by_target.items(), key=lambda kv: order.get(kv[0], len(order))))
        missing = [t for t in self.targets if t not in self.tests_by_target]
        if missing:
            sys.exit("no tests found for " + ", ".join(missing))

    def test(self, relinked, deadline):
        """Runs the tests of each relinked program, cheapest first, stopping at the first failure."""
        for target, entry in self.tests_by_target.items():
            if target not in relinked:
                continue
            pattern = "^(" + "|".join(re.escape(n) for n in entry["names"]) + ")$"
            command = ["ctest", "--test-dir", str(self.build), "-j", str(self.args.jobs), "--stop-on-failure",
                       "--timeout", str(self.args.test_timeout), "-R", pattern]
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                return Outcome("killed", "timed out")
            try:
                code, output = self.run(command, timeout=remaining)
            except subprocess.TimeoutExpired:
                return Outcome("killed", f"{target} timed out")
            if code != 0:
                failed = re.findall(r"\d+ - (\S+) \(", output)
                return Outcome("killed", failed[0] if failed else f"{target} failed")
        return Outcome("survived")


def apply_and_test(runner, mutant):
    source = runner.copy / mutant.path
    original = source.read_bytes()
    text = original.decode("utf-8")
    if text.count(mutant.find) != 1:
        return Outcome("n/a", f"anchor found {text.count(mutant.find)} times")
    before = runner.executables()
    source.write_text(text.replace(mutant.find, mutant.into), encoding="utf-8")
    try:
        code, output = runner.compile()
        if code != 0:
            errors = [line for line in output.splitlines() if "error" in line]
            return Outcome("build failure", errors[0].strip()[:100] if errors else "")
        # The clock starts after the build: a slow build on a busy machine is no kill.
        deadline = time.monotonic() + runner.args.timeout
        after = runner.executables()
        relinked = {t for t in after if after[t] != before[t]}
        return runner.test(relinked, deadline)
    finally:
        source.write_bytes(original)


def print_table(mutants):
    width = max(len(m.ident) for m in mutants)
    fwidth = max(len(m.path) for m in mutants)
    print(f"\n{'mutant':<{width}}  {'file':<{fwidth}}  {'result':<13}  {'s':>5}  detail")
    for m in mutants:
        print(f"{m.ident:<{width}}  {m.path:<{fwidth}}  {m.result:<13}  {m.seconds:5.0f}  {m.detail}")
    counts = {}
    for m in mutants:
        counts[m.result] = counts.get(m.result, 0) + 1
    killed = counts.get("killed", 0)
    counted = killed + counts.get("survived", 0)
    summary = ", ".join(f"{n} {r}" for r, n in sorted(counts.items()))
    rate = f"{100.0 * killed / counted:.1f} %" if counted else "n/a"
    print(f"\n{summary}\nkill rate {killed}/{counted} = {rate}")
    survivors = [m.ident for m in mutants if m.result == "survived"]
    if survivors:
        print("survived: " + ", ".join(survivors))


def interrupted(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--mutants", default=str(DEFAULT_MUTANTS), help="mutant list (default: %(default)s)")
    parser.add_argument("--only", help="comma-separated mutant names or shell patterns")
    parser.add_argument("--survivors-of", metavar="JSON",
                        help="only the mutants that survived in a run written with --json")
    parser.add_argument("--list", action="store_true", help="list the mutants and whether each anchor applies")
    parser.add_argument("--scratch", default="/tmp/voltra-mutation", help="copy and build directory (%(default)s)")
    parser.add_argument("--gui", action="store_true", help="build the Qt programs too and run their tests")
    parser.add_argument("--targets", help="comma-separated test programs instead of the default set")
    parser.add_argument("--jobs", type=int, default=2, help="build and test jobs (default: %(default)s)")
    parser.add_argument("--timeout", type=float, default=900, help="seconds for a mutant's tests (%(default)s)")
    parser.add_argument("--test-timeout", type=int, default=300, help="seconds per test (%(default)s)")
    parser.add_argument("--json", help="also write the results to this file")
    args = parser.parse_args()

    tree = Path(subprocess.run(["git", "-C", str(HERE), "rev-parse", "--show-toplevel"], check=True,
                               capture_output=True, text=True).stdout.strip())
    mutants = parse_mutants(args.mutants)
    if args.only:
        patterns = [p.strip() for p in args.only.split(",") if p.strip()]
        mutants = [m for m in mutants if any(fnmatch.fnmatchcase(m.ident, p) for p in patterns)]
        if not mutants:
            sys.exit(f"no mutant matches {args.only!r}")

    if args.survivors_of:
        survived = {m["ident"] for m in json.loads(Path(args.survivors_of).read_text()) if m["result"] == "survived"}
        mutants = [m for m in mutants if m.ident in survived]
        if not mutants:
            sys.exit(f"no mutant survived in {args.survivors_of}")

    if args.list:
        for m in mutants:
            count = anchor_count(tree, m)
            state = "applies" if count == 1 else f"n/a ({count} anchors)"
            print(f"{m.ident:<28} {m.path:<34} {state:<15} {m.why}")
        return 0

    # One run at a time per scratch directory: two would plant faults in the same copy.
    Path(args.scratch).mkdir(parents=True, exist_ok=True)
    lock = open(Path(args.scratch) / ".lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit(f"another mutation run is using {args.scratch}; give this one another --scratch")
    copy = Path(args.scratch) / "src"
    build = copy / ("build-gui" if args.gui else "build")
    # Ctrl-C or a kill reaches the finally blocks, which put every file back.
    # (SIGINT too: a shell starting the script in the background would have it ignored.)
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupted)
    started = time.monotonic()
    try:
        print(f"copying {tree} to {copy}", flush=True)
        sync_tree(tree, copy)
        runner = Runner(args, copy, build)
        runner.configure()
        print(f"building {', '.join(runner.targets)} unmutated", flush=True)
        code, output = runner.compile()
        if code != 0:
            print(output[-4000:])
            sys.exit("the unmutated tree does not build")
        runner.discover()
        baseline = runner.test(set(runner.tests_by_target), time.monotonic() + args.timeout)
        if baseline.status != "survived":
            sys.exit(f"the unmutated tree fails its tests ({baseline.detail}): fix that first")
        print(f"unmutated tree passes, {time.monotonic() - started:.0f} s", flush=True)

        for index, m in enumerate(mutants, 1):
            begun = time.monotonic()
            outcome = apply_and_test(runner, m)
            m.result, m.detail, m.seconds = outcome.status, outcome.detail, time.monotonic() - begun
            print(f"[{index}/{len(mutants)}] {m.ident}: {m.result} {m.detail} ({m.seconds:.0f} s)", flush=True)
    except KeyboardInterrupt:
        print("\ninterrupted; the copy is restored", file=sys.stderr)
        mutants = [m for m in mutants if m.result]
        if not mutants:
            return 130
    print_table(mutants)
    print(f"total {time.monotonic() - started:.0f} s")
    if args.json:
        Path(args.json).write_text(json.dumps([m.__dict__ for m in mutants], indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
