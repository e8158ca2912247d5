#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Экспорт таблицы as the user's spreadsheet and other programs read it.

zorbinta-headless shows every kind of page with a list on a generated
catalogue and exports each in both dialects. Python's csv module reads each
RFC 4180 file back to exactly the rows of the page (every page of a paged
list, in order); LibreOffice Calc, started once per dialect with that
dialect's import options, reads every file with each number a number and
the Cyrillic intact.

    csv_in_calc.py HEADLESS APP_DIR GEN_CATALOGUE
"""

import csv
import glob
import html.parser
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SKIP = 77


class Rows(html.parser.HTMLParser):
    """Every table row of a page: its cells' texts, with colspan kept."""

    def __init__(self):
        super().__init__()
        self.rows, self.row, self.cell = [], None, None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.row = []
        elif tag == "td" and self.row is not None:
            self.cell = {"text": "", "colspan": dict(attrs).get("colspan")}

    def handle_endtag(self, tag):
        if tag == "td" and self.cell is not None:
            self.cell["text"] = self.cell["text"].strip()
            self.row.append(self.cell)
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.rows.append(self.row)
            self.row = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell["text"] += data


def table_rows(page):
    parser = Rows()
    parser.feed(page)
    return parser.rows


def texts(row):
    return [c["text"].replace("\xa0", " ").strip() for c in row]


class Headless:
    """The program driven a line at a time; each line's output read up to
    the answer of a query sent after it."""

    def __init__(self, binary, folder):
        self.proc = subprocess.Popen([binary, "--offline", folder], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, encoding="utf-8")

    def run(self, line):
        self.proc.stdin.write(line + "\nshow location\n")
        self.proc.stdin.flush()
        out = []
        while True:
            got = self.proc.stdout.readline()
            if not got:
                raise SystemExit(f"the program ended after: {line}\n{''.join(out)}")
            if got.startswith("=== location "):
                return "".join(out)
            out.append(got)

    def page(self, line):
        out = self.run(line)
        start = out.rfind("=== page ")
        if start < 0:
            raise SystemExit(f"no page after: {line}\n{out}")
        body = out[out.index("\n", start) + 1:]
        return body[:body.rindex("=== end")]

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def same_cell(shown, written):
    """A page cell against its CSV cell: numbers by value (7,50 is 7.5)."""
    number = re.fullmatch(r"-?\d+(,\d+)?", shown)
    if number:
        try:
            return math.isclose(float(shown.replace(",", ".")), float(written))
        except ValueError:
            return False
    return shown == written


def check_rows(kind, shown, written, failures):
    if len(shown) != len(written):
        failures.append(f"{kind}: {len(written)} rows in the file, {len(shown)} on the pages")
    for k, (a, b) in enumerate(zip(shown, written)):
        if len(a) != len(b) or not all(same_cell(x, y) for x, y in zip(a, b)):
            failures.append(f"{kind}: row {k + 1}: page {a} file {b}")


def read_rfc(path):
    with open(path, newline="", encoding="utf-8") as f:
        data = f.read()
    assert not data.startswith("\ufeff"), path
    assert data.endswith("\r\n"), path
    return list(csv.reader(data.splitlines(keepends=True)))


def calc_cells(fods):
    """Every row of the first sheet: (type, value) per cell."""
    ns = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
          "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
          "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0"}
    rows = []
    sheet = ET.parse(fods).getroot().find(".//table:table", ns)
    for tr in sheet.iter(f"{{{ns['table']}}}table-row"):
        row = []
        for td in tr.findall("table:table-cell", ns):
            repeat = int(td.get(f"{{{ns['table']}}}number-columns-repeated", "1"))
            kind = td.get(f"{{{ns['office']}}}value-type")
            value = td.get(f"{{{ns['office']}}}value")
            text = "\n".join("".join(p.itertext()) for p in td.findall("text:p", ns))
            row.extend([(kind, value if kind == "float" else text)] * min(repeat, 64))
        while row and row[-1] == (None, ""):
            row.pop()
        rows.append(row)
    while rows and not rows[-1]:
        rows.pop()
    return rows


