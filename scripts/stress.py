#!/usr/bin/env python3
"""Stress test of batch runs side by side on shared files, stopped by signals at random moments.

Runs many batch runs ("/input ... /output ... /silent") and batch comparisons ("/compare
... /output ... /silent") at once, on a few shared data files (one of them a 1,000-month
analysis, whose reports take long to append) and report files, and stops some of them
after a random delay: with SIGKILL, or with SIGTERM, SIGINT or SIGHUP (--signals says which
share). After the runs, one comparison more on each report file takes its lock, and so
removes what a run killed in its append left. Then it checks what must hold:

  1. Every report file is a sequence of whole units: one unit is a batch run's Detailed
     Analysis and Summary reports together (adjacent, each followed by CR LF), or one
     comparison report. Nothing else: no piece of a report, no report alone.
  2. For every kind of unit, the number found lies between the number of runs of that
     kind that exited 0 (each of them wrote its unit) and that number plus the runs that
     a signal ended (a killed run may have written its unit or nothing). A run that
     failed wrote nothing: runs on a data file that cannot be calculated always fail and
     never leave a unit, and a run that TERM, INT or HUP stopped exits 128 + the signal
     with no unit left.
  3. Every data file holds exactly its old bytes or its new bytes (the old file with this
     program's version tag); the file that cannot be calculated keeps its old bytes.
  4. Runs that were not stopped exit 0 (or 1 for the file that cannot be calculated),
     never by a signal; a run sent TERM, INT or HUP exits 0, or 128 + the signal (or is
     ended by it when it came before the run began to watch for it, or after it ended).
  5. A temporary file (".<name>.<8 hex>~") that a killed run left beside a data file is
     gone once the next run on that file has ended, and after one last run on each data
     file none is left.

Interactive saves take part too: now and then a data file is saved as the windows save
it (taken in its lock file, its old bytes written beside it and renamed over it, given back).

Usage: scripts/stress.py [--program build/bin/CaldrenCalc] [--runs 300] [--jobs 6]
                         [--kill 0.1] [--signals 0.5] [--saves 0.3] [--seed 1]
Exit status 0 when every check held; the figures are printed at the end.
"""

