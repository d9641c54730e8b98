#!/usr/bin/env python3
"""The workpaper recalculated by LibreOffice, figure by figure against the program.

For each data file: the case program writes the workbook and prints the program's figures
(engine properties, months, the Summary report). LibreOffice then converts every sheet to
CSV "as shown" twice: with recalculation on load always, and never (the cached values). The
test checks
  - the sheets of the workbook, and that every formula carries a cached value;
  - that the cached and the recalculated sheets show the same text, cell by cell;
  - every figure that names its engine property, and the Summary sheet against the Summary
    report, to the last digit shown;
  - a changed copy (a fifth decimal of .49995, a negative half, other net sales) edited in
    the sheet's XML and in the data file alike: the recalculated figures follow the program.
Without LibreOffice the test fails and says what to install.
"""
import argparse, csv, glob, os, re, shutil, subprocess, sys, zipfile
from decimal import Decimal, ROUND_HALF_EVEN

CSV_FILTER = 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1'
RECALC = '<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>%d</value></prop></item>'
# A changed input: data-file key, property, the text written into both.
CHANGES = [('Current Assets', 'CurAssets', '4850000.49995'),
           ('Other Adjustments to Available Working Capital', 'OtherWorkCapAdj', '-25000.5'),
           ('Net Sales', 'NetSales', None)]  # None: the case's net sales plus 1,234
failures = []


def fail(case, what):
    failures.append(f'{case}: {what}')


def run_case(exe, cld, xlsx):
    out = subprocess.run([exe, cld, xlsx], capture_output=True, text=True, timeout=60)
    if out.returncode != 0:
        raise RuntimeError(f'{exe} {cld}: {out.stdout}{out.stderr}')
    head, summary = out.stdout.split('summary:\n', 1)
    return dict(l.split('=', 1) for l in head.splitlines()), summary


def convert(soffice, profile, mode, files, outdir):
    os.makedirs(profile + '/user', exist_ok=True)
    with open(profile + '/user/registrymodifications.xcu', 'w') as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?><oor:items xmlns:oor="http://openoffice.org/2001/registry">'
                + RECALC % mode + '</oor:items>')
    subprocess.run([soffice, '-env:UserInstallation=file://' + profile, '--headless',
                    '--convert-to', CSV_FILTER, '--outdir', outdir] + files,
                   capture_output=True, timeout=240, check=True)


SHEETS = ['Inputs', 'Months', 'Peak Operating Cycle', 'Average Operating Cycle', 'Summary']


def sheets(outdir, stem):
    found = {}
    for name in SHEETS:
        path = os.path.join(outdir, f'{stem}-{name}.csv')
        if os.path.exists(path):
            with open(path, newline='', encoding='utf-8') as f:
                found[name] = list(csv.reader(f))
    return found


def number(text):
    t = text.replace('$', '').replace(',', '')
    if t.endswith('%'):
        return Decimal(t[:-1]) / 100, len(t[:-1].split('.')[1]) + 2 if '.' in t else 2
    return Decimal(t or '0'), len(t.split('.')[1]) if '.' in t else 0


def same(shown, program):
    """The sheet's text of a figure against the program's text, at the decimals shown."""
    value, places = number(shown)
    expected = number(program)[0].quantize(Decimal(1).scaleb(-places), ROUND_HALF_EVEN)
    return value == expected


def figures(case, book, props):
    """Each cell beside or below a program property against that property."""
    count = 0
    def check(sheet, shown, prop):
        nonlocal count
        if prop not in props:
            return fail(case, f'{sheet}: no program figure {prop}')
        count += 1
        if not same(shown, props[prop]):
            fail(case, f'{sheet}: {prop} shows {shown!r}, the program {props[prop]!r}')
    for name, rows in book.items():
        if name == 'Summary':
            continue
        for r, row in enumerate(rows):
            if name == 'Inputs' and len(row) > 3 and row[2] and re.fullmatch(r'[A-Z][A-Za-z0-9]+', row[3]):
                check(name, row[2], row[3])
            elif name != 'Inputs' and row and row[0] == 'Program property':
                for c, prop in enumerate(row):  # columns of a month table
                    if not prop.startswith('Monthly.'):
                        continue
                    for m, month in enumerate(rows[r + 1:]):
                        if len(month) <= c or not month[c] or not re.match(r'[-$\d]', month[c]):
                            break
                        check(name, month[c], f'month{m + 1}.' + prop.split('.')[1])
            elif name != 'Inputs' and len(row) > 2 and re.fullmatch(r'[A-Z][A-Za-z0-9]+', row[2]) \
                    and re.match(r'-?\$?\d', row[1]):
                check(name, row[1], row[2])
    return count


def summary(case, book, report):
    """The Summary sheet's figures in the order and the text of the Summary report."""
    printed = [re.findall(r'-?\$?\d[\d,]*', line[37:]) for line in report.splitlines()]
    printed = [p for p in printed if p]
    rows = [row[1:] for row in book.get('Summary', []) if len(row) > 1 and re.match(r'-?\$?\d', row[1])]
    shown = [[v for v in row if v] for row in rows]
    if shown != printed:
        fail(case, f'Summary sheet {shown} against the report {printed}')
    return sum(len(r) for r in shown)


