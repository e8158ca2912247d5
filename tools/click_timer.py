#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times a click in the desktop program as a user sees it: from the X event
of a click or key, sent through XTest, to the page area's final pixels, read
from XDamage on the root window with a grab of the area after each burst of
damage. The floor is a bare web view of the same size over the same spot
following a link from one static page to a static copy of the page the
program shows (the text zorbinta-headless prints for the same steps). Program
and floor run in turn, a pair at a time; prints medians, one line an
interaction:

    click NAME CATALOGUE program_ms=P floor_ms=F ratio=R pairs=K

Run under an X server (scripts/bench-click starts Xvfb)."""

import argparse
import hashlib
import os
import re
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, XK, Xatom, display
from Xlib.ext import damage, xtest

INTERACTIONS = ("search", "sort", "page2", "plan", "free", "domains", "list", "back")
# No damage in the page area for this long ends a run: longer than any
# pause the engine makes between the click and the last paint.
QUIET_MS = 900
LONGEST_S = 30
SETTLE_S = 4
TRACE = bool(os.environ.get("ZORBINTA_CLICK_TRACE"))


class Tool:
    """A helper process answering one line for each line it is sent."""

    def __init__(self, argv):
        self.proc = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, bufsize=1)
        if self.proc.stdout.readline().strip() != "ready":
            raise SystemExit(f"{argv[0]} did not start")

    def ask(self, line):
        if TRACE:
            print(f"> {line}", file=sys.stderr, flush=True)
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        reply = self.proc.stdout.readline().strip()
        if not reply or reply.startswith("error"):
            raise SystemExit(f"{line}: {reply or 'no answer'}")
        return reply

    def at(self, line):
        words = self.ask(line).split(" ", 3)
        return int(words[1]), int(words[2]), (words[3] if len(words) > 3 else "")

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=30)


class Screen:
    """XTest input and XDamage on the root window."""

    def __init__(self):
        self.d = display.Display()
        for ext in ("XTEST", "DAMAGE"):
            if not self.d.has_extension(ext):
                raise SystemExit(f"the X server has no {ext}")
        self.d.damage_query_version()
        self.root = self.d.screen().root
        self.root.damage_create(damage.DamageReportRawRectangles)
        # Our own window: a property change right after the input gives the
        # server's time of that input.
        self.marker = self.root.create_window(0, 0, 1, 1, 0, 0, X.InputOnly,
                                              event_mask=X.PropertyChangeMask)
        self.atom = self.d.intern_atom("ZORBINTA_CLICK_T0")
        self.area = (0, 0, 1, 1)
        self.d.sync()

    def grab(self):
        x, y, w, h = self.area
        data = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
        return hashlib.blake2b(data, digest_size=16).digest()

    def _touches(self, a):
        x, y, w, h = self.area
        return a.x < x + w and a.x + a.width > x and a.y < y + h and a.y + a.height > y

    def _events(self, timeout_s):
        """(damage times in the area, the marker's time) of what arrives."""
        ready, _, _ = select.select([self.d.fileno()], [], [], timeout_s)
        times, t0 = [], None
        if not ready and not self.d.pending_events():
            return None, None
        while True:
            n = self.d.pending_events()
            if n == 0:
                break
            for _ in range(n):
                e = self.d.next_event()
                if e.type == X.PropertyNotify and e.window == self.marker:
                    t0 = e.time
                elif hasattr(e, "area") and hasattr(e, "timestamp") and self._touches(e.area):
                    times.append(e.timestamp)
        return times, t0

    def settle(self):
        """Waits until the area has had no damage for a while, or only a
        caret's blinking (an open dialog's) goes on."""
        deadline = time.monotonic() + SETTLE_S
        while time.monotonic() < deadline:
            times, _ = self._events(QUIET_MS / 1000)
            if times is None:
                return

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def _key(self, name):
        return self.d.keysym_to_keycode(XK.string_to_keysym(name))

    def keys(self, names):
        """Presses the keys in turn and releases them in reverse."""
        codes = [self._key(n) for n in names]
        for c in codes:
            xtest.fake_input(self.d, X.KeyPress, c)
        for c in reversed(codes):
            xtest.fake_input(self.d, X.KeyRelease, c)

    def click(self):
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)

    def measure(self, send):
        """Sends the input and returns (ms to the final pixels, their hash)."""
        before = self.grab()
        send()
        self.marker.change_property(self.atom, Xatom.ATOM, 32, [0])
        self.d.flush()
        t0, changed_at, last_hash, last_time = None, None, before, None
        deadline = time.monotonic() + LONGEST_S
        while time.monotonic() < deadline:
            times, marker = self._events(QUIET_MS / 1000)
            if times is None:
                if t0 is not None:
                    break
                continue
            if marker is not None:
                t0 = marker
            if times:
                last_time = max(times)
                shot = self.grab()
                if shot != last_hash:
                    changed_at, last_hash = last_time, shot
        if t0 is None or changed_at is None:
            return None, last_hash
        return max(0, changed_at - t0), last_hash


def pages(headless, folder, script):
    """The page texts zorbinta-headless writes for a script, in order."""
    out = subprocess.run([headless, "--offline", folder], input="start\n" + script,
                         capture_output=True, text=True, check=True).stdout
    return re.findall(r"^=== page [^\n]*\n(.*?)\n?=== end$", out, re.S | re.M)


def write_page(path, text):
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + text.encode("utf-8"))


# Every run begins after a search: the results pages list its plans.
SEARCH = "menu N6\npress Button1\n"
STOIM = SEARCH + "navigate main.htm?stoim\n"
TRAF = STOIM + "navigate traf\n"


