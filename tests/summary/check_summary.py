#!/usr/bin/env python3
"""The client summary against golden CSV, each file's own reports and its workbook.

    check_summary.py <CaldrenCalc> <scratch folder> <test data folder> <data file>...

The data files (and the test data's own) are copied into <scratch>/clients, two of them into
its subfolder "older", next to a broken file; then:
  golden    "/summary clients missing.cld /recursive /output summary.csv" gives exit status
            1 and data/golden.csv byte for byte; the data files are as they were, and no
            workbook library was loaded for it;
  reports   every figure of a row equals the one in that file's Summary report (and the
            cost of operations and the adjusted cycle those of its Detailed Analysis);
  workbook  the same run to .xlsx: its sheets, frozen heading row, filter, headings, and every
            value equal to the CSV's; the failures sheet lists the failed rows;
  exits     every line of data/exit_codes.txt gives its exit status.
"""
import csv
import datetime
import hashlib
import os
import re
import shutil
import subprocess
import sys
import zipfile
import xml.etree.ElementTree as ET

program, scratch, data, *sources = sys.argv[1:]
problems = []


def run(*args, env=None):
    return subprocess.run([program, *args], cwd=scratch, capture_output=True, text=True, env=env)


def prepare():
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(os.path.join(scratch, "clients", "older"))
    for i, src in enumerate(sources + [os.path.join(data, "quoted.cld")]):
        folder = "older" if i < 2 else ""
        shutil.copy(src, os.path.join(scratch, "clients", folder))
    with open(os.path.join(scratch, "clients", "broken.cld"), "w") as f:
        f.write("not a data file\n")


def snapshot():
    found = {}
    for dirpath, _, names in os.walk(os.path.join(scratch, "clients")):
        for n in names:
            p = os.path.join(dirpath, n)
            found[p] = hashlib.sha256(open(p, "rb").read()).hexdigest()
    return found


def check_golden():
    before = snapshot()
    env = dict(os.environ, LD_DEBUG="files")
    r = run("/summary", "clients", "missing.cld", "/recursive", "/output", "summary.csv", env=env)
    if r.returncode != 1:
        problems.append(f"golden: exit status {r.returncode}, expected 1")
    if "xlsxwriter" in r.stderr or "summarybook" in r.stderr:
        problems.append("golden: a CSV summary loaded the workbook library")
    got = open(os.path.join(scratch, "summary.csv"), "rb").read()
    if got != open(os.path.join(data, "golden.csv"), "rb").read():
        problems.append("golden: summary.csv differs from data/golden.csv:\n" + got.decode())
    if snapshot() != before:
        problems.append("golden: the summary changed the clients folder")


def report_figures(path):
    """The figures of the file's Summary report and two of its Detailed Analysis."""
    copy = os.path.join(scratch, "one.cld")
    shutil.copy(os.path.join(scratch, path), copy)
    out = os.path.join(scratch, "one.txt")
    if os.path.exists(out):
        os.remove(out)
    run("/input", copy, "/output", out, "/silent")
    text = open(out, encoding="utf-8").read().replace("\r", "")
    def values(label, last=True):
        lines = [l for l in text.split("\n") if l.lstrip().startswith(label)]
        line = lines[-1] if last else lines[0]
        return [int(v.replace("$", "").replace(",", "")) for v in
                re.findall(r"-?\$?[\d,]*\d(?![\d.%])", line[len(label) + 2:])]
    summary_start = max(text.rfind("Availablable Working"), text.rfind("Available Working Captial"))
    body = text[summary_start:]
    def summary(label):
        line = next(l for l in body.split("\n")
                    if l.lstrip().lower().startswith(label.lstrip().lower()))
        return [int(v.replace("$", "").replace(",", "")) for v in re.findall(r"-?\$?[\d,]*\d", line[38:])]
    f = {"available": summary("Availab")[0], "cost": values("Operating Expenses As Adj.", False)[0],
         "needed": summary(" For Business Cycle"), "before": summary(" is needed for"),
         "excess": summary("Excess Working Capital")}
    days = re.findall(r"Days In Adjusted Operating Cycle +([\d.]+)", text)
    f["days"] = days[-1] if days else None
    return f