def main():
    headless, app_dir, gen = sys.argv[1:4]
    soffice = shutil.which("soffice")
    if soffice is None:
        print("LibreOffice (soffice) is not installed")
        return SKIP
    work = tempfile.mkdtemp(prefix="zorbinta-csv-")
    try:
        return check(headless, app_dir, gen, soffice, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def check(headless, app_dir, gen, soffice, work):
    folder = os.path.join(work, "program")
    shutil.copytree(app_dir, folder)
    subprocess.run([sys.executable, gen, "--records", "60", os.path.join(folder, "base.db")],
                   check=True)
    subprocess.run([sys.executable, gen, "--records", "60", "--earlier",
                    os.path.join(folder, "base.db.prev")], check=True)
    out = os.path.join(work, "out")
    os.mkdir(out)
    program = Headless(headless, folder)
    program.run("start")
    failures = []
    # Off on the start page, where the item does nothing at all.
    if "=== menu N25 off" not in program.run("show menu N25") or program.run(
            f"menu N25 {out}/start.csv"):
        failures.append("N25 is not off on the start page")
    shown = {}

    def export(kind):
        for dialect in ("excel", "rfc"):
            path = os.path.join(out, f"{kind} {dialect}.csv")
            said = program.run(f"menu N25 {path} {dialect}")
            if f"=== saved {path}\n" not in said:
                failures.append(f"{kind}: {dialect} not saved: {said}")

    def paged(first, word):
        """The data rows of every page of a list, by its page links."""
        page = program.page(first)
        pages = [page] + [program.page(f"navigate {word}page{n}")
                          for n in range(2, len(re.findall(rf'href="{word}page\d+"', page)) + 1)]
        return page, pages

    # Search results: the price field orders them dearest first, on every page.
    program.run("menu N6")
    program.run("set Edit6 9999")
    page, pages = paged("press Button1", "stoim")
    program.page("navigate stoimpage1")
    if "=== menu N25 on" not in program.run("show menu N25") or program.run("menu N25"):
        failures.append("N25 is not on on the results page, or its cancel did something")
    export("poisk")
    rows = []
    for p in pages:
        for r in table_rows(p):
            if len(r) == 6 and r[0]["text"] != "Тарифный план":
                rows.append(texts(r))
    shown["poisk"] = rows

    compared = program.page("submit srav 3 1 3")
    export("sravnenie")
    shown["sravnenie"] = transposed(table_rows(compared))
    card = program.page("navigate provid=2")
    export("provajder")
    shown["provajder"] = transposed(table_rows(card))
    free = program.page("menu N9")
    export("besplatnyj-hosting")
    offers = [texts(r)[1] for r in table_rows(free)]
    shown["besplatnyj-hosting"] = [offers[k:k + 5] for k in range(0, len(offers), 5)]
    page, pages = paged("menu N13", "dom")
    program.page("menu N13")
    export("domeny")
    shown["domeny"] = [texts(r) for p in pages for r in table_rows(p)
                       if len(r) == 4 and r[0]["text"] != "Зона"]
    changes = program.page("menu N16")
    export("izmeneniya")

    # The decision pages, after a search that some plans miss by one condition.
    program.run("menu N6")
    program.run("set Edit1 300")
    program.run("set Edit6 15")
    program.page("press Button1")
    # Every plan, over two years, without a domain: a list of several pages,
    # exported from its last page.
    program.page("menu N22")
    page = program.page("submit cost - 2")
    links = {int(n): h.replace("&amp;", "&")
             for h, n in re.findall(r'href="(itog\?[^"]*&(?:amp;)?list=(\d+))"', page)}
    pages = [page] + [program.page("navigate " + links[n]) for n in sorted(links) if n > 1]
    if len(pages) < 2:
        failures.append("stoimost-sajta: a list of one page")
    export("stoimost-sajta")
    shown["stoimost-sajta"] = [texts(r) for p in pages for r in table_rows(p)
                               if len(r) == 8 and r[0]["text"] != "Тарифный план"]
    near = program.page("menu N20")
    export("pochti-podhodyashchie")
    shown["pochti-podhodyashchie"] = [
        [re.sub("<[^>]*>", "", group.split("</h4>")[0])] + texts(r)
        for group in near.split("<h4>")[1:] for r in table_rows(group)
        if len(r) == 5 and r[0]["text"] != "Тарифный план"]
    best = program.page("menu N21")
    export("luchshie-tarify")
    shown["luchshie-tarify"] = [texts(r) for r in table_rows(best)
                                if len(r) == 11 and r[0]["text"] != "Тарифный план"]
    program.close()

    for kind, rows in shown.items():
        written = read_rfc(os.path.join(out, f"{kind} rfc.csv"))
        if kind == "poisk":
            # The page shortens the options; the file names them all.
            for a, b in zip(rows, written[1:]):
                short = [o for o in a[4].rstrip(".").split(",") if o]
                if not all(o in b[4] for o in short):
                    failures.append(f"poisk: options {a[4]} against {b[4]}")
                a[4] = b[4]
        if kind in ("sravnenie", "provajder"):
            captions, rows = rows[0], rows[1:]
            if captions != written[0]:
                failures.append(f"{kind}: captions {written[0]} against the page's {captions}")
        check_rows(kind, rows, written[1:], failures)
    listed = sum(int(n) for n in re.findall(r"<h4 class=h4>[^<]*: (\d+)</h4>", changes))
    if len(read_rfc(os.path.join(out, "izmeneniya rfc.csv"))) != listed + 1:
        failures.append(f"izmeneniya: not the {listed} rows of the page's lists")

    # Calc, once per dialect, every file of it converted in the one start.
    converted = os.path.join(work, "calc")
    profile = "file://" + os.path.join(work, "profile")
    for dialect, options in (("excel", "59,34,76,1,,1049,false,true"),
                             ("rfc", "44,34,76,1,,1033,false,true")):
        files = sorted(glob.glob(os.path.join(out, f"* {dialect}.csv")))
        subprocess.run([soffice, f"-env:UserInstallation={profile}", "--headless",
                        f"--infilter=CSV:{options}", "--convert-to", "fods", "--outdir",
                        os.path.join(converted, dialect)] + files,
                       check=True, stdout=subprocess.DEVNULL, timeout=600)
        for path in files:
            kind = os.path.basename(path).rsplit(" ", 1)[0]
            expected = read_rfc(os.path.join(out, f"{kind} rfc.csv"))
            fods = os.path.join(converted, dialect, os.path.basename(path)[:-4] + ".fods")
            got = calc_cells(fods)
            if len(got) != len(expected):
                failures.append(f"Calc {dialect} {kind}: {len(got)} rows, {len(expected)} written")
            for k, (want, cells) in enumerate(zip(expected, got)):
                cells = cells + [(None, "")] * (len(want) - len(cells))
                for text, (kind_of, value) in zip(want, cells):
                    if re.fullmatch(r"-?\d+(\.\d+)?", text):
                        if kind_of != "float" or not math.isclose(float(value), float(text)):
                            failures.append(f"Calc {dialect} {kind} row {k + 1}: {text} read as "
                                            f"{kind_of} {value}")
                    elif re.search("[а-яА-ЯёЁ]", text) and value != text:
                        failures.append(f"Calc {dialect} {kind} row {k + 1}: {text!r} read as "
                                        f"{value!r}")
    for f in failures[:40]:
        print(f)
    return 1 if failures else 0


def transposed(rows):
    """The plan column table turned round: the captions, then one line per
    plan; without the separator and the order links."""
    table = [texts(r) for r in rows
             if r and not r[0]["colspan"] and r[0]["text"].replace("\xa0", "").strip()
             and "Заказать" not in texts(r)]
    table = [r for r in table if len(r) > 1 and r[0] not in ("URL", "E-mail")
             and not r[0].endswith(":") and r[0] not in ("Адрес", "Телефон")]
    return [list(column) for column in zip(*table)]


if __name__ == "__main__":
    sys.exit(main())