class Bench:
    def __init__(self, args):
        self.args = args
        self.folder = os.path.join(os.path.abspath(args.dir), "")
        self.screen = Screen()
        self.program = Tool([args.bench, self.folder])
        self.program.ask("activate")
        self.program.ask("search")
        self.floor = Tool([args.floor] + self.program.ask("pane").split()[1:])
        self.panel = False

    def pane(self):
        words = self.program.ask("pane").split()
        return tuple(int(v) for v in words[1:5])

    def floor_pages(self, name, before, after, href):
        """Writes the floor's two pages; the link in the first leads to the second."""
        where = os.path.join(self.folder, "templ", "floor-" + name)
        os.makedirs(where, exist_ok=True)
        first = pages(self.args.headless, self.folder, before)[-1]
        target = pages(self.args.headless, self.folder, after)[-1]
        link = re.escape(href) if href else r"(?!mailto:|https?:)[^\"' >]+"
        first, count = re.subn(r"(<a\b[^>]*?\bhref=)([\"']?)" + link + r"\2",
                               r'\1"floor-to.htm"', first, count=1)
        if count != 1:
            raise SystemExit(f"{name}: no link to follow on the floor's first page")
        write_page(os.path.join(where, "floor-from.htm"), first)
        write_page(os.path.join(where, "floor-to.htm"), target)
        return os.path.join(where, "floor-from.htm")

    def set_panel(self, shown):
        if self.panel != shown:
            self.program.ask("trigger N8")
            self.panel = shown

    def program_run(self, name):
        """Puts the program in the state before the click; returns the input to send."""
        p = self.program
        p.ask("idle")
        # Without a window manager a closed dialog leaves the keyboard to
        # no window; the user's main window has it again.
        p.ask("activate")
        self.set_panel(name == "list")
        s = self.screen
        if name == "search":
            p.ask("trigger N13")
            s.settle()
            s.keys(["Control_L", "f"])
            s.d.sync()
            p.ask("modal")
            s.settle()
            return lambda: s.keys(["Return"])
        if name == "back":
            p.ask("go main.htm?stoim")
            p.ask("go traf")
            s.settle()
            return lambda: s.keys(["Alt_L", "Left"])
        p.ask({"page2": "go traf"}.get(name, "go main.htm?stoim"))
        if name in ("free", "domains"):
            x, y, _ = p.at("menu N7")
            s.move(x, y)
            s.settle()
            s.click()
            s.d.sync()
            x, y, _ = p.at("item " + ("N9" if name == "free" else "N13"))
        elif name == "list":
            x, y, self.list_text = p.at("row 0")
        else:
            selector = {"sort": 'a[href="traf"]', "page2": 'a[href="trafpage2"]',
                        "plan": 'a[href^="provid="]'}[name]
            x, y, _ = p.at("link " + selector)
        s.move(x, y)
        s.settle()
        return s.click

    def floor_scripts(self, name):
        """(script to the page before, script to the page after, the link)."""
        if name == "search":
            return SEARCH + "menu N13\n", SEARCH + "menu N13\n" + SEARCH, None
        if name == "sort":
            return STOIM, TRAF, "traf"
        if name == "page2":
            return TRAF, TRAF + "navigate trafpage2\n", "trafpage2"
        if name == "plan":
            first = pages(self.args.headless, self.folder, STOIM)[-1]
            href = re.search(r'href=["\']?(provid=[0-9]+)', first).group(1)
            return STOIM, STOIM + f"navigate {href}\n", href
        if name in ("free", "domains"):
            return STOIM, STOIM + "menu " + ("N9" if name == "free" else "N13") + "\n", None
        if name == "list":
            return STOIM, STOIM + f"menu N8\nlist {self.list_text}\n", None
        return TRAF, TRAF + "toolbar ToolButton5\n", None

    def run(self):
        s = self.screen
        for name in self.args.only or INTERACTIONS:
            programs, floors, same = [], [], 0
            from_page = None
            for k in range(self.args.pairs):
                self.floor.ask("hide")
                send = self.program_run(name)
                s.area = self.pane()
                ms, shown = s.measure(send)
                if ms is not None:
                    programs.append(ms)
                if from_page is None:
                    from_page = self.floor_pages(name, *self.floor_scripts(name))
                self.floor.ask("place %d %d %d %d" % s.area)
                # Shown first: the page is laid out at the view's new size.
                self.floor.ask("show")
                x, y, _ = self.floor.at("load " + from_page)
                s.move(x, y)
                s.settle()
                ms, floor_shown = s.measure(s.click)
                if ms is not None:
                    floors.append(ms)
                same += shown == floor_shown
            self.floor.ask("hide")
            self.set_panel(False)
            if not programs or not floors:
                print(f"click {name} {self.args.catalogue} failed: program {programs}, "
                      f"floor {floors}", flush=True)
                continue
            p, f = statistics.median(programs), statistics.median(floors)
            print(f"click {name} {self.args.catalogue} program_ms={p:.0f} floor_ms={f:.0f} "
                  f"ratio={p / max(f, 1):.2f} pairs={min(len(programs), len(floors))}",
                  flush=True)
            print(f"  {name}: program {programs}, floor {floors}, final pixels the same in "
                  f"{same} of {self.args.pairs}", file=sys.stderr, flush=True)
        self.program.close()
        self.floor.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bench", required=True, help="zorbinta-click-bench")
    parser.add_argument("--floor", required=True, help="zorbinta-click-floor")
    parser.add_argument("--headless", required=True, help="zorbinta-headless")
    parser.add_argument("--dir", required=True, help="the program folder")
    parser.add_argument("--catalogue", required=True, help="its name in the output")
    parser.add_argument("--pairs", type=int, default=15)
    parser.add_argument("--only", nargs="*", choices=INTERACTIONS)
    Bench(parser.parse_args()).run()


if __name__ == "__main__":
    main()