def check_file(case, xlsx, props):
    """Sheets present, and a cached value after every formula."""
    with zipfile.ZipFile(xlsx) as z:
        names = re.findall(r'<sheet name="([^"]+)"', z.read('xl/workbook.xml').decode())
        expected = ['Inputs', 'Months'] + (['Peak Operating Cycle'] if props['DoPeakCycle'] else []) \
            + (['Average Operating Cycle'] if props['DoAveCycle'] else []) + ['Summary']
        if names != expected:
            fail(case, f'sheets {names}, expected {expected}')
        for n in range(len(names)):
            xml = z.read(f'xl/worksheets/sheet{n + 1}.xml').decode()
            if xml.count('<f>') != len(re.findall(r'</f><v>[^<]+</v>', xml)):
                fail(case, f'sheet {names[n]}: a formula without its cached value')


def change(cld, xlsx, out_cld, out_xlsx):
    """The same inputs changed in a copy of the data file and in the Inputs sheet's XML."""
    text = open(cld, encoding='latin-1').read()
    values = {}
    for key, prop, value in CHANGES:
        old = re.search(r'^' + re.escape(key) + r'=(.*)$', text, re.M).group(1).strip()
        values[prop] = value or str(Decimal(old.replace(',', '') or '0') + 1234)
        text = re.sub(r'^' + re.escape(key) + r'=.*$', key + '=' + values[prop], text, flags=re.M)
    open(out_cld, 'w', encoding='latin-1').write(text)
    with zipfile.ZipFile(xlsx) as z, zipfile.ZipFile(out_xlsx, 'w', zipfile.ZIP_DEFLATED) as w:
        strings = re.findall(r'<si><t[^>]*>([^<]*)</t></si>', z.read('xl/sharedStrings.xml').decode())
        for item in z.infolist():
            data = z.read(item.filename)
            if item.filename == 'xl/worksheets/sheet1.xml':
                xml = data.decode()
                for prop, value in values.items():
                    row = re.search(r'<c r="D(\d+)"[^>]*t="s"><v>%d</v>' % strings.index(prop), xml).group(1)
                    xml = re.sub(r'(<c r="B%s"[^>]*>)<v>[^<]*</v>' % row, r'\g<1><v>%s</v>' % value, xml)
                data = xml.encode()
            w.writestr(item, data)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--case', required=True)
    ap.add_argument('--soffice', default='')
    ap.add_argument('--scratch', required=True)
    ap.add_argument('inputs', nargs='+')
    a = ap.parse_args()
    if not a.soffice or not os.path.exists(a.soffice):
        print('FAIL: LibreOffice is not installed (soffice not found): '
              'apt-get install libreoffice-calc-nogui, or run scripts/setup-deps.sh')
        return 1
    files = []
    for i in a.inputs:
        files += sorted(glob.glob(os.path.join(i, '*.cld'))) if os.path.isdir(i) else [i]
    shutil.rmtree(a.scratch, ignore_errors=True)
    work = os.path.join(a.scratch, 'work')
    os.makedirs(work)
    cases = {}
    for path in files:
        stem = os.path.splitext(os.path.basename(path))[0]
        cld, xlsx = os.path.join(work, stem + '.cld'), os.path.join(work, stem + '.xlsx')
        shutil.copy(path, cld)
        props, report = run_case(a.case, cld, xlsx)
        text = open(cld, encoding='latin-1').read()
        props['DoPeakCycle'] = 'Peak Cycle=True' in text
        props['DoAveCycle'] = 'Average Cycle=True' in text
        cases[stem] = (xlsx, props, report)
        change(cld, xlsx, os.path.join(work, stem + '-changed.cld'), os.path.join(work, stem + '-changed.xlsx'))
        cases[stem + '-changed'] = (os.path.join(work, stem + '-changed.xlsx'),) + \
            run_case(a.case, os.path.join(work, stem + '-changed.cld'), os.path.join(work, 'ignored.xlsx'))
    books = sorted(c[0] for c in cases.values())
    convert(a.soffice, os.path.join(a.scratch, 'recalc'), 0, books, os.path.join(a.scratch, 'recalculated'))
    convert(a.soffice, os.path.join(a.scratch, 'cached'), 1,
            [c[0] for s, c in cases.items() if not s.endswith('-changed')], os.path.join(a.scratch, 'cached'))
    for stem, (xlsx, props, report) in sorted(cases.items()):
        before = len(failures)
        book = sheets(os.path.join(a.scratch, 'recalculated'), stem)
        if not book:
            fail(stem, 'LibreOffice wrote no sheets')
            continue
        n = figures(stem, book, props) + summary(stem, book, report)
        if not stem.endswith('-changed'):
            check_file(stem, xlsx, props)
            if sheets(os.path.join(a.scratch, 'cached'), stem) != book:
                fail(stem, 'the cached values show other text than the recalculated ones')
        print(f'{"ok  " if len(failures) == before else "FAIL"} {stem}: {n} figures compared')
    for f in failures:
        print('  ' + f)
    print(f'{len(cases) - len({f.split(":")[0] for f in failures})} passed, '
          f'{len({f.split(":")[0] for f in failures})} failed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
