#!/usr/bin/env python3
"""The client summary at a firm's scale, against one batch run per client.

    summary_bench.py <build dir> [--files 10000] [--sample 200] [--dir /tmp/summary-bench]

Generates the client files from DEMO.CLD (amounts scaled per client, a tenth with one
method only, a few broken), then times, each in a process of its own:
  summary   CaldrenCalc /summary <folder> /output summary.csv   (and to .xlsx)
  batch     CaldrenCalc /input <file> /output <report> /silent   for `--sample` files (the
            rest is extrapolated: 10,000 runs would take minutes)
and prints wall time, files per second and peak memory (maximum resident set) of each.
Not a test: the figures go to bench/RESULTS.md.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import time

parser = argparse.ArgumentParser()
parser.add_argument("build")
parser.add_argument("--files", type=int, default=10000)
parser.add_argument("--sample", type=int, default=200)
parser.add_argument("--dir", default="/tmp/summary-bench")
args = parser.parse_args()
program = os.path.join(os.path.abspath(args.build), "bin", "CaldrenCalc")
demo = open(os.path.join(args.build, "bin", "DEMO.CLD"), encoding="utf-8").read()


def client(i, rng):
    scale = rng.uniform(0.2, 5.0)
    def scaled(m):
        value = int(m.group(2).replace(",", ""))
        return f"{m.group(1)}{int(value * scale):,}"
    text = re.sub(r"^((?:\d+ )?(?:Current Assets|Securities|Current Liabilities|Inventory|"
                  r"Receivables|Sales|Purchases|Beginning \w+|Ending \w+|Net Sales|"
                  r"Cost of Goods Sold[^=]*|Operating Expense[^=]*)=)([\d,]+)",
                  scaled, demo, flags=re.M)
    text = re.sub(r"^Name=.*", f"Name=Client {i:05d}, Inc.", text, flags=re.M)
    if i % 10 == 3:
        text = text.replace("Peak Cycle=True", "Peak Cycle=False")
    if i % 1000 == 7:
        text = "not a data file\n"
    return text


def timed(command, cwd):
    """Wall seconds, peak memory (KiB, by /usr/bin/time: a forked Python's own memory would
    count otherwise), exit status and CPU seconds of one process."""
    stats = os.path.join(args.dir, "time.txt")
    start = time.perf_counter()
    code = subprocess.call(["/usr/bin/time", "-f", "%M %U %S", "-o", stats, *command], cwd=cwd,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    rss, user, system = open(stats).read().split()[-3:]
    return seconds, int(rss), code, float(user) + float(system)


shutil.rmtree(args.dir, ignore_errors=True)
clients = os.path.join(args.dir, "clients")
os.makedirs(clients)
rng = random.Random(23)
for i in range(args.files):
    with open(os.path.join(clients, f"client{i:05d}.cld"), "w", encoding="utf-8") as f:
        f.write(client(i, rng))
print(f"{args.files} files in {clients}; load average {os.getloadavg()[0]:.1f}; "
      f"{os.cpu_count()} cores")

for output in ("summary.csv", "summary.xlsx"):
    seconds, rss, code, cpu = timed([program, "/summary", clients, "/output", output], args.dir)
    print(f"summary -> {output}: {seconds:.2f} s ({cpu:.2f} s CPU), "
          f"{args.files / seconds:,.0f} files/s, peak memory {rss / 1024:.1f} MiB, exit {code}")

batch = os.path.join(args.dir, "batch")
os.makedirs(batch)
total = cpu_total = 0.0
peak = 0
for i in range(args.sample):
    name = os.path.join(batch, f"client{i:05d}.cld")
    shutil.copy(os.path.join(clients, f"client{i * (args.files // args.sample):05d}.cld"), name)
    seconds, rss, _, cpu = timed([program, "/input", name, "/output", name[:-4] + ".txt", "/silent"],
                            batch)
    total += seconds
    cpu_total += cpu
    peak = max(peak, rss)
per_run = total / args.sample
print(f"batch runs: {per_run * 1000:.1f} ms each ({cpu_total / args.sample * 1000:.1f} ms CPU, "
      f"{args.sample} runs), "
      f"{args.files} files extrapolated {per_run * args.files:.1f} s, "
      f"{1 / per_run:,.0f} files/s, peak memory {peak / 1024:.1f} MiB per run")
print(f"load average after: {os.getloadavg()[0]:.1f}")