import argparse
import fcntl
import os
import random
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TEMP_NAME = re.compile(r"^\..*\.[0-9a-f]{8}~$")


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--program", default=os.path.join(ROOT, "build", "bin", "CaldrenCalc"))
    p.add_argument("--runs", type=int, default=300)
    p.add_argument("--jobs", type=int, default=6)
    p.add_argument("--kill", type=float, default=0.1, help="share of runs stopped by a signal")
    p.add_argument("--signals", type=float, default=0.5,
                   help="share of those stopped by TERM, INT or HUP rather than KILL")
    p.add_argument("--saves", type=float, default=0.3, help="interactive saves per run started")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--keep", action="store_true", help="keep the scratch folder")
    return p.parse_args()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Stress:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.root = tempfile.mkdtemp(prefix="cldstress-")
        self.program_dir = os.path.join(self.root, "program")
        self.work = os.path.join(self.root, "shared folder")
        os.makedirs(self.program_dir)
        os.makedirs(self.work)
        bin_dir = os.path.dirname(os.path.abspath(args.program))
        # The program, the engine and the libraries they load; the windows stay behind.
        for name in os.listdir(bin_dir):
            if name == "CaldrenCalc" or (name.startswith("lib") and name.endswith(".so")
                                         and name != "libcaldrengui.so"):
                shutil.copy2(os.path.join(bin_dir, name), self.program_dir)
        self.program = os.path.join(self.program_dir, "CaldrenCalc")
        home = os.path.join(self.root, "home")
        self.env = {"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
                    "XDG_DATA_HOME": os.path.join(home, "data"), "PATH": "/usr/bin:/bin", "LC_ALL": "C"}

        demo = read(os.path.join(ROOT, "app", "data", "DEMO.CLD"))
        old = demo.replace(b"Version=CLD2026.12", b"Version=CLD2014.10")
        self.data = {}  # name -> (old bytes, new bytes or None when it always fails)
        # The reports of a batch run carry no name, so each client's contingencies differ.
        for i in range(3):
            self.data["client %d.cld" % i] = old.replace(b"Contingencies=150,000", b"Contingencies=15%d,000" % i)
        self.data["broken.cld"] = old.replace(b"Net Sales=7,900,000", b"Net Sales=0")
        self.data["large.cld"] = self.large(old)
        self.reports = ["reports A.txt", "reports B.txt"]
        self.units = {}      # kind -> unit bytes
        self.violations = []
        self.saves = 0
        self.new_bytes = {}  # data file -> bytes after a successful run

    @staticmethod
    def large(old):
        """The analysis with 1,000 months: its reports are about 115 KB."""
        out = [old[:old.index(b"Monthly Count=")], b"Monthly Count=1000\r\n"]
        for i in range(1, 1001):
            out.append(b"%d Date=%02d/15/%d\r\n%d Inventory=%d\r\n%d Receivables=%d\r\n%d Sales=%d\r\n"
                       b"%d Purchases=%d\r\n" % (i, (i - 1) % 12 + 1, 1942 + (i - 1) // 12, i, 1200000 + i * 7919 % 150000,
                                                   i, 900000 + i * 104729 % 200000, i, 600000 + i * 1299709 % 150000,
                                                   i, 450000 + i * 15485863 % 80000))
        return b"".join(out)

    def path(self, name):
        return os.path.join(self.work, name)

    def command(self, kind, report):
        if kind.startswith("compare"):
            names = ["client 0.cld", "client 1.cld"] + (["client 2.cld"] if kind == "compare3" else [])
            return ["/compare"] + [self.path(n) for n in names] + ["/output", self.path(report), "/silent"]
        return ["/input", self.path(kind), "/output", self.path(report), "/silent"]

    def start(self, kind, report):
        return subprocess.Popen([self.program] + self.command(kind, report), env=self.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, cwd=self.root, preexec_fn=self.stoppable)

    @staticmethod
    def stoppable():
        """Run under nohup or in the background, the runs would inherit SIGHUP, SIGINT and
        SIGQUIT ignored (and keep them so): they get the default back."""
        for s in (signal.SIGHUP, signal.SIGINT, signal.SIGQUIT, signal.SIGTERM):
            signal.signal(s, signal.SIG_DFL)

    def reset_data(self):
        for name, old in self.data.items():
            write(self.path(name), old)

    def learn_units(self):
        """Each kind of run once, alone, to learn the unit it appends and the new bytes."""
        self.reset_data()
        kinds = [n for n in self.data if n != "broken.cld"] + ["compare2", "compare3"]
        for kind in kinds:
            report = self.path("learn.txt")
            if os.path.exists(report):
                os.remove(report)
            code = self.start(kind, "learn.txt").wait()
            if code != 0:
                sys.exit("stress: a lone run of %s failed with %d" % (kind, code))
            self.units[kind] = read(report)
            if not kind.startswith("compare"):
                self.new_bytes[kind] = read(self.path(kind))
        os.remove(self.path("learn.txt"))
        code = self.start("broken.cld", "learn.txt").wait()
        if code != 1 or os.path.exists(self.path("learn.txt")):
            sys.exit("stress: a lone run of broken.cld gave %d or wrote a report" % code)
        self.reset_data()
        if os.path.exists(os.path.join(self.program_dir, "CLD_err.log")):
            os.remove(os.path.join(self.program_dir, "CLD_err.log"))

    def run(self):
        args = self.args
        kinds = [n for n in self.data] + ["compare2", "compare3"]
        weights = [3, 3, 2, 1, 2, 1, 1]
        done = []      # (kind, report, exit code, killed, start, end)
        running = []   # [process, kind, report, start, kill time or None]
        started = 0
        durations = [0.05]
        self.leftovers = []   # [temporary file, data file, when seen] of killed runs
        self.stopped = {}     # TERM, INT, HUP -> runs they were sent to
        self.by_error_path = 0
        self.left_by_kills = 0
        while started < args.runs or running:
            while started < args.runs and len(running) < args.jobs:
                kind = self.rng.choices(kinds, weights)[0]
                report = self.rng.choice(self.reports)
                now = time.monotonic()
                typical = sorted(durations)[len(durations) // 2]
                kill_at = now + self.rng.uniform(0, 1.5 * typical) if self.rng.random() < args.kill else None
                how = None
                if kill_at is not None:
                    how = signal.SIGKILL if self.rng.random() >= args.signals else self.rng.choice(
                        [signal.SIGTERM, signal.SIGINT, signal.SIGHUP])
                running.append([self.start(kind, report), kind, report, now, kill_at, how, None])
                started += 1
                if self.rng.random() < args.saves:
                    self.interactive_save(self.rng.choice(["client 0.cld", "client 1.cld", "client 2.cld"]))
            time.sleep(0.001)
            now = time.monotonic()
            for entry in list(running):
                proc, kind, report, begin, kill_at, how, sent = entry
                code = proc.poll()
                if code is None and kill_at is not None and now >= kill_at:
                    proc.send_signal(how)
                    entry[4], entry[6] = None, how
                    sent = how
                    if how == signal.SIGKILL:
                        code = proc.wait()
                if code is None:
                    continue
                running.remove(entry)
                # Ended by the signal itself: it may have left its unit (or nothing).
                killed = sent is not None and code == -sent
                if sent is not None and sent != signal.SIGKILL:
                    self.stopped[sent] = self.stopped.get(sent, 0) + 1
                    # 1 for the file that cannot be calculated, when the signal came too late.
                    if code not in (0, 128 + sent, -sent) and not (code == 1 and kind == "broken.cld"):
                        self.violations.append("%s stopped by %s exited %d" % (kind, sent.name, code))
                    if code == 128 + sent:
                        self.by_error_path += 1
                done.append((kind, report, code, killed, begin, now, sent))
                if not killed:
                    durations.append(now - begin)
                self.watch_leftovers(kind, killed, code, begin, now)
        return done

    def interactive_save(self, name):
        """The windows saving the analysis as it was before any batch run: they take the
        file in its lock file (holder written under the flock), write the old bytes beside
        it and rename them over it, as the program's own save does, and give it back."""
        lock = os.open(self.path("." + name + ".lock"), os.O_RDWR | os.O_CREAT | os.O_NOFOLLOW, 0o666)
        try:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.fstat(lock).st_size:
                return  # held: a window would open the file read-only and not save
            holder = "CaldrenCalc lock file\r\nUser=stress\r\nHost=%s\r\nPid=%d\r\nSince=%d\r\nBoot=\r\nStart=\r\n" % (
                socket.gethostname(), os.getpid(), int(time.time()))
            os.write(lock, holder.encode())
            fcntl.flock(lock, fcntl.LOCK_UN)
            temp = self.path("~interactive %d.tmp" % self.saves)
            write(temp, self.data[name])
            os.replace(temp, self.path(name))
            self.saves += 1
            fcntl.flock(lock, fcntl.LOCK_EX)
            os.ftruncate(lock, 0)
        finally:
            os.close(lock)

    def watch_leftovers(self, kind, killed, code, begin, now):
        """A killed run's temporary file must be gone once the next run on its file is done."""
        if kind.startswith("compare"):
            return
        prefix = "." + kind + "."
        if killed:
            # Files made before the killed run was reaped are its own: a run that takes the
            # lock afterwards removes them before it writes a temporary file of its own.
            reaped = time.time_ns()
            for name in os.listdir(self.work):
                try:
                    made = os.lstat(self.path(name)).st_ctime_ns
                except FileNotFoundError:
                    continue
                if name.startswith(prefix) and TEMP_NAME.match(name) and made < reaped:
                    self.leftovers.append([name, kind, now])
                    self.left_by_kills += 1
        elif code == 0:
            for item in list(self.leftovers):
                if item[1] == kind and item[2] < begin:
                    if os.path.exists(self.path(item[0])):
                        self.violations.append("%s was left by a killed run and is still there after the next run"
                                               % item[0])
                    self.leftovers.remove(item)

    def check(self, done):
        violations = self.violations
        figures = {"runs": len(done), "killed": sum(1 for d in done if d[3]), "interactive saves": self.saves}
        for kind, report, code, killed, _, _, sent in done:
            expected = 1 if kind == "broken.cld" else 0
            if not killed and code != expected and not (sent and code == 128 + sent):
                violations.append("%s on %s exited %d" % (kind, report, code))
        # Pairs of runs that ran at the same time on a shared file.
        def files(d):
            names = {d[1]}
            names.update(["client 0.cld", "client 1.cld", "client 2.cld"] if d[0].startswith("compare") else [d[0]])
            return names
        ordered = sorted(done, key=lambda d: d[4])
        pairs = 0
        for i, a in enumerate(ordered):
            for b in ordered[i + 1:]:
                if b[4] >= a[5]:
                    break
                if files(a) & files(b):
                    pairs += 1
        figures["concurrent pairs"] = pairs
        figures["exit 0"] = sum(1 for d in done if d[2] == 0)

        # One comparison more on each report file removes what a run killed in its append left.
        for report in self.reports:
            began = time.monotonic()
            code = self.start("compare2", report).wait()
            done.append(("compare2", report, code, False, began, time.monotonic(), None))
            if code != 0:
                violations.append("the last comparison on %s exited %d" % (report, code))
        figures["stopped by TERM, INT, HUP"] = ", ".join(
            str(self.stopped.get(s, 0)) for s in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP))
        figures["of them by the error path"] = self.by_error_path
        for report in self.reports:
            text = read(self.path(report)) if os.path.exists(self.path(report)) else b""
            found = {kind: 0 for kind in self.units}
            pos = 0
            while pos < len(text):
                kind = next((k for k, u in self.units.items() if text.startswith(u, pos)), None)
                if kind is None:
                    violations.append("%s: bytes at %d are no whole unit: %r" % (report, pos, text[pos:pos + 80]))
                    break
                found[kind] += 1
                pos += len(self.units[kind])
            for kind in self.units:
                ok = sum(1 for d in done if d[0] == kind and d[1] == report and d[2] == 0)
                killed = sum(1 for d in done if d[0] == kind and d[1] == report and d[3])
                if not ok <= found[kind] <= ok + killed:
                    violations.append("%s: %d units of %s, %d runs exited 0, %d were killed"
                                      % (report, found[kind], kind, ok, killed))
            figures["units in " + report] = sum(found.values())
            figures["killed after appending"] = figures.get("killed after appending", 0) + sum(found.values()) - sum(
                1 for d in done if d[1] == report and d[2] == 0)

        for name, old in self.data.items():
            now = read(self.path(name))
            if now != old and now != self.new_bytes.get(name):
                violations.append("%s holds neither its old nor its new bytes" % name)
        figures["temporary files left by kills"] = self.left_by_kills
        for name in self.data:
            if name != "broken.cld" and self.start(name, "final.txt").wait() != 0:
                violations.append("the last run on %s failed" % name)
        if self.start("broken.cld", "final.txt").wait() != 1:
            violations.append("the last run on broken.cld did not fail")
        left = [n for n in os.listdir(self.work) if TEMP_NAME.match(n)]
        if left:
            violations.append("temporary files left after the last runs: %s" % ", ".join(left))
        return figures, violations

    def finish(self):
        if not self.args.keep:
            shutil.rmtree(self.root, ignore_errors=True)
        else:
            print("scratch folder kept:", self.root)


def main():
    args = parse_args()
    stress = Stress(args)
    try:
        stress.learn_units()
        began = time.monotonic()
        done = stress.run()
        seconds = time.monotonic() - began
        figures, violations = stress.check(done)
    finally:
        stress.finish()
    figures["seconds"] = round(seconds, 1)
    figures["violations"] = len(violations)
    for key, value in figures.items():
        print("%-32s %s" % (key, value))
    for v in violations[:50]:
        print("VIOLATION:", v)
    return 1 if violations else 0


if __name__ == "__main__":
    sys.exit(main())