def check_reports(rows):
    for row in rows:
        if row["Failure"]:
            continue
        f = report_figures(row["File"])
        methods = [m for m in ("Peak", "Average") if row[f"{m}: Excess Working Capital"]]
        got = {"available": int(row["Available Working Capital"]),
               "cost": int(row["Cost Of Operations"]),
               "needed": [int(row[f"{m}: Working Capital Needed"]) for m in methods],
               "before": [int(row[f"{m}: Excess Before Other Needs"]) for m in methods],
               "excess": [int(row[f"{m}: Excess Working Capital"]) for m in methods]}
        want = {k: f[k] for k in got}
        if got != want:
            problems.append(f"reports: {row['File']}: {got} != report {want}")
        if "Average" in methods and f["days"] and \
                float(row["Average: Adj. Operating Cycle - Days"]) != float(f["days"]):
            problems.append(f"reports: {row['File']}: adjusted days differ from {f['days']}")


def sheet_rows(book, name):
    ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
    root = ET.fromstring(book.read(name))
    rows = []
    for r in root.find("m:sheetData", ns):
        cells = {}
        for c in r:
            col = re.match(r"[A-Z]+", c.get("r")).group(0)
            t = c.find("m:is/m:t", ns)
            v = c.find("m:v", ns)
            cells[col] = t.text if t is not None else float(v.text)
        rows.append(cells)
    return root, rows


def check_workbook(rows):
    r = run("/summary", "clients", "missing.cld", "/recursive", "/output", "summary.xlsx")
    if r.returncode != 1:
        problems.append(f"workbook: exit status {r.returncode}, expected 1")
    book = zipfile.ZipFile(os.path.join(scratch, "summary.xlsx"))
    names = re.findall(r'<sheet name="([^"]+)"', book.read("xl/workbook.xml").decode())
    if names != ["Summary", "Failures"]:
        problems.append(f"workbook: sheets {names}")
    root, got = sheet_rows(book, "xl/worksheets/sheet1.xml")
    xml = book.read("xl/worksheets/sheet1.xml").decode()
    for needed in ('ySplit="1"', 'state="frozen"', "<autoFilter ref=", "<cols>"):
        if needed not in xml:
            problems.append(f"workbook: the summary sheet lacks {needed}")
    headings = list(rows[0].keys())
    cols = [chr(ord("A") + i) for i in range(len(headings))]
    if [got[0].get(c) for c in cols] != headings:
        problems.append(f"workbook: headings {got[0]}")
    for want, cells in zip(rows, got[1:]):
        for c, h in zip(cols, headings):
            value, cell = want[h], cells.get(c)
            if h == "Year Ending" and value:
                cell = (datetime.date(1899, 12, 30) + datetime.timedelta(days=cell)).isoformat()
            elif isinstance(cell, float):
                value = float(value)
            elif value.startswith("'"):
                value = value[1:]
            if (cell if cell is not None else "") != value:
                problems.append(f"workbook: {want['File']} {h}: {cell!r} != {value!r}")
    if len(got) != len(rows) + 1:
        problems.append(f"workbook: {len(got) - 1} rows, the CSV has {len(rows)}")
    _, failures = sheet_rows(book, "xl/worksheets/sheet2.xml")
    want = [{"A": r["File"], "B": r["Failure"]} for r in rows if r["Failure"]]
    if failures[1:] != want:
        problems.append(f"workbook: failures sheet {failures[1:]}")


def check_exits():
    for line in open(os.path.join(data, "exit_codes.txt")):
        if not line.strip() or line.startswith("#"):
            continue
        code, *args = line.split()
        shutil.copy(os.path.join(scratch, "clients", "DEMO.CLD"), os.path.join(scratch, "w.cld"))
        r = run(*args)
        if r.returncode != int(code):
            problems.append(f"exits: {' '.join(args)}: {r.returncode}, expected {code}\n{r.stderr}")


prepare()
check_golden()
with open(os.path.join(scratch, "summary.csv"), newline="", encoding="utf-8") as f:
    rows = list(csv.DictReader(f))
check_reports(rows)
check_workbook(rows)
check_exits()
for p in problems:
    print("FAIL:", p)
sys.exit(1 if problems else 0)
