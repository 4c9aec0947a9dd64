#!/usr/bin/env python3
"""The desktop tier: the built draftwerk program under Xvfb and a window manager (openbox, and fluxbox
on a small screen), driven by real X input.

Every scenario starts the program as a user does, acts through xdotool and waits on what X reports
(windows mapped, geometry settled, alerts shown and gone, files written), never on bare sleeps.
Saved drawings are read back with dump_drawing, which uses the program's own reader. A failing
scenario leaves a screenshot and the program's standard error under the output folder.
"""

import argparse
import ctypes
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

# Screens and their window managers. A scenario runs on the first, on the openbox ones, or on all.
SCREENS = [(1600, 1000, "openbox"), (1920, 1080, "openbox"), (1366, 768, "fluxbox")]
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class Failure(Exception):
    pass


def end_with_parent():
    """Run in each child before it starts: the child gets SIGTERM when the driver dies, however it dies."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=10.0, interval=0.05):
    """Polls probe() until it returns something true; that value, or Failure naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


# --- Screenshots -------------------------------------------------------------------------------------


class Image:
    """A screenshot: the screen's memory in xwd's format."""

    def __init__(self, data):
        fields = struct.unpack(">25I", data[:100])
        header, self.width, self.height = fields[0], fields[4], fields[5]
        self.lsb_first = fields[7] == 0
        self.pixel_bytes, self.stride, colours = fields[11] // 8, fields[12], fields[19]
        self.offset = header + colours * 12
        self.data = data

    def rgb(self, x, y):
        o = self.offset + y * self.stride + x * self.pixel_bytes
        b, g, r = self.data[o], self.data[o + 1], self.data[o + 2]
        return (r, g, b) if self.lsb_first else (b, g, r)

    def luminance(self, x, y):
        r, g, b = self.rgb(x, y)
        return (r * 30 + g * 59 + b * 11) // 100

    def save_png(self, path):
        rows = []
        n = self.pixel_bytes
        for y in range(self.height):
            start = self.offset + y * self.stride
            line = self.data[start:start + self.width * n]
            rgb = bytearray(self.width * 3)
            first, last = (2, 0) if self.lsb_first else (0, 2)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[first::n], line[1::n], line[last::n]
            rows.append(b"\0" + bytes(rgb))

        write_png(path, self.width, self.height, rows)


def write_png(path, width, height, rows):
    """An 8-bit RGB PNG of rows, each a filter byte (0) and its pixels' bytes."""

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


# --- The X session -----------------------------------------------------------------------------------


class Desktop:
    """A private Xvfb screen with its window manager, and the X tools pointed at it."""

    def __init__(self, width, height, folder, wm="openbox"):
        self.width, self.height, self.wm = width, height, wm
        self.folder = folder
        self.processes = []
        read_end, write_end = os.pipe()
        # -displayfd: the server takes the first free display number and writes it back. -fbdir: the
        # screen's memory is a file in xwd's format, read for screenshots (GetImage on the root window
        # can miss what a window shows).
        self.framebuffer = os.path.join(folder, "Xvfb_screen0")
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
             "-noreset", "-fbdir", folder], pass_fds=(write_end,), preexec_fn=end_with_parent,
            stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(folder, "xvfb.log"), "wb"))
        self.processes.append(xvfb)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                piece = pipe.read(1)
                if not piece:
                    break
                number += piece
        check(number.strip().isdigit(), "Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": self.display,
                    "HOME": folder, "LC_ALL": "C.UTF-8"}
        runtime = os.path.join(folder, "runtime")
        os.mkdir(runtime, 0o700)
        self.env["XDG_RUNTIME_DIR"] = runtime
        self.env["XDG_CONFIG_HOME"] = os.path.join(folder, "wm-config")
        if wm == "fluxbox":
            # No wallpaper: fluxbox's setter would tell in a window of its own that it has no tool to set one.
            tools = os.path.join(folder, "wm-bin")
            os.mkdir(tools)
            with open(os.path.join(tools, "fbsetbg"), "w") as setter:
                setter.write("#!/bin/sh\nexit 0\n")
            os.chmod(os.path.join(tools, "fbsetbg"), 0o755)
            self.env["PATH"] = tools + os.pathsep + self.env["PATH"]
        command = ["openbox", "--sm-disable"] if wm == "openbox" else [wm]
        self.processes.append(subprocess.Popen(
            command, env=self.env, preexec_fn=end_with_parent, stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(folder, wm + ".log"), "wb")))
        wait_for(wm, lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 20)

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()

    def x(self, *args, check_rc=False):
        r = subprocess.run(args, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                           timeout=20)
        if check_rc and r.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout

    # Input: real X events through the XTEST extension.
    def key(self, *keys):
        self.x("xdotool", "key", "--clearmodifiers", *keys, check_rc=True)

    def type(self, text):
        self.x("xdotool", "type", "--delay", "15", text, check_rc=True)

    def move(self, x, y):
        # --sync waits for the pointer to move, so it would wait its whole timeout when it is there already.
        where = self.x("xdotool", "getmouselocation", "--shell", check_rc=True)
        at = dict(line.split("=", 1) for line in where.split())
        sync = ["--sync"] if (int(at["X"]), int(at["Y"])) != (x, y) else []
        self.x("xdotool", "mousemove", *sync, str(x), str(y), check_rc=True)

    def click(self, x, y):
        self.move(x, y)
        self.x("xdotool", "click", "1", check_rc=True)

    def right_click(self, x, y):
        self.move(x, y)
        self.x("xdotool", "click", "3", check_rc=True)

    def screenshot(self):
        with open(self.framebuffer, "rb") as f:
            return Image(f.read())

    # Windows.
    def clients(self):
        """The windows the window manager manages, in mapping order."""
        out = self.x("xprop", "-root", "_NET_CLIENT_LIST")
        return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", out)]

    def props(self, window):
        out = self.x("xprop", "-id", hex(window), "_NET_WM_PID", "_NET_WM_WINDOW_TYPE", "WM_NAME",
                     "_NET_FRAME_EXTENTS", "_NET_WM_STATE", "WM_TRANSIENT_FOR")
        pid = re.search(r"_NET_WM_PID\(CARDINAL\) = (\d+)", out)
        name = re.search(r'WM_NAME\(\w+\) = "(.*)"', out)
        extents = re.search(r"_NET_FRAME_EXTENTS\(CARDINAL\) = (\d+), (\d+), (\d+), (\d+)", out)
        state = re.search(r"_NET_WM_STATE\(ATOM\) = (.*)", out)
        return {"pid": int(pid.group(1)) if pid else None,
                "dialog": "_NET_WM_WINDOW_TYPE_DIALOG" in out,
                "utility": "_NET_WM_WINDOW_TYPE_UTILITY" in out,
                "state": state.group(1) if state else "",
                "transient": "WM_TRANSIENT_FOR(WINDOW): window id" in out,
                "title": name.group(1) if name else "",
                "extents": tuple(int(v) for v in extents.groups()) if extents else None}

    def geometry(self, window):
        """(x, y, width, height) of the window's inside on the root, or None when it is not viewable."""
        out = self.x("xwininfo", "-id", hex(window))
        if "IsViewable" not in out:
            return None
        values = [int(re.search(pattern + r":\s+(-?\d+)", out).group(1))
                  for pattern in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        return tuple(values)

    def popups(self):
        """Mapped override-redirect windows: open menus and their like."""
        found = []
        tree = self.x("xwininfo", "-root", "-children")
        for match in re.finditer(r"^\s+(0x[0-9a-f]+) .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s", tree, re.M):
            window = int(match.group(1), 16)
            width, height, x, y = (int(v) for v in match.groups()[1:])
            if width < 4 or height < 4 or x < 0 or y < 0:
                continue
            info = self.x("xwininfo", "-id", hex(window))
            if "Override Redirect State: yes" in info and "IsViewable" in info:
                found.append((window, (x, y, width, height)))
        return found

    def active(self):
        m = re.search(r"window id # (0x[0-9a-f]+)", self.x("xprop", "-root", "_NET_ACTIVE_WINDOW"))
        return int(m.group(1), 16) if m else None


# --- The program ---------------------------------------------------------------------------------


class Program:
    """One run of draftwerk with a private home, configuration and runtime folder."""

    def __init__(self, tier, name, args=(), executable=None, title_block_on_new=False, again=None, extra_env=None):
        """again: an earlier run whose home (and so preferences) this run takes over."""
        self.tier, self.desk = tier, tier.desk
        self.folder = tempfile.mkdtemp(prefix=name + "-", dir=tier.scratch)
        home = os.path.join(again.folder, "home") if again else os.path.join(self.folder, "home")
        runtime = os.path.join(self.folder, "runtime")
        if not again:
            os.mkdir(home)
        if not title_block_on_new and not again:
            # The general preferences' first byte: New opens no title-block dialog; the rest of the
            # block keeps its defaults.
            os.makedirs(os.path.join(home, ".config"))
            with open(os.path.join(home, ".config", "com.quarnwell.draftwerk.conf"), "w") as f:
                f.write("[General]\ngeneralv2=@ByteArray(\\0)\n")
        os.mkdir(runtime, 0o700)
        env = dict(self.desk.env)
        env.update({"HOME": home, "XDG_RUNTIME_DIR": runtime, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
                    "XDG_DATA_HOME": os.path.join(home, ".local/share"),
                    "XDG_CACHE_HOME": os.path.join(home, ".cache"), "QT_QPA_PLATFORM": "xcb", "TMPDIR": runtime})
        self.menu_log = os.path.join(self.folder, "menu.log")
        env["DRAFTWERK_MENU_LOG"] = self.menu_log
        env.update(extra_env or {})
        self.env = env
        self.stderr_path = os.path.join(self.folder, "stderr.txt")
        self.stderr_file = open(self.stderr_path, "wb")
        self.stdout_path = os.path.join(self.folder, "stdout.txt")
        self.stdout_file = open(self.stdout_path, "wb")
        self.process = subprocess.Popen([executable or tier.program, *args], env=env, cwd=home,
                                        stdout=self.stdout_file,
                                        stderr=self.stderr_file, preexec_fn=end_with_parent)
        self.pid = self.process.pid
        tier.running.append(self)
        tier.started.append(self)

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def check_alive(self):
        check(self.process.poll() is None, f"the program ended (status {self.process.returncode})")

    def windows(self):
        """[(window, props)] of the program's managed windows."""
        result = []
        for w in self.desk.clients():
            p = self.desk.props(w)
            if p["pid"] == self.pid:
                result.append((w, p))
        return result

    def documents(self):
        return [w for w, p in self.windows() if not p["dialog"] and not p["utility"] and p["title"] != "Draftwerk"]

    def palettes(self):
        """[(window, props)] of the program's floating palettes that are shown."""
        return [(w, p) for w, p in self.windows() if p["utility"] and self.desk.geometry(w)]

    def application_window(self):
        found = [w for w, p in self.windows() if not p["dialog"] and not p["utility"] and p["title"] == "Draftwerk"]
        return found[0] if found else None

    def dialogs(self):
        return [(w, p) for w, p in self.windows() if p["dialog"]]

    def alerts(self):
        # Alerts carry the program's name; file panels carry their prompt.
        return [w for w, p in self.dialogs() if p["title"] == "Draftwerk"]

    def panels(self):
        return [w for w, p in self.dialogs() if p["title"] != "Draftwerk"]

    def cpu_ticks(self):
        with open(f"/proc/{self.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])

    def wait_window(self, what, probe, timeout=15.0):
        def poll():
            self.check_alive()
            return probe()
        return wait_for(what, poll, timeout)

    def wait_new_document(self, before, timeout=15.0):
        """The document window that appears beyond `before`, viewable and active."""
        def poll():
            fresh = [w for w in self.documents() if w not in before]
            if fresh and self.desk.geometry(fresh[-1]) and self.desk.active() == fresh[-1]:
                return fresh[-1]
            return None
        return self.wait_window("a new document window", poll, timeout)

    def wait_settled(self, windows, steady=2.0, timeout=15.0, cpu_limit=0.05):
        """Waits until the windows (one or a list) keep their geometry for `steady` seconds while the
        program uses less than cpu_limit of a core; returns the geometry (or the list of them)."""
        several = isinstance(windows, list)
        windows = windows if several else [windows]
        deadline = time.monotonic() + timeout
        last, since, ticks = None, time.monotonic(), self.cpu_ticks()
        while True:
            self.check_alive()
            now = time.monotonic()
            geometry = [self.desk.geometry(w) for w in windows]
            if geometry != last:
                last, since, ticks = geometry, now, self.cpu_ticks()
            elif None not in geometry and now - since >= steady:
                load = (self.cpu_ticks() - ticks) / CLOCK_TICKS / (now - since)
                if load < cpu_limit:
                    return geometry if several else geometry[0]
                since, ticks = now, self.cpu_ticks()
            if now > deadline:
                raise Failure(f"{len(windows)} window(s) did not settle within {timeout:g} s (last geometry "
                              f"{last}, CPU {(self.cpu_ticks() - ticks) / CLOCK_TICKS / max(now - since, 0.01):.0%})")
            time.sleep(0.1)

    def wait_idle(self, seconds=1.0, timeout=15.0, cpu_limit=0.05):
        deadline = time.monotonic() + timeout
        while True:
            self.check_alive()
            start, ticks = time.monotonic(), self.cpu_ticks()
            time.sleep(seconds)
            load = (self.cpu_ticks() - ticks) / CLOCK_TICKS / (time.monotonic() - start)
            if load < cpu_limit:
                return
            if time.monotonic() > deadline:
                raise Failure(f"the program stayed busy ({load:.0%} of a core)")

    def quit(self, timeout=15.0):
        self.desk.key("ctrl+q")
        try:
            status = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not quit on Ctrl+Q")
        check(status == 0, f"the program quit with status {status}")
        self.tier.running.remove(self)
        self.stdout_file.close()
        self.stderr_file.close()
        # Alerts and panels are the user's; a normal run, failed opens included, says nothing there.
        check(self.stderr() == "", f"standard error of the run: {self.stderr()!r}")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stdout_file.close()
        self.stderr_file.close()


# --- Shared steps ------------------------------------------------------------------------------------


def frame_of(desk, window):
    x, y, w, h = desk.geometry(window)
    left, right, top, bottom = desk.props(window)["extents"] or (0, 0, 0, 0)
    return x - left, y - top, w + left + right, h + top + bottom


def check_on_screen(desk, window, what):
    x, y, w, h = frame_of(desk, window)
    check(x >= 0 and y >= 0 and x + w <= desk.width and y + h <= desk.height,
          f"{what} at {x},{y} size {w}x{h} with its frame reaches outside the {desk.width}x{desk.height} screen")


def check_drawn(desk, window, what):
    """The window's inside is painted to its edges (Xvfb leaves unpainted parts black) and its bottom strip,
    the status bar, shows something."""
    x, y, w, h = desk.geometry(window)
    # Only the part on the screen can be seen; a window reaching outside fails check_on_screen.
    w, h = min(w, desk.width - x), min(h, desk.height - y)
    x, y = max(x, 0), max(y, 0)
    shot = desk.screenshot()
    black = sum(1 for i in range(40) for j in range(40)
                if shot.rgb(x + i * (w - 1) // 39, y + j * (h - 1) // 39) == (0, 0, 0))
    check(black <= 16, f"{what}: {black} of 1600 sample points are unpainted")
    strip = [shot.luminance(px, py) for py in range(y + h - 20, y + h) for px in range(x, x + w, 2)]
    light = sum(1 for v in strip if v > 200) / len(strip)
    ink = sum(1 for v in strip if v < 120)
    check(light > 0.5 and ink > 20, f"{what}: the status bar is not drawn (light {light:.0%}, ink {ink} points)")


def menu_titles(desk, window):
    """The menu titles of the window's bar as column ranges of ink on the screen."""
    x, y, w, h = desk.geometry(window)
    shot = desk.screenshot()
    rows = []
    for yy in range(y, y + 30):
        inked = [shot.luminance(xx, yy) < 225 for xx in range(x, x + w)]
        if sum(inked) > 0.8 * w:  # the bar's bottom edge
            break
        rows.append(inked)
    columns = [any(r[i] for r in rows) for i in range(w)]
    titles, start, gap = [], None, 0
    for i, inked in enumerate(columns + [False] * 8):
        if inked:
            if start is None:
                start = i
            gap, end = 0, i
        elif start is not None:
            gap += 1
            if gap >= 7:
                titles.append((x + start, x + end))
                start = None
    return titles, y + len(rows) // 2


def new_document(program, before=None):
    before = program.documents() if before is None else before
    program.desk.key("ctrl+n")
    return program.wait_new_document(before)


def save_through_panel(program, path, keys="ctrl+shift+s"):
    """Save As with the path typed into the panel's name field; waits for the file and the panel to go."""
    desk = program.desk
    if os.path.exists(path):
        os.remove(path)
    desk.key(keys)
    panel = program.wait_window("the Save panel", lambda: (program.panels() or [None])[0])
    wait_for("the Save panel to take the keys", lambda: desk.active() == panel, 5)
    desk.key("ctrl+a")
    desk.type(path)
    desk.key("Return")
    program.wait_window(f"{path} to be written", lambda: os.path.exists(path) and not program.panels())
    program.wait_idle(0.5)


def open_through_panel(program, path):
    desk = program.desk
    desk.key("ctrl+o")
    panel = program.wait_window("the Open panel", lambda: (program.panels() or [None])[0])
    wait_for("the Open panel to take the keys", lambda: desk.active() == panel, 5)
    desk.key("ctrl+a")
    desk.type(path)
    desk.key("Return")
    program.wait_window("the Open panel to close", lambda: not program.panels())


def dismiss_alert_with_return(program):
    alert = program.wait_window("an alert", lambda: (program.alerts() or [None])[0])
    check(len(program.alerts()) == 1, f"{len(program.alerts())} alerts at once")
    check_on_screen(program.desk, alert, "the alert")
    wait_for("the alert to take the keys", lambda: program.desk.active() == alert, 5)
    program.desk.key("Return")
    program.wait_window("the alert to go on Return", lambda: alert not in program.alerts(), 5)
    return alert


def dump(tier, path, *options):
    r = subprocess.run([tier.dump, *options, path], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                       env=dict(os.environ, XDG_CONFIG_HOME=os.path.join(tier.scratch, "dump-config"),
                                XDG_RUNTIME_DIR=tier.scratch, QT_QPA_PLATFORM="offscreen"), timeout=30)
    check(r.returncode == 0, f"dump_drawing could not read {path}: {r.stderr.strip()}")
    return [line.split() for line in r.stdout.splitlines()]


def lines_of(elements):
    return [tuple(float(v) for v in e[1:]) for e in elements if e[0] == "line"]


def draw_clicked_line(program, window, a, b):
    """A line by two clicks at window points (fractions of the window's inside)."""
    x, y, w, h = program.desk.geometry(window)
    for fx, fy in (a, b):
        program.desk.click(x + int(fx * w), y + int(fy * h))
    program.wait_idle(0.3)


def type_point(program, text):
    program.desk.type(text)
    program.desk.key("Return")


def make_damaged_file(folder, name="Damaged.cadx"):
    path = os.path.join(folder, name)
    with open(path, "wb") as f:
        f.write(b"\x7f\x13garbage header, not a drawing" + bytes(range(256)) * 8)
    return path


# --- Scenarios ---------------------------------------------------------------------------------------


def scenario_main_road(tier):
    """New, two lines by clicks and one by typed points, undo and redo, Save As and Save, quit, start
    again with the file, the same drawing back; nothing on standard error."""
    program = Program(tier, "main-road")
    app = program.wait_window("the application window", program.application_window)
    program.wait_settled(app, steady=0.5)
    titles, bar_y = menu_titles(program.desk, app)
    check(len(titles) >= 2, f"menu bar titles not found: {titles}")
    program.desk.click((titles[1][0] + titles[1][1]) // 2, bar_y)  # File, then its first item: New
    wait_for("the File menu to open", program.desk.popups, 5)
    program.desk.key("Down", "Return")
    doc = program.wait_new_document([])
    program.wait_settled(doc)
    draw_clicked_line(program, doc, (0.2, 0.3), (0.5, 0.3))
    draw_clicked_line(program, doc, (0.2, 0.5), (0.5, 0.6))
    type_point(program, "10,10")
    type_point(program, "50,20")
    program.wait_idle(0.3)
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Road.cadx")
    save_through_panel(program, path)
    undone = lines_of(dump(tier, path))
    check(len(undone) == 2, f"after Undo the saved drawing has {len(undone)} lines, not 2: {undone}")
    check(doc in program.documents(), "the document window went away")
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+shift+z")
    program.wait_idle(0.3)
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    program.wait_idle(0.5)
    lines = lines_of(dump(tier, path))
    check(len(lines) == 3, f"after Redo the saved drawing has {len(lines)} lines, not 3: {lines}")
    typed = (10, 10, 50, 20)
    check(sorted(lines) == sorted(undone + [typed]),
          f"Redo did not bring back the typed line alone: {undone} became {lines}")
    check(typed not in undone, "Undo did not take the typed line")
    for x1, y1, x2, y2 in undone:
        check(x2 > x1, f"a clicked line runs the wrong way: {(x1, y1, x2, y2)}")
    program.quit()

    again = Program(tier, "main-road-again", [path])
    doc = again.wait_new_document([])
    check(again.desk.props(doc)["title"] == "Road.cadx", f"the window is titled {again.desk.props(doc)['title']!r}")
    again.wait_settled(doc)
    copy = os.path.join(tier.scratch, "Road copy.cadx")
    save_through_panel(again, copy)
    check(sorted(lines_of(dump(tier, copy))) == sorted(lines),
          "the drawing opened from the command line is not the one saved")
    again.quit()


def scenario_windows_settle(tier):
    """After New, several New in a row, and a file opened from the command line, each window keeps its
    geometry for 2 s while the program idles, and is drawn with its status bar."""
    program = Program(tier, "settle")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc)
    check_drawn(program.desk, doc, "the first new window")
    # Three more in a row, faster than the window manager answers.
    program.desk.key("ctrl+n", "ctrl+n", "ctrl+n")
    docs = program.wait_window("three more windows", lambda: len(program.documents()) == 4 and program.documents())
    program.wait_settled(docs)
    for i, d in enumerate(docs):
        check_on_screen(program.desk, d, f"new window {i + 1}")
    front = wait_for("the last window in front", lambda: program.desk.active() in docs and program.desk.active(), 5)
    check_drawn(program.desk, front, "the window in front")
    path = os.path.join(tier.scratch, "Settle.cadx")
    save_through_panel(program, path)
    program.quit()

    opened = Program(tier, "settle-open", [path])
    doc = opened.wait_new_document([])
    opened.wait_settled(doc)
    check_on_screen(opened.desk, doc, "the window of the opened file")
    check_drawn(opened.desk, doc, "the window of the opened file")
    opened.quit()


def scenario_inside_and_cascaded(tier):
    """Every window inside the screen with its frame; a second New does not lie exactly on the first."""
    program = Program(tier, "cascade")
    app = program.wait_window("the application window", program.application_window)
    program.wait_settled(app, steady=0.5)
    check_on_screen(program.desk, app, "the first window")
    first = new_document(program)
    program.wait_settled(first, steady=0.5)
    second = new_document(program)
    program.wait_settled(second, steady=0.5)
    a, b = frame_of(program.desk, first), frame_of(program.desk, second)
    check(a[:2] != b[:2], f"the second window lies exactly on the first at {a[:2]}")
    for window, props in program.windows():
        check_on_screen(program.desk, window, f"window {props['title']!r}")
    program.quit()


def scenario_damaged_file_from_panel(tier):
    """A damaged drawing chosen in the Open panel: one alert, Return closes it, the program idles and
    New still works."""
    damaged = make_damaged_file(tier.scratch)
    program = Program(tier, "damaged")
    app = program.wait_window("the application window", program.application_window)
    program.wait_settled(app, steady=0.5)
    open_through_panel(program, damaged)
    dismiss_alert_with_return(program)
    program.wait_idle(1.0)
    check(not program.alerts(), "another alert followed")
    check(not program.documents(), "a window was left for the damaged file")
    doc = new_document(program)
    program.wait_settled(doc)
    program.quit()


def scenario_command_line_errors(tier):
    """A missing and a damaged file on the command line: one alert each, each closed by Return."""
    damaged = make_damaged_file(tier.scratch, "Broken.cadx")
    missing = os.path.join(tier.scratch, "Missing.cadx")
    program = Program(tier, "cmdline", [missing, damaged])
    shown = []
    for _ in range(2):
        alert = dismiss_alert_with_return(program)
        check(alert not in shown, "the same alert window came back")
        shown.append(alert)
    program.wait_idle(1.5)
    check(not program.alerts(), "more than one alert per file")
    check(not program.documents(), "a window was left for a file that failed")
    # The keys come back to the program's window without a click.
    app = program.wait_window("the application window", program.application_window)
    wait_for("the application window to take the keys", lambda: program.desk.active() == app, 5)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    program.quit()


def scenario_escape_from_menu(tier):
    """Escape closes an open menu; typed points then go to the command field and no menu opens."""
    program = Program(tier, "escape")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    titles, bar_y = menu_titles(desk, doc)
    check(len(titles) >= 2, f"menu bar titles not found: {titles}")
    desk.click((titles[1][0] + titles[1][1]) // 2, bar_y)  # File
    wait_for("the File menu to open", desk.popups, 5)
    desk.key("Escape")
    wait_for("the menu to close on Escape", lambda: not desk.popups(), 5)
    type_point(program, "10,10")
    program.wait_idle(0.5)
    check(not desk.popups(), "Return after Escape opened a menu again")
    type_point(program, "50,20")
    program.wait_idle(0.5)
    check(not desk.popups(), "typing after Escape opened a menu")
    check(program.documents() == [doc], f"typing after Escape made other windows: {program.documents()}")
    path = os.path.join(tier.scratch, "Escape.cadx")
    save_through_panel(program, path)
    check(lines_of(dump(tier, path)) == [(10, 10, 50, 20)], "the typed points did not make the line")
    program.quit()


def scenario_menu_bar_fits(tier):
    """The first window shows every menu title of the bar, Help last, and the Help menu opens below its
    title."""
    program = Program(tier, "menubar")
    app = program.wait_window("the application window", program.application_window)
    program.wait_settled(app, steady=0.5)
    desk = program.desk
    x, y, w, h = desk.geometry(app)
    titles, bar_y = menu_titles(desk, app)
    names = ["Draftwerk", "File", "Edit", "Layers", "Keys", "Symbols", "Settings", "Window", "Scripts", "Help"]
    check(len(titles) == len(names), f"{len(titles)} titles in the menu bar, not {len(names)}: {titles}")
    left, right = titles[-1]
    check(right < x + w, "the last title reaches the window's edge")
    desk.click((left + right) // 2, bar_y)
    popup = wait_for("the Help menu to open", desk.popups, 5)
    px = popup[0][1][0]
    check(abs(px - left) < 30, f"the menu opened at x {px}, not below the last title at {left}..{right}")
    desk.key("Escape")
    wait_for("the menu to close", lambda: not desk.popups(), 5)
    program.quit()


def scenario_name_already_open(tier):
    """A drawing whose name is open, from another folder or the same file again: an alert asks; Return
    opens it as an untitled second window, Escape opens nothing."""
    program = Program(tier, "name-in-use")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    type_point(program, "10,10")
    type_point(program, "50,20")
    first, second = (os.path.join(tier.scratch, d, "Plan.cadx") for d in ("a", "b"))
    for path in (first, second):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        save_through_panel(program, path)  # the window ends up owning b/Plan.cadx
    open_through_panel(program, first)
    dismiss_alert_with_return(program)
    copy = program.wait_new_document([doc])
    program.wait_settled(copy, steady=0.5)
    title = program.desk.props(copy)["title"]
    check(title.startswith("Untitled"), f"the second window is titled {title!r}, not Untitled")
    open_through_panel(program, second)
    alert = program.wait_window("an alert", lambda: (program.alerts() or [None])[0])
    wait_for("the alert to take the keys", lambda: program.desk.active() == alert, 5)
    program.desk.key("Escape")
    program.wait_window("the alert to go on Escape", lambda: alert not in program.alerts(), 5)
    program.wait_idle(1.0)
    check(not program.alerts(), "another alert followed")
    check(len(program.documents()) == 2, f"{len(program.documents())} windows after Escape, not 2")
    program.quit()


def opened_menu_items(program):
    """The items of the menu that opened last, as the program wrote them to its menu log: (state, text)
    with state "1" enabled, "0" dimmed, "h" hidden, "-" a separator."""
    wait_for("the opened menu's items", lambda: os.path.exists(program.menu_log), 5)
    with open(program.menu_log, encoding="utf-8") as f:
        lines = f.read().splitlines()
    return [tuple(line.split("\t", 1)) for line in lines[1:]]


def steps_to_item(program, text, first_active):
    """Down presses from the menu just opened to the enabled item of that text: the arrow keys pass over
    dimmed, hidden and separator items; a submenu opens with its first item active already."""
    items = opened_menu_items(program)
    reachable = [t for state, t in items if state == "1"]
    found = [i for i, t in enumerate(reachable) if (text(t) if callable(text) else t == text)]
    check(len(found) == 1, f"menu item {text!r} is not available once; the menu holds {items}")
    return found[0] + (0 if first_active else 1)


def choose_from_menu(program, window, title, item, submenu_item=None):
    """Opens the bar's menu at index title by a click and walks down to an item with the arrow keys, which
    pass over dimmed items. item is the item's text, a test of its text, or a count of Down presses
    (negative for Up from the bottom); with submenu_item (the same) the item's submenu opens with Right
    first."""
    desk = program.desk
    titles, bar_y = menu_titles(desk, window)
    check(len(titles) > title, f"menu bar titles not found: {titles}")
    if os.path.exists(program.menu_log):
        os.remove(program.menu_log)
    desk.click((titles[title][0] + titles[title][1]) // 2, bar_y)
    wait_for("the menu to open", desk.popups, 5)
    downs = item if isinstance(item, int) else steps_to_item(program, item, False)
    desk.key(*(["Down"] * downs if downs > 0 else ["Up"] * -downs))
    if submenu_item is not None:
        if os.path.exists(program.menu_log):
            os.remove(program.menu_log)
        desk.key("Right")
        wait_for("the submenu to open", lambda: len(desk.popups()) >= 2, 5)
        sub_downs = submenu_item if isinstance(submenu_item, int) else steps_to_item(program, submenu_item, True)
        if sub_downs > 0:
            desk.key(*["Down"] * sub_downs)
    desk.key("Return")
    wait_for("the menu to close", lambda: not desk.popups(), 5)


def scenario_repair_from_menu(tier):
    """Edit > Repairs > Remove Duplicate Lines removes a typed line drawn twice, reports it, and Undo
    brings it back."""
    program = Program(tier, "repairs")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    for _ in range(2):
        type_point(program, "10,10")
        type_point(program, "50,20")
    type_point(program, "0,0")
    type_point(program, "30,40")
    program.wait_idle(0.3)
    choose_from_menu(program, doc, 2, "Repairs", "Remove Duplicate Lines")
    dismiss_alert_with_return(program)
    path = os.path.join(tier.scratch, "Repaired.cadx")
    save_through_panel(program, path)
    lines = sorted(lines_of(dump(tier, path)))
    check(lines == [(0, 0, 30, 40), (10, 10, 50, 20)], f"after the repair the drawing holds {lines}")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    lines = sorted(lines_of(dump(tier, path)))
    check(lines == [(0, 0, 30, 40), (10, 10, 50, 20), (10, 10, 50, 20)], f"after Undo the drawing holds {lines}")
    program.quit()


def import_image_through_panel(program, window, path):
    """File > Import Image…, with the path typed into the panel."""
    choose_from_menu(program, window, 1, "Import Image…")
    desk = program.desk
    panel = program.wait_window("the Import Image panel", lambda: (program.panels() or [None])[0])
    wait_for("the panel to take the keys", lambda: desk.active() == panel, 5)
    desk.key("ctrl+a")
    desk.type(path)
    desk.key("Return")
    program.wait_window("the panel to close", lambda: not program.panels())


def scenario_import_image(tier):
    """File > Import Image… places a PNG in the drawing, which keeps it when saved; a file that is no
    image gives a message and changes nothing."""
    program = Program(tier, "image")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    picture = os.path.join(tier.scratch, "Logo.png")
    write_png(picture, 12, 8, [b"\0" + b"".join(bytes((20 * x, 30 * y, 200)) for x in range(12)) for y in range(8)])
    import_image_through_panel(program, doc, picture)
    program.wait_idle(0.5)
    path = os.path.join(tier.scratch, "Imaged.cadx")
    save_through_panel(program, path)
    images = [e for e in dump(tier, path) if e[0] == "image"]
    check(len(images) == 1 and images[0][3:] == ["12", "8"], f"the saved drawing holds the images {images}")
    not_image = os.path.join(tier.scratch, "Notes.png")
    with open(not_image, "w") as f:
        f.write("not a picture")
    import_image_through_panel(program, doc, not_image)
    dismiss_alert_with_return(program)
    program.wait_idle(0.3)
    program.desk.key("ctrl+s")
    program.wait_idle(0.5)
    images = [e for e in dump(tier, path) if e[0] == "image"]
    check(len(images) == 1, f"after the failed import the drawing holds the images {images}")
    program.quit()


def scenario_dialog_field_takes_typing(tier):
    """The Symbol Instance dialog opened over a window whose text field has the keys, its angle
    selected: keys typed at once replace the angle and Return confirms."""
    probe = Program(tier, "dialog-probe", executable=tier.dialog_probe)
    dialog = probe.wait_window("the Symbol Instance dialog", lambda: next(
        (w for w, p in probe.dialogs() if p["title"] == "Symbol Instance"), None))
    wait_for("the dialog to take the keys", lambda: probe.desk.active() == dialog, 5)
    probe.desk.type("12")
    probe.desk.key("Return")
    wait_for("the dialog to close on Return", lambda: probe.process.poll() is not None, 10)
    check(probe.process.returncode == 0, f"the probe ended with status {probe.process.returncode}")
    with open(probe.stdout_path) as f:
        angle = f.read().strip()
    check(angle == "12", f"typing 12 at once left the angle field holding {angle!r}")
    check(probe.stderr() == "", f"standard error of the run: {probe.stderr()!r}")


def scenario_long_text_paste(tier):
    """A text another program put on the clipboard (xclip) is pasted into the long-text dialog of a
    framed box with Ctrl+V; the clipboard still holds it after OK and after Cancel."""
    clip = "Pasted \u2300 12"
    feeder = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=tier.desk.env,
                              stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    feeder.communicate(clip.encode("utf-8"), timeout=10)
    held = lambda: tier.desk.x("xclip", "-selection", "clipboard", "-o") == clip
    wait_for("xclip to hold the text", held, 5)
    for confirm, want in (("KP_Enter", clip), ("Escape", "")):
        probe = Program(tier, "long-text", args=("--long-text",), executable=tier.dialog_probe)
        dialog = probe.wait_window("the long-text dialog", lambda: next(
            (w for w, p in probe.dialogs() if p["title"] == "Text"), None))
        wait_for("the dialog to take the keys", lambda: probe.desk.active() == dialog, 5)
        probe.desk.key("Tab")  # from the size field to the text
        probe.desk.key("ctrl+v")
        probe.wait_idle(0.3)
        probe.desk.key(confirm)
        wait_for("the dialog to close", lambda: probe.process.poll() is not None, 10)
        check(probe.process.returncode == 0, f"the probe ended with status {probe.process.returncode}")
        with open(probe.stdout_path, encoding="utf-8") as f:
            got = f.read().strip()
        check(got == want, f"{confirm} gave the text {got!r}, wanted {want!r}")
        check(held(), f"after {confirm} the clipboard no longer holds the text")


def scenario_fillet_from_tool_menu(tier):
    """A right click opens the tool menu; Trim and Cut > Fillet with radius 0 cuts two crossing lines back
    to their corner on the picked sides, and Undo gives both back whole."""
    program = Program(tier, "fillet")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    draw_clicked_line(program, doc, (0.5, 0.15), (0.5, 0.6))
    path = os.path.join(tier.scratch, "Corner.cadx")
    save_through_panel(program, path)
    before = sorted(lines_of(dump(tier, path)))
    check(len(before) == 2, f"the two lines were not drawn: {before}")
    choose_tool(program, doc, 5, 1, where=(0.3, 0.45))  # Trim and Cut: Fillet
    x, y, w, h = desk.geometry(doc)
    desk.click(x + int(0.3 * w), y + int(0.3 * h))  # the horizontal line, left of the corner
    program.wait_idle(0.3)
    desk.click(x + int(0.5 * w), y + int(0.5 * h))  # the vertical line, below the corner
    program.wait_idle(0.3)
    desk.key("Return")  # the radius and trim count shown: radius 0, a sharp corner
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    desk.screenshot().save_png(os.path.join(tier.output, "fillet-corner.png"))
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    after = lines_of(dump(tier, path))
    horizontal = next(l for l in before if l[1] == l[3])
    vertical = next(l for l in before if l[0] == l[2])
    corner = (vertical[0], horizontal[1])
    # The picked sides: left of the corner, and below it on the screen (lower y in the drawing).
    want = sorted([(min(horizontal[0], horizontal[2]), horizontal[1], *corner),
                   (vertical[0], min(vertical[1], vertical[3]), *corner)])
    ends = sorted(l if (l[0], l[1]) != corner else (l[2], l[3], l[0], l[1]) for l in after)
    near = len(ends) == 2 and all(abs(a - b) < 1e-6 for e, f in zip(ends, want) for a, b in zip(e, f))
    check(near, f"the corner is not cut back: {before} became {after}, wanted {want}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(sorted(lines_of(dump(tier, path))) == before, "Undo did not give both lines back whole")
    program.quit()


def write_dxf(path, pairs):
    with open(path, "w", newline="\r\n") as f:
        for code, value in pairs:
            f.write(f"{code:>3}\n{value}\n")


def scenario_dxf_from_panel(tier):
    """A DXF file chosen in the Open panel opens as a new drawing with its line, circle, text, the
    insert of its block and its dimension; saved as a drawing, the same elements come back."""
    path = os.path.join(tier.scratch, "Site plan.dxf")
    write_dxf(path, [
        (0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1009"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER"), (70, 1),
        (0, "LAYER"), (2, "WALLS"), (62, 1), (6, "CONTINUOUS"), (0, "ENDTAB"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "BLOCKS"), (0, "BLOCK"), (2, "TREE"), (10, 0), (20, 0),
        (0, "CIRCLE"), (10, 0), (20, 0), (40, 2), (0, "ENDBLK"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "ENTITIES"),
        (0, "LINE"), (8, "WALLS"), (10, 0), (20, 0), (11, 40), (21, 0),
        (0, "CIRCLE"), (8, "WALLS"), (10, 60), (20, 10), (40, 5),
        (0, "TEXT"), (8, "WALLS"), (10, 5), (20, 15), (40, 2.5), (1, "North wall"),
        (0, "INSERT"), (2, "TREE"), (10, 80), (20, 30),
        (0, "DIMENSION"), (70, 1), (10, 0), (20, -10), (11, 20), (21, -10),
        (13, 0), (23, 0), (14, 40), (24, 0),
        (0, "ENDSEC"), (0, "EOF")])
    program = Program(tier, "dxf")
    app = program.wait_window("the application window", program.application_window)
    program.wait_settled(app, steady=0.5)
    before = program.documents()
    open_through_panel(program, path)
    window = program.wait_new_document(before)
    program.wait_settled(window, steady=0.5)
    check(not program.alerts(), "opening the DXF file raised an alert")
    check_drawn(program.desk, window, "the opened DXF drawing")
    saved = os.path.join(tier.scratch, "Site plan.cadx")
    save_through_panel(program, saved)
    elements = dump(tier, saved)
    kinds = sorted(e[0] for e in elements if e[0] not in ("line-attributes", "settings"))
    check(kinds == ["arc", "dimension", "instance", "line", "text"], f"the drawing read holds {kinds}")
    check(lines_of(elements) == [(0.0, 0.0, 40.0, 0.0)], f"the line came back as {lines_of(elements)}")
    arc = next(tuple(float(v) for v in e[1:]) for e in elements if e[0] == "arc")
    check(arc == (60.0, 10.0, 5.0, 0.0, 360.0), f"the circle came back as {arc}")
    text = next(tuple(float(v) for v in e[1:]) for e in elements if e[0] == "text")
    check(text == (5.0, 15.0), f"the text stands at {text}")
    instance = next(tuple(float(v) for v in e[1:]) for e in elements if e[0] == "instance")
    check(instance == (80.0, 30.0), f"the block is placed at {instance}")
    dimension = next(tuple(float(v) for v in e[1:]) for e in elements if e[0] == "dimension")
    check(dimension == (0.0, 0.0, 40.0, 0.0), f"the dimension measures {dimension}")
    program.quit()


def scenario_dxf_from_other_programs(tier):
    """A DXF file as other programs write it (R2007, UTF-8), named on the command line: its texts in
    several scripts and with escapes, its hatch bounded by a polyline with a bulge and its spline by
    control points and knots arrive whole; saved as a drawing, they come back the same."""
    path = os.path.join(tier.scratch, "Plan ünïcödé.dxf")
    text = "Grüße Ωμέγα Привет 中文 15°"
    pairs = [
        (0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1021"), (9, "$DWGCODEPAGE"), (3, "ANSI_1252"),
        (0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES"),
        (0, "TEXT"), (8, "0"), (10, 0), (20, 0), (40, 2.5), (1, text),
        (0, "TEXT"), (8, "0"), (10, 0), (20, 10), (40, 2.5), (1, "\\U+00C5ngstr\\U+00F6m %%c20"),
        (0, "HATCH"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbHatch"), (10, 0), (20, 0), (30, 0),
        (2, "ANSI31"), (70, 0), (71, 0), (91, 1), (92, 3), (72, 1), (73, 1), (93, 4),
        (10, 100), (20, 0), (42, 0), (10, 140), (20, 0), (42, 1), (10, 140), (20, 40), (42, 0),
        (10, 100), (20, 40), (42, 0), (97, 0), (75, 0), (76, 1), (52, 0), (41, 1), (77, 0), (78, 0),
        (0, "SPLINE"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbSpline"), (70, 8), (71, 3), (72, 10),
        (73, 6), (74, 0), *[(40, k) for k in (0, 0, 0, 0, 1, 4, 5, 5, 5, 5)],
        *[pair for x, y in ((200, 0), (210, 30), (230, -10), (240, 20), (250, 0), (270, 15))
          for pair in ((10, x), (20, y))],
        (0, "ENDSEC"), (0, "EOF")]
    with open(path, "w", newline="\r\n", encoding="utf-8") as f:
        for code, value in pairs:
            f.write(f"{code:>3}\n{value}\n")
    program = Program(tier, "dxf-peer", [path])
    window = program.wait_window("the DXF drawing's window", lambda: (program.documents() or [None])[-1])
    program.wait_settled(window, steady=0.5)
    check(not program.alerts(), "opening the DXF file raised an alert")
    check_drawn(program.desk, window, "the opened DXF drawing")
    saved = os.path.join(tier.scratch, "Plan.cadx")
    save_through_panel(program, saved)
    elements = dump(tier, saved, "--texts")
    texts = [bytes.fromhex(e[1]).decode("utf-8") if len(e) > 1 else "" for e in elements if e[0] == "text-utf8"]
    check(texts == [text, "Ångström Ø20"], f"the texts came back as {texts}")
    areas = [tuple(float(v) for v in e[1:]) for e in elements if e[0] == "area"]
    check(len(areas) == 1 and abs(areas[0][0] - 100) < 1e-6 and abs(areas[0][2] - 160) < 0.5,
          f"the hatch came back as {areas}, not bounded by its half circle out to x 160")
    curves = [e for e in elements if e[0] == "polyline-points"]
    check(len(curves) == 1 and curves[0][1] == "2", f"the spline came back as {curves}")
    xy = [float(v) for v in curves[0][2:]] if curves else []
    check(len(xy) > 20 and xy[:2] == [200.0, 0.0] and xy[-2:] == [270.0, 15.0],
          "the spline does not run from its first to its last control point through points of its own")
    program.quit()


def idle_within(program, seconds, what):
    """The program uses less than 5 % of a core over a quarter second within `seconds` from now."""
    start = time.monotonic()
    while True:
        program.check_alive()
        since, ticks = time.monotonic(), program.cpu_ticks()
        time.sleep(0.25)
        now = time.monotonic()
        if (program.cpu_ticks() - ticks) / CLOCK_TICKS / (now - since) < 0.05:
            return now - start
        check(now - start < seconds, f"{what}: the program is still busy after {now - start:.1f} s")


def check_inked(desk, window, what):
    """The drawing area shows the block's wide black strokes on white, and they cross at its middle."""
    x, y, w, h = desk.geometry(window)
    shot = desk.screenshot()
    samples = [shot.luminance(x + i * w // 41, y + j * h // 41) for i in range(1, 41) for j in range(1, 41)]
    dark, light = sum(v < 60 for v in samples), sum(v > 200 for v in samples)
    check(dark > 40 and light > 400, f"{what}: {dark} dark and {light} light of 1600 sample points")
    middle = [shot.luminance(x + w // 2 + dx, y + h // 2 + dy) for dx in (-3, 0, 3) for dy in (-3, 0, 3)]
    check(min(middle) < 60, f"{what}: no stroke at the middle of the window")


def scenario_dxf_fan_out(tier):
    """A DXF file whose blocks insert the next one four times over, 30 levels deep, all at one spot
    (the import stops at 20,000 instances): the window shows them and the program is idle within 2 s,
    and again after wheel notches that zoom in on the lines lying on one another."""
    levels = 30
    pairs = [(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1009"), (0, "ENDSEC"),
             (0, "SECTION"), (2, "BLOCKS")]
    for level in range(levels):
        pairs += [(0, "BLOCK"), (8, "0"), (2, f"FAN{level}"), (70, 0), (10, 0), (20, 0),
                  (0, "LINE"), (8, "0"), (10, 0), (20, 0), (11, 12), (21, 7),
                  (0, "LINE"), (8, "0"), (10, 0), (20, 7), (11, 12), (21, 0),
                  (0, "CIRCLE"), (8, "0"), (10, 6), (20, 3.5), (40, 3)]
        if level + 1 < levels:
            pairs += [pair for _ in range(4)
                      for pair in ((0, "INSERT"), (8, "0"), (2, f"FAN{level + 1}"), (10, 0), (20, 0))]
        pairs += [(0, "ENDBLK"), (8, "0")]
    pairs += [(0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES"),
              (0, "INSERT"), (8, "0"), (2, "FAN0"), (10, 0), (20, 0), (0, "ENDSEC"), (0, "EOF")]
    path = os.path.join(tier.scratch, "Fan out.dxf")
    write_dxf(path, pairs)
    program = Program(tier, "fan-out", [path])
    window = program.wait_window("the DXF drawing's window", lambda: (program.documents() or [None])[-1], 30)
    idle_within(program, 2.0, "after opening the fan-out file")
    check(not program.alerts(), "opening the fan-out file raised an alert")
    x, y, w, h = program.desk.geometry(window)
    check_inked(program.desk, window, "the fan-out drawing")
    program.desk.move(x + w // 2, y + h // 2)
    for _ in range(6):
        program.desk.x("xdotool", "click", "4", check_rc=True)
    idle_within(program, 2.0, "after zooming in on the fan-out drawing")
    check_inked(program.desk, window, "the fan-out drawing zoomed in")
    # The imported drawing is unsaved: closing it asks, and Don't Save closes it.
    program.desk.key("ctrl+w")
    program.wait_window("the save-changes alert", lambda: (program.alerts() or [None])[0])
    program.desk.key("ctrl+d")
    program.wait_window("the drawing to close", lambda: not program.documents() and not program.alerts(), 5)
    program.quit()


# The tool groups whose items the tool menu offers; the arrow keys pass over the others.
BUILT_TOOL_GROUPS = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11]


def choose_tool(program, window, group, tool, where=(0.5, 0.5)):
    """The tool from the tool menu a right click in the drawing pops up: its group's submenu, then the
    tool."""
    x, y, w, h = program.desk.geometry(window)
    program.desk.right_click(x + int(where[0] * w), y + int(where[1] * h))
    wait_for("the tool menu to open", program.desk.popups, 5)
    program.desk.key(*["Down"] * (BUILT_TOOL_GROUPS.index(group) + 1))
    program.desk.key("Right")
    wait_for("the submenu to open", lambda: len(program.desk.popups()) >= 2, 5)
    if tool > 0:
        program.desk.key(*["Down"] * tool)
    program.desk.key("Return")
    wait_for("the menu to close", lambda: not program.desk.popups(), 5)
    program.wait_idle(0.3)


def scenario_circles_and_arcs(tier):
    """A circle by a typed centre and radius, an arc by three typed points and typed angles, and a
    circle far bigger than the window (drawn as chords of its visible part), each tool chosen from the
    tool menu; the saved drawing holds them, and Undo takes the last one alone."""
    os.makedirs(tier.output, exist_ok=True)
    program = Program(tier, "circles")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    choose_tool(program, doc, 1, 0)  # circles: centre and radius
    for text in ("40,40", "25"):
        type_point(program, text)
    choose_tool(program, doc, 2, 3)  # arcs: three points
    for text in ("100,20", "140,20", "120,40", "0", "180"):
        type_point(program, text)
    choose_tool(program, doc, 1, 0)
    for text in ("60,-1000000", "1000030"):
        type_point(program, text)
    program.wait_idle(0.5)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "circles-and-arcs.png"))
    path = os.path.join(tier.scratch, "Circles.cadx")
    save_through_panel(program, path)
    arcs = sorted(tuple(round(float(v), 6) for v in e[1:]) for e in dump(tier, path) if e[0] == "arc")
    check(arcs == [(40, 40, 25, 0, 360), (60, -1000000, 1000030, 0, 360), (120, 20, 20, 0, 180)],
          f"the saved drawing holds the arcs {arcs}")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    arcs = sorted(tuple(round(float(v), 6) for v in e[1:]) for e in dump(tier, path) if e[0] == "arc")
    check(arcs == [(40, 40, 25, 0, 360), (120, 20, 20, 0, 180)], f"after Undo the drawing holds the arcs {arcs}")
    program.quit()


def texts_of(elements):
    return [tuple(float(v) for v in e[1:]) for e in elements if e[0] == "text"]


def scenario_text_tool(tier):
    """A text written with the first text tool (chosen from the tool menu of a secondary click) at a
    typed point; Undo takes it away and Redo brings it back, as the saved drawing shows."""
    program = Program(tier, "text-tool")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    choose_tool(program, doc, 3, 0)  # Texts: text at a point
    type_point(program, "30,40")
    program.wait_idle(0.3)
    program.desk.type("Gate valve")
    program.desk.key("Return")
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Text.cadx")
    save_through_panel(program, path)
    texts = texts_of(dump(tier, path))
    check(texts == [(30, 40)], f"the saved drawing holds the texts {texts}, not one at 30,40")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(texts_of(dump(tier, path)) == [], "Undo did not take the text away")
    program.desk.key("ctrl+shift+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(texts_of(dump(tier, path)) == [(30, 40)], "Redo did not bring the text back")
    program.quit()


def scenario_move_copy_from_tool_menu(tier):
    """A line drawn by clicks; Transform > move by a typed offset with one copy, chosen from the tool
    menu, leaves the line and a copy beside it in the saved drawing; Undo takes the copy away."""
    program = Program(tier, "move-copy")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    path = os.path.join(tier.scratch, "Moved.cadx")
    save_through_panel(program, path)
    before = sorted(lines_of(dump(tier, path)))
    check(len(before) == 1, f"the line was not drawn: {before}")
    choose_tool(program, doc, 6, 1, where=(0.5, 0.6))  # Transform: move by a typed offset
    type_point(program, "10,0")
    program.wait_idle(0.3)
    x, y, w, h = desk.geometry(doc)
    desk.click(x + int(0.4 * w), y + int(0.3 * h))  # the line
    program.wait_idle(0.3)
    type_point(program, "1")  # one copy
    program.wait_idle(0.5)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    after = sorted(lines_of(dump(tier, path)))
    x1, y1, x2, y2 = before[0]
    want = sorted([before[0], (x1 + 10, y1, x2 + 10, y2)])
    near = len(after) == 2 and all(abs(a - b) < 1e-6 for e, f in zip(after, want) for a, b in zip(e, f))
    check(near, f"the copy is not 10 to the right: {before} became {after}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(sorted(lines_of(dump(tier, path))) == before, "Undo did not take the copy away")
    program.quit()


def line_attributes_of(elements):
    return [tuple(int(v) for v in e[1:]) for e in elements if e[0] == "line-attributes"]


def scenario_attribute_tools(tier):
    """A line's pen and then its line type changed with the attribute tools (chosen from the tool
    menu) by typed values and a click on the line; the saved drawing holds both, and Undo takes the
    line type back alone."""
    program = Program(tier, "attributes")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    path = os.path.join(tier.scratch, "Attributes.cadx")
    save_through_panel(program, path)
    before = line_attributes_of(dump(tier, path))
    check(len(before) == 1 and before[0][0] != 3 and before[0][1] != 4, f"the line is not drawn plain: {before}")
    for tool, value in ((0, "3"), (1, "4")):  # Attributes: pen, then line type
        choose_tool(program, doc, 7, tool, where=(0.5, 0.6))
        type_point(program, value)
        program.wait_idle(0.3)
        x, y, w, h = desk.geometry(doc)
        desk.click(x + int(0.4 * w), y + int(0.3 * h))
        program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    after = line_attributes_of(dump(tier, path))
    check(after == [(3, 4, before[0][2], before[0][3])], f"the line's attributes {before} became {after}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    undone = line_attributes_of(dump(tier, path))
    check(undone == [(3, before[0][1], before[0][2], before[0][3])], f"after Undo the line's attributes are {undone}")
    program.quit()


def dimensions_of(elements):
    return sorted(tuple(round(float(v), 6) for v in e[1:]) for e in elements if e[0] == "dimension")


def scenario_dimension_tools(tier):
    """A horizontal dimension and a chain of two, each tool chosen from the tool menu and every point
    typed; the chain takes the direction letter the field offers; the saved drawing holds them, and
    Undo takes the chain away whole."""
    program = Program(tier, "dimensions")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    choose_tool(program, doc, 4, 0)  # Dimensions: horizontal
    for text in ("20,30", "80,30", "50,60"):
        type_point(program, text)
    choose_tool(program, doc, 4, 3)  # Dimensions: chain
    for text in ("10,10", "90,10", "40,10"):
        type_point(program, text)
    program.desk.key("Return")  # all points given
    type_point(program, "50,40")
    program.wait_idle(0.3)
    program.desk.key("Return")  # the letter offered: H
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "dimensions.png"))
    path = os.path.join(tier.scratch, "Dimensions.cadx")
    save_through_panel(program, path)
    dims = dimensions_of(dump(tier, path))
    check(dims == [(10, 10, 40, 10), (20, 30, 80, 30), (40, 10, 90, 10)], f"the saved drawing holds the dimensions {dims}")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    dims = dimensions_of(dump(tier, path))
    check(dims == [(20, 30, 80, 30)], f"after Undo the drawing holds the dimensions {dims}")
    # A turned copy of the dimension: centre and angle typed, the dimension clicked, one copy.
    desk = program.desk
    desk.key("ctrl+f")  # Fit Drawing to Window
    program.wait_idle(0.3)
    choose_tool(program, doc, 6, 2)  # Transform: rotate
    type_point(program, "50,30")
    type_point(program, "30")
    program.wait_idle(0.3)
    x, y, w, h = desk.geometry(doc)
    shot = desk.screenshot()
    # A dimension is picked by its text, which stands just above its line once fitted to the window.
    column = x + w // 4
    line_y = next(yy for yy in range(y + 40, y + h // 2) if shot.luminance(column, yy) < 100)
    desk.click(x + w // 2, line_y - 30)
    program.wait_idle(0.3)
    type_point(program, "1")
    program.wait_idle(0.5)
    desk.screenshot().save_png(os.path.join(tier.output, "dimensions-turned-copy.png"))
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    dims = dimensions_of(dump(tier, path))
    check(len(dims) == 2 and (20, 30, 80, 30) in dims, f"after the turned copy the drawing holds the dimensions {dims}")
    program.quit()


def scenario_drag_line_end(tier):
    """A line drawn by clicks; with the editing tool's drag (chosen from the tool menu) its right end is
    dragged down and to the right by the real pointer; the saved drawing holds the line with its left
    end where it was and its right end moved, and Undo puts the line back as it was. Runs once the tool
    menu offers the editing tools (their group listed as built); until then it has nothing to drive."""
    if 11 not in BUILT_TOOL_GROUPS:
        print("  the editing tools are not in the tool menu yet: nothing to drag", flush=True)
        return
    program = Program(tier, "drag-line-end")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    path = os.path.join(tier.scratch, "Dragged.cadx")
    save_through_panel(program, path)
    before = sorted(lines_of(dump(tier, path)))
    check(len(before) == 1, f"the line was not drawn: {before}")
    choose_tool(program, doc, 11, 0, where=(0.5, 0.7))  # Editing: drag
    x, y, w, h = desk.geometry(doc)
    desk.move(x + int(0.6 * w), y + int(0.3 * h))
    desk.x("xdotool", "mousedown", "1", check_rc=True)
    for f in (0.05, 0.1, 0.15):
        desk.move(x + int((0.6 + f) * w), y + int((0.3 + f) * h))
    desk.x("xdotool", "mouseup", "1", check_rc=True)
    program.wait_idle(0.5)
    tier.desk.screenshot().save_png(os.path.join(tier.scratch, "dragged.png"))

    def saved_again():
        mtime = os.stat(path).st_mtime_ns
        desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
        return sorted(lines_of(dump(tier, path)))

    after = saved_again()
    x1, y1, x2, y2 = before[0]
    check(len(after) == 1 and after[0][:2] == (x1, y1) and after[0][2] > x2 + 1 and after[0][3] < y2 - 1,
          f"the right end did not follow the pointer: {before} became {after}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    check(saved_again() == before, "Undo did not put the line back")
    program.quit()


def click_line_near(program, window, fx, fy, vertical):
    """A click on the drawn line found nearest the window point (fractions of the window's inside),
    looking across the line: sideways for a vertical line, up and down for a horizontal one."""
    x, y, w, h = program.desk.geometry(window)
    px, py = x + int(fx * w), y + int(fy * h)
    shot = program.desk.screenshot()
    for d in sorted(range(-30, 31), key=abs):
        qx, qy = (px + d, py) if vertical else (px, py + d)
        if shot.luminance(qx, qy) < 100:
            program.desk.click(qx, qy)
            program.wait_idle(0.3)
            return
    raise Failure(f"no line drawn near {fx},{fy}")


def areas_of(elements):
    return [tuple(float(v) for v in e[1:]) for e in elements if e[0] == "area-fill"]


def scenario_area_with_hole(tier):
    """A hatched area with a hole: the boundary and the hole are squares of clicked lines, picked with
    the first area tool (chosen from the tool menu); a wrong pick is taken back with Delete; the hatch
    is typed. The saved drawing holds the area with its hole, Undo takes it away and Redo brings it
    back."""
    program = Program(tier, "area")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    outer = [((0.15, 0.7), (0.65, 0.7)), ((0.6, 0.75), (0.6, 0.25)), ((0.65, 0.3), (0.15, 0.3)),
             ((0.2, 0.25), (0.2, 0.75))]
    inner = [((0.28, 0.55), (0.47, 0.55)), ((0.45, 0.57), (0.45, 0.43)), ((0.47, 0.45), (0.28, 0.45)),
             ((0.3, 0.43), (0.3, 0.57))]
    for a, b in outer + inner:
        draw_clicked_line(program, doc, a, b)
    choose_tool(program, doc, 9, 0, where=(0.8, 0.5))  # Areas: hatched
    for fx, fy, vertical in ((0.4, 0.7, False), (0.6, 0.5, True), (0.4, 0.3, False), (0.2, 0.5, True)):
        click_line_near(program, doc, fx, fy, vertical)
    program.desk.key("Return")
    program.wait_idle(0.3)
    click_line_near(program, doc, 0.4, 0.7, False)  # a wrong pick, taken back
    program.desk.key("BackSpace")
    program.wait_idle(0.3)
    for fx, fy, vertical in ((0.375, 0.55, False), (0.45, 0.5, True), (0.375, 0.45, False), (0.3, 0.5, True)):
        click_line_near(program, doc, fx, fy, vertical)
    program.desk.key("Return")
    program.wait_idle(0.3)
    program.desk.key("Return")  # no more holes
    program.wait_idle(0.3)
    type_point(program, "3,45,0")
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "area-with-hole.png"))
    path = os.path.join(tier.scratch, "Area.cadx")
    save_through_panel(program, path)
    areas = areas_of(dump(tier, path))
    check(areas == [(-1, 3, 1)], f"the saved drawing holds the areas {areas}, not one hatched with a hole")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(areas_of(dump(tier, path)) == [], "Undo did not take the area away")
    program.desk.key("ctrl+shift+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    program.desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    check(areas_of(dump(tier, path)) == [(-1, 3, 1)], "Redo did not bring the area back")


def polylines_of(elements):
    return [(int(e[1]), [(float(e[i]), float(e[i + 1])) for i in range(2, len(e), 2)])
            for e in elements if e[0] == "polyline-points"]


def scenario_point_list_tools(tier):
    """An open polyline of three clicked points ended with Return and a closed one of three typed
    points ended with 1, then a vertex of the first moved by two clicks (tools chosen from the tool
    menu); the saved drawing holds them, and Undo puts the vertex back alone. Then the clicked
    polyline and a line closing it become one closed polyline."""
    program = Program(tier, "polylines")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk

    def save_again():
        mtime = os.stat(path).st_mtime_ns
        desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)

    def click(fx, fy):
        x, y, w, h = desk.geometry(doc)
        desk.click(x + int(fx * w), y + int(fy * h))
        program.wait_idle(0.2)

    choose_tool(program, doc, 10, 0)  # Point lists: polyline
    for point in ((0.3, 0.35), (0.6, 0.35), (0.6, 0.6)):
        click(*point)
    desk.key("Return")
    program.wait_idle(0.3)
    choose_tool(program, doc, 10, 0)
    for text in ("10,10", "40,10", "25,30", "1"):
        type_point(program, text)
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Polylines.cadx")
    save_through_panel(program, path)
    drawn = polylines_of(dump(tier, path))
    check(len(drawn) == 2 and len(drawn[0][1]) == 3, f"the saved drawing holds the polylines {drawn}")
    check(drawn[1] == (0, [(10, 10), (40, 10), (25, 30), (10, 10)]), f"the typed polyline is closed: {drawn[1]}")
    clicked = drawn[0][1]

    choose_tool(program, doc, 10, 4)  # Point lists: move vertex
    click(0.6, 0.35)
    click(0.7, 0.45)
    os.makedirs(tier.output, exist_ok=True)
    desk.screenshot().save_png(os.path.join(tier.output, "polylines.png"))
    save_again()
    moved = polylines_of(dump(tier, path))
    check(len(moved) == 2 and moved[1] == drawn[1], f"the typed polyline stays as it was: {moved}")
    points = moved[0][1] if moved else []
    check(len(points) == 3 and points[0] == clicked[0] and points[2] == clicked[2] and points[1] != clicked[1],
          f"one vertex of {clicked} moved: {points}")
    check(points[1][0] > clicked[1][0] and points[1][1] < clicked[1][1], f"the vertex moved right and down: {points}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    save_again()
    undone = polylines_of(dump(tier, path))
    check(undone == drawn, f"after Undo the polylines are {undone}")

    # A line from the last clicked point back to the first closes a region with the polyline; tool 9
    # takes the polyline's run between its ends and the line, and puts one closed polyline in their place.
    choose_tool(program, doc, 0, 0)  # Lines: two points
    click(0.6, 0.6)
    click(0.3, 0.35)
    choose_tool(program, doc, 10, 9)  # Point lists: polyline from boundary
    for point in ((0.3, 0.35), (0.6, 0.6), (0.45, 0.475)):
        click(*point)
    desk.key("Return")
    program.wait_idle(0.5)
    desk.screenshot().save_png(os.path.join(tier.output, "polyline-from-boundary.png"))
    save_again()
    elements = dump(tier, path)
    traced = polylines_of(elements)
    check(not lines_of(elements), f"the boundary's line is gone: {lines_of(elements)}")
    check(len(traced) == 2 and traced[0] == drawn[1], f"the typed polyline stays, the clicked one goes: {traced}")
    closed = traced[-1][1] if traced else []
    check(len(closed) == 4 and closed[0] == closed[-1] and sorted(closed[:3]) == sorted(clicked),
          f"the new polyline closes the clicked points {clicked}: {closed}")
    program.quit()


def scenario_delete_tools(tier):
    """The delete tools chosen from the tool menu: a kind name that is no kind brings its alert, which
    Return closes; "arc" then deletes the circle at once, and a click deletes one of two lines; the
    saved drawing holds the other line alone, and Undo brings the clicked line back."""
    program = Program(tier, "delete")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    draw_clicked_line(program, doc, (0.2, 0.5), (0.6, 0.5))
    choose_tool(program, doc, 1, 0, where=(0.5, 0.8))  # circles: centre and radius
    for text in ("40,40", "25"):
        type_point(program, text)
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Delete.cadx")
    save_through_panel(program, path)
    before = dump(tier, path)
    lines = sorted(lines_of(before))
    check(len(lines) == 2 and sum(1 for e in before if e[0] == "arc") == 1,
          f"two lines and a circle were not drawn: {before}")

    choose_tool(program, doc, 8, 1, where=(0.5, 0.8))  # Delete: at once
    type_point(program, "circle")
    dismiss_alert_with_return(program)
    program.wait_idle(0.3)
    type_point(program, "arc")
    program.wait_idle(0.3)
    choose_tool(program, doc, 8, 0, where=(0.5, 0.8))  # Delete: a picked element
    x, y, w, h = desk.geometry(doc)
    desk.click(x + int(0.4 * w), y + int(0.3 * h))  # the upper line
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "deleted.png"))
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    after = dump(tier, path)
    check(not any(e[0] == "arc" for e in after), f"the circle is still there: {after}")
    left = sorted(lines_of(after))
    check(len(left) == 1 and left[0] in lines, f"one of the lines {lines} should be left: {left}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    undone = dump(tier, path)
    check(sorted(lines_of(undone)) == lines and not any(e[0] == "arc" for e in undone),
          f"after Undo the drawing holds {undone}")
    program.quit()


def scenario_symbol_from_key(tier):
    """Symbols > define from a key: a click on one of two unkeyed lines marks both, a typed base point
    and name make the symbol, shown by an instance at the base point; Symbols > explode, a click on
    the instance and a typed yes give the two lines back; Escape leaves a command midway."""
    program = Program(tier, "symbols")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    draw_clicked_line(program, doc, (0.2, 0.5), (0.6, 0.5))
    path = os.path.join(tier.scratch, "Symbol.cadx")
    save_through_panel(program, path)
    lines = sorted(lines_of(dump(tier, path)))
    check(len(lines) == 2, f"two lines were not drawn: {lines}")
    x, y, w, h = desk.geometry(doc)

    # Symbols, the sixth title.
    choose_from_menu(program, doc, 5, "Make Symbol from Selection")
    desk.click(x + int(0.4 * w), y + int(0.3 * h))
    program.wait_idle(0.3)
    type_point(program, "0,0")
    program.wait_idle(0.3)
    type_point(program, "Pump")
    program.wait_idle(0.5)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    defined = dump(tier, path)
    check(not lines_of(defined), f"the lines are still in the drawing: {defined}")
    instances = [tuple(float(v) for v in e[1:]) for e in defined if e[0] == "instance"]
    check(instances == [(0.0, 0.0)], f"the symbol is not shown at its base point: {instances}")

    # Escape midway: define again, a click marks, Escape ends it and nothing changes.
    choose_from_menu(program, doc, 5, "Make Symbol from Selection")
    desk.click(x + int(0.4 * w), y + int(0.3 * h))
    program.wait_idle(0.3)
    desk.key("Escape")
    program.wait_idle(0.3)
    check(not program.alerts(), "an alert after Escape")

    choose_from_menu(program, doc, 5, "Explode Symbol Instances")
    desk.click(x + int(0.4 * w), y + int(0.3 * h))
    program.wait_idle(0.3)
    type_point(program, "yes")  # in place of the proposed answer, selected
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "exploded.png"))
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    exploded = dump(tier, path)
    check(sorted(lines_of(exploded)) == lines, f"after exploding the drawing holds {exploded}")
    check(not any(e[0] == "instance" for e in exploded), f"the instance is still there: {exploded}")
    program.quit()


def shapes_of(elements):
    return sorted((int(e[1]), int(e[2]), tuple(round(float(v), 6) for v in e[3:]))
                  for e in elements if e[0] == "polyline-shape")


def scenario_shape_tools(tier):
    """A rounded rectangle, a hexagon and an ellipse from the editing tools (chosen from the tool menu,
    every value typed), then every element locked by typing E into the lock tool; the saved drawing
    holds the three shapes locked, and Undo unlocks them in one step and then takes the ellipse away."""
    program = Program(tier, "shapes")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    choose_tool(program, doc, 11, 3)  # Editing: rectangle
    for text in ("20,20", "40,20", "5"):
        type_point(program, text)
    choose_tool(program, doc, 11, 4)  # Editing: regular polygon
    for text in ("100,30", "15", "6", "0"):
        type_point(program, text)
    choose_tool(program, doc, 11, 2)  # Editing: ellipse
    for text in ("40,80", "20", "10", "0", "360"):
        type_point(program, text)
    choose_tool(program, doc, 11, 6)  # Editing: lock
    type_point(program, "e")
    program.wait_idle(0.5)
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, "shapes.png"))
    path = os.path.join(tier.scratch, "Shapes.cadx")
    save_through_panel(program, path)
    shapes = shapes_of(dump(tier, path))
    hexagon = tuple(v for k in range(7) for v in (round(100 + 15 * math.cos(math.pi * (k % 6) / 3), 6),
                                                  round(30 + 15 * math.sin(math.pi * (k % 6) / 3), 6)))
    want = [(0, 1, hexagon), (11, 1, (20, 70, 60, 70, 60, 90, 20, 90)), (12, 1, (20, 20, 60, 20, 60, 40, 20, 40))]
    check(shapes == want, f"the saved drawing holds the shapes {shapes}, not {want}")

    def saved_again():
        mtime = os.stat(path).st_mtime_ns
        program.desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
        return shapes_of(dump(tier, path))

    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    shapes = saved_again()
    check(shapes == [(k, 0, p) for k, _, p in want], f"after Undo the shapes are {shapes}, not unlocked")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    shapes = saved_again()
    check([k for k, _, _ in shapes] == [0, 12], f"after a second Undo the shapes are {shapes}")
    program.quit()


def line_layers_of(elements):
    return sorted(int(e[3]) for e in elements if e[0] == "line-attributes")


def scenario_layers_from_menu(tier):
    """Layers > Move Elements to Layer takes the source layer from a clicked line and the target typed;
    Layers > Copy Layer copies that layer two layers up from three typed numbers; the saved drawing
    holds the line on layer 7 and its copy on layer 9, and Undo takes the copy back."""
    program = Program(tier, "layers")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.4), (0.6, 0.4))
    program.wait_idle(0.3)
    desk.key("Escape")
    choose_from_menu(program, doc, 3, "Move Elements to Layer")
    x, y, w, h = desk.geometry(doc)
    desk.click(x + int(0.4 * w), y + int(0.4 * h))  # the line gives the layer to move from
    program.wait_idle(0.3)
    type_point(program, "7")
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Layers.cadx")
    save_through_panel(program, path)
    moved = dump(tier, path)
    check(line_layers_of(moved) == [7], f"the line is not on layer 7: {moved}")

    choose_from_menu(program, doc, 3, "Copy Layer")
    type_point(program, "7,7,2")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    copied = dump(tier, path)
    check(line_layers_of(copied) == [7, 9] and len(set(lines_of(copied))) == 1,
          f"the copy on layer 9 is missing: {copied}")
    desk.key("ctrl+z")
    program.wait_idle(0.3)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    undone = dump(tier, path)
    check(line_layers_of(undone) == [7], f"after Undo the drawing holds {undone}")
    program.quit()


def scenario_title_block_on_new(tier):
    """With the title block asked for on New, dialog 146 opens over the new drawing; the fields typed
    are kept, and the paper format "A3" brings its template: the sheet's edge and the title block
    on layer 1023, saved with the drawing."""
    program = Program(tier, "title-block", title_block_on_new=True)
    program.wait_window("the application window", program.application_window)
    program.desk.key("ctrl+n")
    dialog = program.wait_window("the Title Block dialog", lambda: next(
        (w for w, p in program.dialogs() if p["title"] == "Title Block"), None))
    wait_for("the dialog to take the keys", lambda: program.desk.active() == dialog, 5)
    program.desk.type("D-100")
    for _ in range(5):
        program.desk.key("Tab")
    program.desk.type("A3")
    program.desk.key("Return")
    program.wait_window("the dialog to close", lambda: not program.dialogs())
    doc = program.wait_window("the new drawing", lambda: (program.documents() or [None])[0])
    program.wait_settled(doc, steady=0.5)
    path = os.path.join(tier.scratch, "Titled.cadx")
    save_through_panel(program, path)
    elements = dump(tier, path)
    lines = lines_of(elements)
    check(lines, "the drawing holds no lines of the template")
    right = max(max(l[0], l[2]) for l in lines)
    top = max(max(l[1], l[3]) for l in lines)
    check((right, top) == (420.0, 297.0), f"the template's sheet reaches {(right, top)}, not A3")
    layers = {int(e[3]) for e in elements if e[0] == "line-attributes"}
    check(layers == {1023}, f"the template's lines lie on layers {layers}")
    program.quit()


def scenario_keys_from_menu(tier):
    """Keys > Give Key to Selection gives a clicked line a typed key; File > Export > Save Elements As…
    writes the chosen line alone; Keys > Remove a Key tells of a line without a key in an alert, then
    takes the key away after yes, and Undo gives it back."""
    program = Program(tier, "keys")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    draw_clicked_line(program, doc, (0.2, 0.5), (0.6, 0.5))
    x, y, w, h = desk.geometry(doc)
    first, second = (x + int(0.4 * w), y + int(0.3 * h)), (x + int(0.4 * w), y + int(0.5 * h))

    choose_from_menu(program, doc, 4, "Give Key to Selection")
    desk.click(*first)
    type_point(program, "5")
    program.wait_idle(0.3)

    # File > Export > Save Elements As…: every line by its kind name, the second clicked out again.
    choose_from_menu(program, doc, 1, "Export", "Save Elements As…")
    type_point(program, "line")
    program.wait_idle(0.3)
    desk.click(*second)
    program.wait_idle(0.3)
    chosen = os.path.join(tier.scratch, "Chosen.cadx")
    desk.key("Return")
    panel = program.wait_window("the Save panel", lambda: (program.panels() or [None])[0])
    wait_for("the Save panel to take the keys", lambda: desk.active() == panel, 5)
    desk.key("ctrl+a")
    desk.type(chosen)
    desk.key("Return")
    program.wait_window(f"{chosen} to be written", lambda: os.path.exists(chosen) and not program.panels())
    saved = dump(tier, chosen)
    check(len(lines_of(saved)) == 1 and line_attributes_of(saved)[0][3] == 5,
          f"the saved selection holds {saved}")

    path = os.path.join(tier.scratch, "Keys.cadx")
    save_through_panel(program, path)
    keys = sorted(a[3] for a in line_attributes_of(dump(tier, path)))
    check(keys == [0, 5], f"the keys of the lines are {keys}")

    choose_from_menu(program, doc, 4, "Remove a Key")
    desk.click(*second)
    dismiss_alert_with_return(program)
    desk.click(*first)
    program.wait_idle(0.3)
    type_point(program, "yes")  # over the proposed answer, which is selected
    program.wait_idle(0.3)
    for expected in ([0, 0], [0, 5]):
        if expected == [0, 5]:
            desk.key("ctrl+z")
            program.wait_idle(0.3)
        mtime = os.stat(path).st_mtime_ns
        desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
        keys = sorted(a[3] for a in line_attributes_of(dump(tier, path)))
        check(keys == expected, f"the keys of the lines are {keys}, not {expected}")
    program.quit()


def scenario_scale_drawing_from_line(tier):
    """File > Output Areas > Scale Drawing from a Line: a clicked line and half its length typed halve
    the whole drawing about the origin; Undo brings the drawing back as it was."""
    program = Program(tier, "scale")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    draw_clicked_line(program, doc, (0.3, 0.5), (0.5, 0.6))
    path = os.path.join(tier.scratch, "Scaled.cadx")
    save_through_panel(program, path)
    before = sorted(lines_of(dump(tier, path)))
    check(len(before) == 2, f"two lines were not drawn: {before}")
    first = next(l for l in before if abs(l[1] - l[3]) < 1e-6)
    length = abs(first[2] - first[0])
    choose_from_menu(program, doc, 1, "Output Areas", "Scale Drawing from a Line")
    x, y, w, h = program.desk.geometry(doc)
    program.desk.click(x + int(0.4 * w), y + int(0.3 * h))
    program.wait_idle(0.3)
    type_point(program, f"{length / 2:.9f}")
    program.wait_idle(0.5)

    def saved_again():
        mtime = os.stat(path).st_mtime_ns
        program.desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
        return sorted(lines_of(dump(tier, path)))

    halved = saved_again()
    expected = sorted(tuple(v / 2 for v in l) for l in before)
    check(len(halved) == 2 and all(abs(a - b) < 1e-6 for l, e in zip(halved, expected) for a, b in zip(l, e)),
          f"the drawing {before} was not halved: {halved}")
    program.desk.key("ctrl+z")
    program.wait_idle(0.3)
    undone = saved_again()
    check(all(abs(a - b) < 1e-9 for l, e in zip(undone, before) for a, b in zip(l, e)) and len(undone) == 2,
          f"after Undo the drawing holds {undone}, not {before}")
    program.quit()


def scenario_pdf_area_to_clipboard(tier):
    """File > Output Areas > PDF Area from Two Corners takes two clicked corners; Copy PDF Area to
    Clipboard puts a one-page PDF of the area's size on the clipboard, which another program (xclip)
    reads."""
    program = Program(tier, "pdf-area")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.3, 0.4), (0.6, 0.6))
    desk.key("Escape")
    program.wait_idle(0.3)
    choose_from_menu(program, doc, 1, "Output Areas", "PDF Area from Two Corners")
    draw_clicked_line(program, doc, (0.2, 0.2), (0.7, 0.7))
    choose_from_menu(program, doc, 1, "Output Areas", "Copy PDF Area to Clipboard")
    program.wait_idle(0.5)
    path = os.path.join(tier.scratch, "clip.pdf")

    def clipboard_pdf():
        with open(path, "wb") as out:
            subprocess.run(["xclip", "-selection", "clipboard", "-t", "application/pdf", "-o"],
                           env=desk.env, stdout=out, stderr=subprocess.DEVNULL, timeout=20)
        with open(path, "rb") as written:
            return written.read(5) == b"%PDF-"

    wait_for("the clipboard to hold the PDF", clipboard_pdf, 10)
    info = subprocess.run(["pdfinfo", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          timeout=20).stdout
    pages = re.search(r"Pages:\s+(\d+)", info)
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
    check(pages and pages.group(1) == "1" and size is not None, f"pdfinfo says {info}")
    width, height = float(size.group(1)), float(size.group(2))
    check(width > 10 and height > 10, f"the page is {width} x {height} points")
    save_through_panel(program, os.path.join(tier.scratch, "Area.cadx"))
    program.quit()


def scenario_paste_picture(tier):
    """A PNG another program put on the clipboard (xclip) is pasted with Ctrl+V: a click places it and
    Return takes the proposed size, its frame's 40 x 20 points times 0.35; the saved drawing holds one
    picture element of that size."""
    picture = os.path.join(tier.scratch, "Clip.png")
    write_png(picture, 40, 20, [b"\0" + bytes((30, 120, 200)) * 40 for _ in range(20)])
    with open(picture, "rb") as f:
        feeder = subprocess.Popen(["xclip", "-selection", "clipboard", "-t", "image/png", "-i"], env=tier.desk.env,
                                  stdin=f, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        feeder.wait(timeout=10)
    held = lambda: "image/png" in tier.desk.x("xclip", "-selection", "clipboard", "-t", "TARGETS", "-o")
    wait_for("xclip to offer the image", held, 5)
    program = Program(tier, "paste-picture")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    desk.key("ctrl+v")
    program.wait_idle(0.3)
    x, y, w, h = desk.geometry(doc)
    desk.click(x + int(0.3 * w), y + int(0.6 * h))
    program.wait_idle(0.3)
    desk.key("Return")
    program.wait_idle(0.5)
    path = os.path.join(tier.scratch, "Pasted.cadx")
    save_through_panel(program, path)
    pictures = [points for kind, points in polylines_of(dump(tier, path)) if kind == 10]
    check(len(pictures) == 1 and len(pictures[0]) == 2, f"the saved drawing holds the pictures {pictures}")
    (x1, y1), (x2, y2) = pictures[0]
    width, height = x2 - x1, y2 - y1
    check(abs(width - 14) < 1e-6 and abs(height - 7) < 1e-6, f"the picture is {width} x {height}, not 14 x 7")
    program.quit()


def open_settings_dialog(program, doc, title):
    """Settings > the item of the title, which opens the dialog of that title."""
    choose_from_menu(program, doc, 6, title + "…")
    window, props = program.wait_window("a settings dialog", lambda: (program.dialogs() or [None])[0])
    check(props["title"] == title, f"Settings > {title}… opened the dialog {props['title']!r}")
    return window


def scenario_pens_dialog_height(tier):
    """Settings > Pens… is shown whole while new elements take their pen's attributes; choosing the
    current attributes shrinks it to its mode choice and buttons, 80 pixels high, and choosing the
    pens again gives it back its height; it stays on the screen and Escape closes it."""
    program = Program(tier, "pens")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    dialog = open_settings_dialog(program, doc, "Pens")
    wait_for("the dialog to take the keys", lambda: desk.active() == dialog, 5)
    check_on_screen(desk, dialog, "the pen dialog")
    x, y, w, full = desk.geometry(dialog)
    check(full == 330, f"the pen dialog is {full} pixels high, not 330")
    desk.click(x + 40, y + 21)  # new elements take the current attributes
    wait_for("the dialog to shrink to 80 pixels", lambda: desk.geometry(dialog)[3] == 80, 5)
    check_on_screen(desk, dialog, "the short pen dialog")
    desk.click(x + 40, y + 45)  # they take their pen's again
    wait_for("the dialog to grow back", lambda: desk.geometry(dialog)[3] == full, 5)
    desk.key("Escape")
    program.wait_window("the pen dialog to close", lambda: not program.dialogs(), 5)
    program.quit()


def scenario_dimension_pen_refused(tier):
    """Settings > Dimension Settings…, page 3: a dimension pen of 12 is refused in an alert that takes
    the keys and goes on Return; the pen field has the keys again with its text selected, so 5 typed
    replaces it and Return closes the dialog without a second alert; the drawing counts as changed."""
    program = Program(tier, "dimension-pen")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    dialog = open_settings_dialog(program, doc, "Dimension Settings")
    wait_for("the dialog to take the keys", lambda: desk.active() == dialog, 5)
    x, y, w, h = desk.geometry(dialog)
    desk.click(x + 158, y + 16)  # the page pop-up
    wait_for("the page menu to open", desk.popups, 5)
    desk.key("Up", "Return")  # the last page, with or without an item active when it opens
    wait_for("the page menu to close", lambda: not desk.popups(), 5)
    program.wait_idle(0.3)
    desk.key("Tab", "Tab")  # from the text before the value to the pen
    desk.type("12")
    desk.key("Return")
    dismiss_alert_with_return(program)
    wait_for("the dialog to have the keys again", lambda: desk.active() == dialog, 5)
    desk.type("5")
    desk.key("Return")
    program.wait_window("the dialog to close", lambda: not program.dialogs(), 5)
    check(not program.alerts(), "a second alert after the pen 5")
    # The settings changed the drawing: closing it asks, and Don't Save closes it.
    desk.key("ctrl+w")
    program.wait_window("the save-changes alert", lambda: (program.alerts() or [None])[0])
    desk.key("ctrl+d")
    program.wait_window("the drawing to close", lambda: not program.documents() and not program.alerts(), 5)
    program.quit()


def scenario_print_from_command_line(tier):
    """draftwerk --print with a missing file and a drawing without pages: each is told in an alert that
    Return closes, no window is left, and the program ends by itself with a failure status."""
    program = Program(tier, "print-make")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    draw_clicked_line(program, doc, (0.3, 0.4), (0.6, 0.6))
    program.desk.key("Escape")
    drawing = os.path.join(tier.scratch, "NoPages.cadx")
    save_through_panel(program, drawing)
    program.quit()

    missing = os.path.join(tier.scratch, "Missing.cadx")
    printing = Program(tier, "print-run", ["--print", missing, drawing])
    dismiss_alert_with_return(printing)  # the missing file
    alert = printing.wait_window("the alert of the drawing without pages",
                                 lambda: (printing.alerts() or [None])[0])
    check_on_screen(printing.desk, alert, "the alert")
    wait_for("the alert to take the keys", lambda: printing.desk.active() == alert, 5)
    printing.desk.key("Return")
    try:
        status = printing.process.wait(15)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end after printing")
    tier.running.remove(printing)
    printing.stdout_file.close()
    printing.stderr_file.close()
    check(status == 1, f"the program ended with status {status}, not 1 for the files that failed")
    check(printing.stderr() == "", f"standard error of the run: {printing.stderr()!r}")


def scenario_print_frame_into_pdf(tier):
    """File > Pages > New Page from Two Corners makes a frame of two typed corners around a typed
    line; File > Print Page… (Command-P) opens the page list, then the system's print dialog, which
    with no printer prints into a PDF file: one sheet of A4 that passes qpdf's check and shows the
    line."""
    # No print server: the dialog offers printing into a file, whatever the machine has installed.
    program = Program(tier, "print-frame", extra_env={"CUPS_SERVER": "/nonexistent/cups.sock"})
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    type_point(program, "10,10")
    type_point(program, "150,100")
    desk.key("Escape")
    program.wait_idle(0.3)
    choose_from_menu(program, doc, 1, "Pages", "New Page from Two Corners")
    # Corners typed: 180 x 120 mm at 1:1 fit one sheet.
    type_point(program, "0,0")
    type_point(program, "180,120")
    program.wait_idle(0.3)
    desk.key("ctrl+p")
    chooser = program.wait_window("the page list", lambda: next(
        (w for w, p in program.dialogs() if p["title"] == "Print Page"), None))
    wait_for("the page list to take the keys", lambda: desk.active() == chooser, 5)
    desk.key("Return")
    home = os.path.join(program.folder, "home")
    before = set(os.listdir(home))
    dialog = program.wait_window("the print dialog", lambda: next(
        (w for w, p in program.dialogs() if p["title"] not in ("Print Page", "Draftwerk")), None))
    wait_for("the print dialog to take the keys", lambda: desk.active() == dialog, 5)
    desk.key("Return")
    program.wait_window("the print dialog to close", lambda: dialog not in [w for w, _ in program.dialogs()])

    def written():
        for name in set(os.listdir(home)) - before:
            if name.endswith(".pdf"):
                path = os.path.join(home, name)
                info = subprocess.run(["pdfinfo", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                      text=True, timeout=20).stdout
                if "Pages:" in info:
                    return path, info
        return None

    path, info = wait_for("the PDF file", written, 20)
    check(re.search(r"Pages:\s+1\b", info) and "595 x 842 pts" in info, f"pdfinfo says {info}")
    checked = subprocess.run(["qpdf", "--check", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                             text=True, timeout=20).stdout
    check("No syntax or stream encoding errors" in checked, f"qpdf says {checked}")
    gray = subprocess.run(["pdftoppm", "-r", "72", "-gray", path], stdout=subprocess.PIPE, timeout=20).stdout
    pixels = gray[gray.index(b"255\n") + 4:] if b"255\n" in gray else b""
    check(pixels and min(pixels) < 160, f"the page shows no line (darkest {min(pixels) if pixels else None})")
    check(not program.alerts(), "an alert came up")
    save_through_panel(program, os.path.join(tier.scratch, "Printed.cadx"))
    program.quit()

# --- Palettes ----------------------------------------------------------------------------------------

WINDOW_MENU = 7
# The palettes' sizes as made, by title ("" for the title-less coordinate bar and tool palette, told
# apart by their size); the info window's height follows the screen.
PALETTE_SIZES = {"Symbols": (138, 148), "Attribute Presets": (219, 96), "Layer Sets": (146, 96),
                 "Colours": (112, 172), "Patterns": (66, 69), "Views": (146, 96)}


def first_document(program):
    app = program.wait_window("the application window", program.application_window)
    program.wait_window("the application window in front", lambda: program.desk.active() == app)
    doc = new_document(program)
    program.wait_settled(doc)
    return doc


WINDOW_PALETTES = {13: "Coordinate Bar", 14: "Tools", 15: "Info Window", 16: "Symbols", 17: "Attribute Presets",
                   18: "Layer Sets", 19: "Colours", 20: "Patterns", 21: "Views"}


def show_palette_from_window_menu(program, doc, item):
    """Window menu item 13..21, which reads "Show" or "Hide" and the palette's name."""
    name = WINDOW_PALETTES[item]
    choose_from_menu(program, doc, WINDOW_MENU, lambda text: text in ("Show " + name, "Hide " + name))


def check_palette_is_tool_window(program, window, props, doc):
    title = props["title"] or "(untitled)"
    check(props["utility"], f"palette {title} is no utility window")
    check("_NET_WM_STATE_ABOVE" not in props["state"], f"palette {title} stays above every program")
    check(props["transient"], f"palette {title} is not kept with the program's windows")
    check_on_screen(program.desk, window, f"palette {title}")


def scenario_palettes_are_tool_windows(tier):
    """The tool palette and the coordinate bar come up with a new drawing; the Window menu shows the
    other palettes; each is a utility window of its table size that the window manager keeps with our
    windows (not above other programs) and out of the taskbar; a screenshot is kept to look at."""
    program = Program(tier, "palettes")
    doc = first_document(program)
    shown = program.wait_window("two palettes", lambda: len(program.palettes()) == 2 and program.palettes())
    sizes = sorted(program.desk.geometry(w)[2:] for w, _ in shown)
    check(sizes == [(64, 192), (243, 11)], f"tool palette and coordinate bar sizes {sizes}")
    for item in range(15, 22):
        show_palette_from_window_menu(program, doc, item)
    palettes = program.wait_window("nine palettes", lambda: len(program.palettes()) == 9 and program.palettes())
    program.wait_settled([w for w, _ in palettes], steady=0.5)
    for window, props in palettes:
        check_palette_is_tool_window(program, window, props, doc)
        width, height = program.desk.geometry(window)[2:]
        if props["title"] in PALETTE_SIZES:
            check((width, height) == PALETTE_SIZES[props["title"]],
                  f"palette {props['title']} is {width}x{height}, not {PALETTE_SIZES[props['title']]}")
        elif props["title"] == "Info":
            check(width == 138 and height >= 48 and height % 12 == 0, f"the info window is {width}x{height}")
    taskbar = [p["title"] for w, p in palettes if "_NET_WM_STATE_SKIP_TASKBAR" not in p["state"]]
    check(not taskbar, f"palettes in the taskbar: {taskbar}")
    check(program.desk.active() == doc, "a palette took the keyboard from the drawing")
    os.makedirs(tier.output, exist_ok=True)
    program.desk.screenshot().save_png(os.path.join(tier.output, "palettes.png"))
    program.quit()


def scenario_palettes_come_back(tier):
    """Palettes shown, moved and hidden come back so after a restart with the same preferences."""
    program = Program(tier, "palettes-restart")
    doc = first_document(program)
    show_palette_from_window_menu(program, doc, 21)  # views
    show_palette_from_window_menu(program, doc, 13)  # hides the coordinate bar
    views = program.wait_window("the views window", lambda: [w for w, p in program.palettes() if p["title"] == "Views"])[0]
    program.desk.x("xdotool", "windowmove", str(views), "400", "300", check_rc=True)
    program.wait_window("the views window moved", lambda: abs(program.desk.geometry(views)[0] - 400) < 40)
    program.wait_settled(views, steady=0.5)
    moved = program.desk.geometry(views)
    before = sorted((p["title"], program.desk.geometry(w)) for w, p in program.palettes())
    program.quit()

    again = Program(tier, "palettes-again", again=program)
    doc = first_document(again)
    after = again.wait_window("the palettes again", lambda: len(again.palettes()) == len(before) and again.palettes())
    again.wait_settled([w for w, _ in after], steady=0.5)
    now = sorted((p["title"], again.desk.geometry(w)) for w, p in again.palettes())
    check(now == before, f"palettes after the restart {now}, before {before}")
    views_now = [g for t, g in now if t == "Views"]
    check(views_now == [moved], f"the views window came back at {views_now}, not {moved}")
    check(not any(g[2:] == (243, 11) for _, g in now), "the hidden coordinate bar came back")
    again.quit()


def scenario_palettes_apart(tier):
    """At the default layout the coordinate bar and the tool palette, both hung from the screen's top
    right corner, do not cover each other with their frames: a click on the bar's zoom strip reaches it
    and starts the typed zoom."""
    program = Program(tier, "palettes-apart")
    doc = first_document(program)
    desk = program.desk
    shown = program.wait_window("two palettes", lambda: len(program.palettes()) == 2 and program.palettes())
    program.wait_settled([w for w, _ in shown], steady=0.5)
    # By their widths: a window manager may make the thin bar taller.
    by_width = {desk.geometry(w)[2]: w for w, _ in shown}
    bar, tool = by_width.get(243), by_width.get(64)
    check(bar and tool, f"no coordinate bar and tool palette among {[desk.geometry(w) for w, _ in shown]}")
    bx, by, bw, bh = frame_of(desk, bar)
    tx, ty, tw, th = frame_of(desk, tool)
    apart = bx + bw <= tx or tx + tw <= bx or by + bh <= ty or ty + th <= by
    check(apart, f"the coordinate bar's frame {bx},{by} {bw}x{bh} and the tool palette's {tx},{ty} {tw}x{th} "
                 "overlap")
    for window, what in ((bar, "the coordinate bar"), (tool, "the tool palette")):
        check_on_screen(desk, window, what)
    draw_clicked_line(program, doc, (0.3, 0.3), (0.6, 0.5))
    desk.key("Escape")
    program.wait_idle(0.3)
    dx, dy, dw, dh = desk.geometry(doc)

    def drawing():
        shot = desk.screenshot()
        return [shot.luminance(dx + i * dw // 40, dy + j * dh // 40) for i in range(40) for j in range(4, 36)]

    before = drawing()
    x, y, w, h = desk.geometry(bar)
    desk.click(x + 220, y + h // 2)  # the zoom strip: the typed zoom
    program.wait_idle(0.3)
    type_point(program, "25")
    wait_for("the drawing to be shown at 25 %", lambda: drawing() != before, 10)
    os.makedirs(tier.output, exist_ok=True)
    desk.screenshot().save_png(os.path.join(tier.output, f"palettes-{desk.width}x{desk.height}-{desk.wm}.png"))
    save_through_panel(program, os.path.join(tier.scratch, "Apart.cadx"))
    program.quit()


def scenario_palette_clicks_keep_the_keyboard(tier):
    """Clicking the tool palette changes the tool group but leaves the keyboard with the drawing; a
    right click on it offers the zoom box, which turns it across."""
    program = Program(tier, "palette-clicks")
    doc = first_document(program)
    tool = program.wait_window("the tool palette", lambda: [w for w, p in program.palettes()
                                                             if program.desk.geometry(w)[2:] == (64, 192)])[0]
    x, y, w, h = program.desk.geometry(tool)
    program.desk.click(x + 48, y + 16)  # the circles
    program.wait_idle(0.3)
    check(program.desk.active() == doc, "the tool palette took the keyboard")
    program.desk.right_click(x + 16, y + 80)
    wait_for("the palette's menu", program.desk.popups, 5)
    program.desk.key("Down", "Return")
    wait_for("the menu to close", lambda: not program.desk.popups(), 5)
    turned = program.wait_window("the tool palette across", lambda: program.desk.geometry(tool)[2:] == (192, 64)
                                 and program.desk.geometry(tool))
    check(turned[0] + turned[2] == x + w, f"the turned palette's right edge moved: {turned} from {(x, y, w, h)}")
    check(program.desk.active() == doc, "the palette's menu left the keyboard elsewhere")
    program.quit()


def status_bar_point(desk, window, x):
    """A point of the status bar along the window's bottom edge, x pixels from the left."""
    left, top, width, height = desk.geometry(window)
    return left + x, top + height - 7


def scenario_status_bar_pop_ups(tier):
    """The status bar: the layer box of an empty drawing says no layer is in use, in an alert that takes
    the keys and goes on Return; the line-type box opens its pop-up at the bar, and the type chosen with
    the keys is the one the next line is drawn with."""
    program = Program(tier, "status-bar")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    desk.click(*status_bar_point(desk, doc, 80))
    dismiss_alert_with_return(program)
    program.wait_idle(0.3)
    desk.click(*status_bar_point(desk, doc, 60))
    menu = wait_for("the line-type pop-up to open", desk.popups, 5)[0][1]
    program.wait_idle(0.3)
    mx, my, mw, mh = menu
    desk.click(mx + mw // 2, my + int(mh * 1.5 / 6))  # the second of its six types
    wait_for("the pop-up to close", lambda: not desk.popups(), 5)
    program.wait_idle(0.3)
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    path = os.path.join(tier.scratch, "Status.cadx")
    save_through_panel(program, path)
    attributes = line_attributes_of(dump(tier, path))
    check(len(attributes) == 1 and attributes[0][1] == 2, f"the line was drawn with {attributes}, not type 2")
    program.quit()


def scenario_saved_view_recalled(tier):
    """Window > Save Current View asks for a name in a dialog that takes the typing; after zooming,
    Window > Go to View brings the saved view back, as the saved drawing shows."""
    program = Program(tier, "views")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.3))
    desk.key("Escape")
    program.wait_idle(0.3)
    choose_from_menu(program, doc, WINDOW_MENU, "Save Current View…")
    dialog = program.wait_window("the view's name dialog", lambda: next(
        (w for w, p in program.dialogs() if p["title"] == "View"), None))
    wait_for("the name dialog to take the keys", lambda: desk.active() == dialog, 5)
    desk.key("ctrl+a")
    desk.type("Detail")
    desk.key("Return")
    program.wait_window("the name dialog to close", lambda: not program.dialogs(), 5)
    desk.key("Up", "Up", "Up")  # zoom in from the command field
    program.wait_idle(0.5)
    choose_from_menu(program, doc, WINDOW_MENU, "Go to View", "Detail")
    program.wait_idle(0.5)
    path = os.path.join(tier.scratch, "Views.cadx")
    save_through_panel(program, path)
    elements = dump(tier, path)
    views = [e for e in elements if e[0] == "saved-view"]
    now = [tuple(float(v) for v in e[1:]) for e in elements if e[0] == "window-view"]
    check(len(views) == 1 and views[0][1] == "Detail", f"the saved views are {views}")
    x1, y1 = float(views[0][2]), float(views[0][3])
    check(len(now) == 1 and abs(now[0][0] - x1) < 1e-6 and abs(now[0][1] - y1) < 1e-6,
          f"the window shows {now}, not the view {views[0]}")
    program.quit()

def layer_dump_of(elements, kind):
    return [e[1:] for e in elements if e[0] == kind]


def wait_dialog(program, title):
    dialog = program.wait_window(f"the {title} dialog", lambda: next(
        (w for w, p in program.dialogs() if p["title"] == title), None))
    wait_for(f"the {title} dialog to take the keys", lambda: program.desk.active() == dialog, 5)
    check_on_screen(program.desk, dialog, f"the {title} dialog")
    program.wait_idle(0.5)
    return dialog


def scenario_layer_table_and_grid(tier):
    """Layers > Layer Table takes a name typed at once into the first row; OK gives the layer whose
    name was emptied a generated name and says so in one alert, which Return closes. Layers > Layer Visibility hides a
    layer by a click on its cell. The saved drawing holds the names and the hidden layer."""
    os.makedirs(tier.output, exist_ok=True)
    program = Program(tier, "layer-table")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    choose_from_menu(program, doc, 3, "Layer Table…")
    table = wait_dialog(program, "Layer Table")
    desk.type("Walls")
    desk.key("Tab", "BackSpace")  # the second row's name emptied
    program.wait_idle(0.3)
    desk.screenshot().save_png(os.path.join(tier.output, "layer-table.png"))
    desk.key("Return")
    dismiss_alert_with_return(program)
    program.wait_window("the Layer Table to close", lambda: table not in [w for w, _ in program.dialogs()], 5)

    choose_from_menu(program, doc, 3, "Layer Visibility…")
    grid = wait_dialog(program, "Layer Visibility")
    x, y, w, h = desk.geometry(grid)
    # Item 3 starts at (16, 12); layer 5's cell is the sixth of the first row.
    desk.click(x + 16 + 16 + 33 * 5 + 16, y + 12 + 16 + 8)
    program.wait_idle(0.3)
    desk.screenshot().save_png(os.path.join(tier.output, "layer-grid.png"))
    desk.key("Return")
    program.wait_window("the grid to close", lambda: grid not in [w for w, _ in program.dialogs()], 5)

    path = os.path.join(tier.scratch, "Layers.cadx")
    save_through_panel(program, path)
    saved = dump(tier, path, "--layers")
    names = {int(e[0]): " ".join(e[1:]) for e in layer_dump_of(saved, "layer-name")}
    check(names.get(0) == "Walls", f"layer 0 is named {names.get(0)!r}")
    check(names.get(1) == "Layer 1" and len(names) == 1024, f"generated names: {len(names)}, {names.get(1)!r}")
    check(layer_dump_of(saved, "layer-hidden") == [["5"]], f"hidden: {layer_dump_of(saved, 'layer-hidden')}")
    program.quit()

    # The preset dialog and the area fill dialog, shown by the probe; typing goes to their first field.
    for option, title, typed, printed in (("--preset", "New Preset", "Walls", "Walls"),
                                          ("--area-fill", "Area Fill", "", "-1 2")):
        probe = Program(tier, "dialog-probe" + option, args=(option,), executable=tier.dialog_probe)
        dialog = probe.wait_window(f"the {title} dialog", lambda: next(
            (w for w, p in probe.dialogs() if p["title"] == title), None))
        wait_for("the dialog to take the keys", lambda: probe.desk.active() == dialog, 5)
        probe.wait_idle(0.5)
        if typed:
            probe.desk.type(typed)
            probe.wait_idle(0.3)
        probe.desk.screenshot().save_png(os.path.join(tier.output, option.strip("-") + ".png"))
        probe.desk.key("Return")
        wait_for("the dialog to close on Return", lambda: probe.process.poll() is not None, 10)
        with open(probe.stdout_path) as f:
            out = f.read().strip()
        check(out == printed, f"{title}: the probe printed {out!r}")


def scenario_layer_delete_and_sets(tier):
    """Layers > Delete Layer Elements offers the current layer, selected, and deletes the line on it,
    and Undo brings it back; Layers > Layer Sets makes a set from the name typed at once and its New
    Set button. The saved drawing holds the line and the set."""
    os.makedirs(tier.output, exist_ok=True)
    program = Program(tier, "layer-sets")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.4), (0.6, 0.4))
    desk.key("Escape")
    choose_from_menu(program, doc, 3, "Delete Layer Elements…")
    dialog = wait_dialog(program, "Delete Layer Elements")
    desk.key("Return")  # the current layer, the line's, is offered
    program.wait_window("the dialog to close", lambda: dialog not in [w for w, _ in program.dialogs()], 5)
    path = os.path.join(tier.scratch, "Sets.cadx")
    save_through_panel(program, path)
    check(lines_of(dump(tier, path)) == [], "the line on the current layer was not deleted")
    desk.key("ctrl+z")
    program.wait_idle(0.3)

    choose_from_menu(program, doc, 3, "Layer Sets…")
    sets = wait_dialog(program, "Layer Sets")
    desk.type("Plan")
    x, y, w, h = desk.geometry(sets)
    desk.click(x + 227, y + 206)  # New Set
    program.wait_idle(0.3)
    desk.screenshot().save_png(os.path.join(tier.output, "layer-sets.png"))
    desk.key("Return")
    program.wait_window("the Layer Sets dialog to close", lambda: sets not in [w for w, _ in program.dialogs()], 5)
    mtime = os.stat(path).st_mtime_ns
    desk.key("ctrl+s")
    program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
    saved = dump(tier, path, "--layers")
    check(len(lines_of(saved)) == 1, f"after Undo the drawing holds {lines_of(saved)}")
    check(layer_dump_of(saved, "layer-set") == [["Plan"]], f"sets: {layer_dump_of(saved, 'layer-set')}")

    # Window > Show Attribute Presets and Show Layer Sets. The presets window goes to the screen's foot
    # first; the layer sets then cover the bar's left.
    for item, title in ((17, "Attribute Presets"), (18, "Layer Sets")):
        show_palette_from_window_menu(program, doc, item)
        program.wait_window(f"the {title} palette", lambda: next(
            (w for w, p in program.windows() if p["title"] == title), None))
    program.wait_idle(0.5)
    desk.screenshot().save_png(os.path.join(tier.output, "layer-set-and-preset-palettes.png"))
    program.quit()


def settings_of(tier, path):
    """The drawing's scale, unit code, snap mode and paper format as saved."""
    row = next(e for e in dump(tier, path) if e[0] == "settings")
    return float(row[1]), int(row[2]), int(row[3]), int(row[4])


def open_dialog(program, title):
    dialog = program.wait_window(f"the {title} dialog", lambda: next(
        (w for w, p in program.dialogs() if p["title"] == title), None))
    wait_for(f"the {title} dialog to take the keys", lambda: program.desk.active() == dialog, 5)
    program.wait_idle(0.3)
    return dialog


def shoot(tier, name):
    os.makedirs(tier.output, exist_ok=True)
    tier.desk.screenshot().save_png(os.path.join(tier.output, name + ".png"))


def scenario_drawing_format_refuses_a_zero_scale(tier):
    """Settings > Drawing Format: a scale of 0 is refused by an alert that closes on Return and gives
    the keys back to the dialog; the scale typed next is saved with the drawing. Preferences (from the
    application menu) and Font and Size open and close with Escape. Each dialog is photographed."""
    program = Program(tier, "format")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    choose_from_menu(program, doc, 6, "Drawing Format…")
    dialog = open_dialog(program, "Drawing Format")
    shoot(tier, "drawing-format")
    desk.key("Tab", "Tab")  # the scale field, its text selected
    desk.type("0")
    desk.key("Return")
    dismiss_alert_with_return(program)
    wait_for("the dialog to take the keys again", lambda: desk.active() == dialog, 5)
    desk.key("Tab", "Tab", "Tab", "Tab", "Tab")  # round the five fields to the scale again
    desk.type("0.5")
    desk.key("Return")
    program.wait_window("the dialog to close", lambda: not program.dialogs())
    path = os.path.join(tier.scratch, "Format.cadx")
    save_through_panel(program, path)
    scale = settings_of(tier, path)[0]
    check(scale == 0.5, f"the saved scale is {scale}, not 0.5")
    choose_from_menu(program, doc, 0, "Preferences…")
    open_dialog(program, "Preferences")
    shoot(tier, "preferences")
    desk.key("Escape")
    program.wait_window("the Preferences to close", lambda: not program.dialogs())
    choose_from_menu(program, doc, 6, "Font and Size…")
    open_dialog(program, "Font and Size")
    shoot(tier, "font-and-size")
    desk.key("Escape")
    program.wait_window("Font and Size to close", lambda: not program.dialogs())
    program.quit()


def scenario_shortcut_moved_after_alert(tier):
    """Settings > Keyboard Shortcuts: Shift-F9 given to one snap command, then to another, which asks
    first in alert 131 (Return moves the key); after OK the key sets the second command's snap mode,
    saved with the drawing."""
    program = Program(tier, "shortcuts")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    choose_from_menu(program, doc, 6, "Keyboard Shortcuts…")
    dialog = open_dialog(program, "Keyboard Shortcuts")
    desk.type("Snap to int")
    desk.key("shift+F9")
    program.wait_idle(0.3)
    desk.key("Up")  # Snap to element points, the row above
    desk.key("shift+F9")
    dismiss_alert_with_return(program)
    wait_for("the dialog to take the keys again", lambda: desk.active() == dialog, 5)
    shoot(tier, "keyboard-shortcuts")
    desk.key("Return")
    program.wait_window("the dialog to close", lambda: not program.dialogs())
    wait_for("the drawing to take the keys", lambda: desk.active() == doc, 5)
    desk.key("shift+F9")
    program.wait_idle(0.3)
    path = os.path.join(tier.scratch, "Keys.cadx")
    save_through_panel(program, path)
    snap = settings_of(tier, path)[2]
    check(snap == 2, f"Shift-F9 left the snap mode at {snap}, not 2 (element points)")
    program.quit()


def panel_pop_up(program, panel, below=0):
    """Opens the program's format pop-up of a file panel by a click; its list's geometry. The pop-up
    stands at the left of the options area along the panel's bottom, above `below` other controls
    there (the Open panel's two check boxes); the click goes to the middle of the control found so,
    counted upward in the area's left column."""
    desk = program.desk
    x, y, w, h = desk.geometry(panel)
    shot = desk.screenshot()
    column = x + 24
    background = shot.rgb(x + 3, y + h - 3)
    bands = []  # [bottom, top] of each control, upward
    for yy in range(y + h - 4, y + h - 200, -1):
        if shot.rgb(column, yy) == background:
            continue
        if bands and bands[-1][1] - yy <= 3:
            bands[-1][1] = yy
        else:
            bands.append([yy, yy])
    check(len(bands) > below, f"the controls at the left of the options area are not found: {bands}")
    bottom, top = bands[below]
    desk.click(column + 8, (top + bottom) // 2)
    return wait_for("the format pop-up's list", lambda: (desk.popups() or [(None, None)])[0][1], 5)


def choose_panel_format(program, panel, index, count, keys, below=0):
    """Chooses entry index (from 0) of the panel's format pop-up of count entries: with keys, by those
    keys on the closed pop-up, which keeps the keyboard; else by a click into its open list."""
    desk = program.desk
    px, py, pw, ph = panel_pop_up(program, panel, below)
    if keys:
        desk.key("Escape")
        wait_for("the format list to close", lambda: not desk.popups(), 5)
        desk.key(*keys)
    else:
        desk.click(px + pw // 2, py + (2 * index + 1) * ph // (2 * count))
        wait_for("the format list to close", lambda: not desk.popups(), 5)
    program.wait_idle(0.3)


def scenario_save_as_in_another_format(tier):
    """A drawing saved as road1.cadx (a PDF area laid) is written again by Save As and by File > Export >
    Save a Copy As in DXF and in PDF, the format chosen in the panel's pop-up by a click and by keys,
    the name left as the panel proposes it. Each writes road1.DXF or road1.PDF in its format (when it
    is there already, after the panel's question); road1.cadx and its sidecar stay byte for byte, and
    the window keeps its name. End on the keys passes over the formats without a writer (IGES, hole
    list). The Open panel opens the DXF file its name field names with DXF chosen in its pop-up, by a click
    and by keys."""
    program = Program(tier, "save-as-format")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.3, 0.4), (0.6, 0.6))
    desk.key("Escape")
    program.wait_idle(0.3)
    choose_from_menu(program, doc, 1, "Output Areas", "PDF Area from Two Corners")
    draw_clicked_line(program, doc, (0.2, 0.2), (0.7, 0.7))
    folder = os.path.join(tier.scratch, "roads")
    os.mkdir(folder)
    native = os.path.join(folder, "road1.cadx")
    sidecar = os.path.join(folder, "._road1.cadx")
    save_through_panel(program, native)
    wait_for("the drawing's sidecar", lambda: os.path.exists(sidecar), 5)
    kept = {p: open(p, "rb").read() for p in (native, sidecar)}

    # (how the panel opens, format index, its file and first bytes, keys on the closed pop-up)
    formats = [("DXF", 2, "road1.DXF", lambda head: b"  0\r\nSECTION\r\n" in head, ("Home", "Down", "Down")),
               ("PDF", 4, "road1.PDF", lambda head: head.startswith(b"%PDF-"), ("End",))]
    for menu in ("Save As", "Save a Copy As"):
        for name, index, leaf, in_format, keys in formats:
            for by_keys in (False, True):
                case = f"{menu}, {name} chosen {'by keys' if by_keys else 'by a click'}"
                target = os.path.join(folder, leaf)
                there = os.path.exists(target)
                written = os.stat(target).st_mtime_ns if there else None
                if menu == "Save As":
                    desk.key("ctrl+shift+s")
                else:
                    choose_from_menu(program, doc, 1, "Export", "Save a Copy As…")
                panel = program.wait_window("the Save panel", lambda: (program.panels() or [None])[0])
                program.wait_settled(panel, steady=0.5)
                choose_panel_format(program, panel, index, 7, keys if by_keys else None)
                desk.key("Return")
                if there:
                    question = program.wait_window(f"{case}: the question whether to replace {leaf}",
                                                   lambda: next((w for w in program.panels() if w != panel), None))
                    wait_for("the question to take the keys", lambda: desk.active() == question, 5)
                    desk.key("y")
                if name == "DXF":
                    dismiss_alert_with_return(program)  # the export's confirmation
                program.wait_window(f"{case}: {leaf} to be written", lambda: not program.panels() and os.path.exists(
                    target) and os.stat(target).st_mtime_ns != written)
                program.wait_idle(0.5)
                check(not program.alerts(), f"{case}: an alert stayed")
                with open(target, "rb") as f:
                    head = f.read(200)
                check(in_format(head), f"{case}: {leaf} begins with {head!r}")
                for p, data in kept.items():
                    check(os.path.exists(p) and open(p, "rb").read() == data, f"{case}: {p} changed")
                check(desk.props(doc)["title"] == "road1.cadx", f"{case}: the window is {desk.props(doc)['title']!r}")
                check(sorted(os.listdir(folder)) == sorted(["._road1.cadx", "road1.cadx"] + [
                    f for _, _, f, _, _ in formats if os.path.exists(os.path.join(folder, f))]),
                    f"{case}: the folder holds {sorted(os.listdir(folder))}")

    # DXF under names the automatic choice does not take for DXF, one a file (a file already open
    # would come to the front). The format first: a path typed into the name field pops up its
    # completions, which would take the click meant for the format pop-up.
    for leaf, by_keys in (("road plan.dat", False), ("road plan 2.dat", True)):
        dxf = os.path.join(folder, leaf)
        shutil.copyfile(os.path.join(folder, "road1.DXF"), dxf)
        before = program.documents()
        desk.key("ctrl+o")
        panel = program.wait_window("the Open panel", lambda: (program.panels() or [None])[0])
        wait_for("the Open panel to take the keys", lambda: desk.active() == panel, 5)
        program.wait_settled(panel, steady=0.5)
        choose_panel_format(program, panel, 3, 11, ("Home", "Down", "Down", "Down") if by_keys else None, below=2)
        desk.key("alt+n", "ctrl+a")  # the name field by its label's mnemonic
        desk.type(dxf)
        desk.key("Return")
        opened = program.wait_new_document(before)
        how = "by keys" if by_keys else "by a click"
        check(not program.alerts(), f"opening {leaf} as DXF chosen {how} raised an alert")
        check(desk.props(opened)["title"].endswith(leaf), f"the Open panel opened {desk.props(opened)['title']!r}")
        for p, data in kept.items():
            check(open(p, "rb").read() == data, f"opening {leaf} changed {p}")
        # An imported drawing counts as changed: closing it asks, and Don't Save closes it.
        desk.key("ctrl+w")
        program.wait_window("the save-changes alert", lambda: (program.alerts() or [None])[0])
        desk.key("ctrl+d")
        program.wait_window(f"{leaf} to close", lambda: opened not in program.documents() and not program.alerts(), 5)
    program.quit()


def window_view_of(tier, path):
    """The view saved with the drawing: origin x, origin y and drawing units per pixel."""
    row = next(e for e in dump(tier, path, "--view") if e[0] == "window-view")
    return tuple(float(v) for v in row[1:4])


def scenario_zoom_by_wheel_and_click(tier):
    """Ctrl+wheel turned away from the user zooms in, towards the user out, each about the pointer: the
    drawing point under it stays. Ctrl+Alt+drag (openbox takes Alt+drag to move the window) zooms to
    the rectangle dragged out from its centre."""
    program = Program(tier, "zoom")
    program.wait_window("the application window", program.application_window)
    doc = new_document(program)
    program.wait_settled(doc, steady=0.5)
    desk = program.desk
    draw_clicked_line(program, doc, (0.2, 0.3), (0.6, 0.5))
    desk.key("Escape")
    path = os.path.join(tier.scratch, "Zoom.cadx")
    save_through_panel(program, path)
    x, y, w, h = desk.geometry(doc)
    start = window_view_of(tier, path)

    def saved_view():
        mtime = os.stat(path).st_mtime_ns
        desk.key("ctrl+s")
        program.wait_window("Save to write the file again", lambda: os.stat(path).st_mtime_ns != mtime)
        program.wait_idle(0.3)
        return window_view_of(tier, path)

    def under_pointer(before, after):
        """The window column and the distance from the view's bottom that kept their drawing point."""
        (x1, y1, s1), (x2, y2, s2) = before, after
        return (x2 - x1) / (s1 - s2), (y2 - y1) / (s1 - s2)

    column = int(0.35 * w)
    desk.move(x + column, y + int(0.45 * h))
    fixed = []
    view = start
    for button, closer in (("4", True), ("5", False)):
        desk.x("xdotool", "keydown", "ctrl", "click", button, "keyup", "ctrl", check_rc=True)
        program.wait_idle(0.3)
        zoomed = saved_view()
        check((zoomed[2] < view[2]) == closer and zoomed[2] != view[2],
              f"Ctrl+wheel button {button} took the scale from {view[2]} to {zoomed[2]}")
        fixed.append(under_pointer(view, zoomed))
        view = zoomed
    for h_kept, v_kept in fixed:
        check(abs(h_kept - column) <= 1.5 and abs(v_kept - fixed[0][1]) <= 1.5 and 0 < v_kept < h,
              f"the wheel did not zoom about the pointer at column {column}: points kept {fixed}")

    # From the centre outward: half a width of 60 pixels fits 120 pixels of the old view to the window.
    cx, cy = int(0.5 * w), int(0.5 * h)
    desk.move(x + cx, y + cy)
    desk.x("xdotool", "keydown", "ctrl", "alt", "mousedown", "1", check_rc=True)
    for step in (20, 40, 60):
        desk.move(x + cx + step, y + cy + step // 2)
    desk.x("xdotool", "mouseup", "1", "keyup", "ctrl", "alt", check_rc=True)
    program.wait_idle(0.5)
    check(program.desk.geometry(doc)[:2] == (x, y), "Ctrl+Alt+drag moved the window")
    zoomed = saved_view()
    centre = zoomed[0] + 60 * view[2]
    check(zoomed[2] < view[2] / 3 and abs(centre - (view[0] + cx * view[2])) <= 2 * view[2],
          f"Ctrl+Alt+drag about column {cx} took the view {view} to {zoomed}")
    program.quit()


SCENARIOS = [
    ("A main road", scenario_main_road, False),
    ("B windows settle", scenario_windows_settle, True),
    ("C inside the screen, cascaded", scenario_inside_and_cascaded, True),
    ("D damaged file from the Open panel", scenario_damaged_file_from_panel, False),
    ("E command-line open errors", scenario_command_line_errors, False),
    ("F Escape from a menu", scenario_escape_from_menu, False),
    ("G menu bar fits", scenario_menu_bar_fits, True),
    ("H name already open", scenario_name_already_open, False),
    ("I repair from the menu bar", scenario_repair_from_menu, False),
    ("J import an image", scenario_import_image, False),
    ("K typing into a dialog's selected field", scenario_dialog_field_takes_typing, False),
    ("L fillet from the tool menu", scenario_fillet_from_tool_menu, False),
    ("M circles and arcs", scenario_circles_and_arcs, False),
    ("N a text from the text tool", scenario_text_tool, False),
    ("O pasting into the long-text dialog", scenario_long_text_paste, False),
    ("P lines moved and copied from the tool menu", scenario_move_copy_from_tool_menu, False),
    ("Q pen and line type from the attribute tools", scenario_attribute_tools, False),
    ("R a DXF file from the Open panel", scenario_dxf_from_panel, False),
    ("S dimensions from the tool menu", scenario_dimension_tools, False),
    ("T a hatched area with a hole", scenario_area_with_hole, False),
    ("U deleting from the tool menu", scenario_delete_tools, False),
    ("V polylines from the point-list tools", scenario_point_list_tools, False),
    ("W a line's end dragged with the editing tool", scenario_drag_line_end, False),
    ("X shapes and locks from the editing tools", scenario_shape_tools, False),
    ("Y a symbol defined from a key and exploded", scenario_symbol_from_key, False),
    ("Z keys given, saved and removed from the menus", scenario_keys_from_menu, False),
    ("AA layers moved and copied from the menu bar", scenario_layers_from_menu, False),
    ("AB the drawing scaled from a line", scenario_scale_drawing_from_line, False),
    ("AC the PDF area onto the clipboard", scenario_pdf_area_to_clipboard, False),
    ("AD the title block on New brings the paper template", scenario_title_block_on_new, False),
    ("AF a picture pasted from the clipboard", scenario_paste_picture, False),
    ("AO the pen dialog shrinks to its mode choice", scenario_pens_dialog_height, False),
    ("AP a dimension pen refused in an alert", scenario_dimension_pen_refused, False),
    ("AG --print tells each file that does not print and ends", scenario_print_from_command_line, False),
    ("AE a frame printed into a PDF file through the print dialogs", scenario_print_frame_into_pdf, False),
    ("AJ palettes are tool windows of their size", scenario_palettes_are_tool_windows, False),
    ("AK palettes come back after a restart", scenario_palettes_come_back, False),
    ("AL palette clicks keep the keyboard with the drawing", scenario_palette_clicks_keep_the_keyboard, False),
    ("AU the coordinate bar and the tool palette apart", scenario_palettes_apart, "all"),
    ("AM the status bar's pop-ups and alert", scenario_status_bar_pop_ups, False),
    ("AN a saved view recalled from the Window menu", scenario_saved_view_recalled, False),
    ("AS the layer table and the visibility grid from the menu bar", scenario_layer_table_and_grid, False),
    ("AT a layer's elements deleted and a layer set made", scenario_layer_delete_and_sets, False),
    ("AQ the drawing format refuses a scale of 0", scenario_drawing_format_refuses_a_zero_scale, False),
    ("AR a shortcut moved after alert 131", scenario_shortcut_moved_after_alert, False),
    ("CA a DXF file of other programs from the command line", scenario_dxf_from_other_programs, False),
    ("CB a DXF file whose blocks fan out to 20,000 instances at one spot", scenario_dxf_fan_out, False),
    ("ZA zoom by Ctrl+wheel and Ctrl+Alt+drag", scenario_zoom_by_wheel_and_click, False),
    ("ZB Save As and Save a Copy As in another format keep the drawing's file", scenario_save_as_in_another_format,
     False),
]


# --- The tier ----------------------------------------------------------------------------------------


class Tier:
    def __init__(self, options, desk, scratch):
        self.program, self.dump, self.dialog_probe = options.program, options.dump, options.dialog_probe
        self.output = options.output
        self.desk, self.scratch = desk, scratch
        self.running, self.started = [], []


def runs_on(where, screen):
    """Whether a scenario marked False (the first screen), True (the openbox screens) or "all" runs on
    the screen."""
    if where == "all":
        return True
    return screen[2] == "openbox" and (where or screen == SCREENS[0])


def run_screen(options, screen, selected, failures):
    width, height, wm = screen
    scratch = tempfile.mkdtemp(prefix=f"draftwerk-desktop-{width}x{height}-")
    os.chmod(scratch, 0o700)
    desk = None
    try:
        desk = Desktop(width, height, scratch, wm)
        for name, scenario, where in SCENARIOS:
            if selected and not any(s.lower() in name.lower() for s in selected):
                continue
            if not runs_on(where, screen):
                continue
            tier = Tier(options, desk, tempfile.mkdtemp(prefix="s-", dir=scratch))
            label = f"{name} [{width}x{height} {wm}]"
            start = time.monotonic()
            try:
                scenario(tier)
                print(f"PASS {label} ({time.monotonic() - start:.1f} s)", flush=True)
            except Exception as error:  # a fault of the driver counts as a failure too
                failures.append(label)
                print(f"FAIL {label}: {error}", flush=True)
                if not isinstance(error, Failure):
                    traceback.print_exc()
                keep_evidence(options, desk, tier, label)
            finally:
                for program in list(tier.running):
                    program.kill()
                # Windows of a killed run must be gone before the next scenario counts windows.
                wait_for("the program's windows to go", lambda: not desk.clients(), 10)
    finally:
        if desk:
            desk.close()
        shutil.rmtree(scratch, ignore_errors=True)


def keep_evidence(options, desk, tier, label):
    folder = os.path.join(options.output, re.sub(r"[^A-Za-z0-9]+", "-", label).strip("-"))
    os.makedirs(folder, exist_ok=True)
    try:
        desk.screenshot().save_png(os.path.join(folder, "screen.png"))
        print(f"  screenshot: {os.path.join(folder, 'screen.png')}")
    except Exception as error:
        print(f"  no screenshot: {error}")
    for program in tier.started:
        target = os.path.join(folder, os.path.basename(program.folder) + ".stderr.txt")
        shutil.copyfile(program.stderr_path, target)
        print(f"  standard error: {target}")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--dump", required=True)
    parser.add_argument("--dialog-probe", required=True)
    parser.add_argument("--output", required=True, help="folder for screenshots and logs of failures")
    parser.add_argument("--only", action="append", default=[], help="run the scenarios whose names contain this")
    parser.add_argument("--screen", action="append", default=[],
                        help="WIDTHxHEIGHT or WIDTHxHEIGHTxWM (openbox, fluxbox); default every screen of SCREENS")
    options = parser.parse_args()
    # A terminated run (a CTest timeout) still ends its server, window manager and programs.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    options.program, options.dump = os.path.abspath(options.program), os.path.abspath(options.dump)
    options.dialog_probe = os.path.abspath(options.dialog_probe)
    options.output = os.path.abspath(options.output)
    screens = [(int(v[0]), int(v[1]), v[2] if len(v) > 2 else "openbox")
               for v in (s.split("x", 2) for s in options.screen)] or SCREENS
    for tool in ("Xvfb", "xdotool", "xprop", "xwininfo", "xclip") + tuple(sorted({s[2] for s in screens})):
        if shutil.which(tool) is None:
            print(f"missing {tool}: run scripts/ensure-packages.sh")
            return 1
    shutil.rmtree(options.output, ignore_errors=True)
    failures = []
    start = time.monotonic()
    for screen in screens:
        run_screen(options, screen, options.only, failures)
    print(f"{'FAILED' if failures else 'passed'} in {time.monotonic() - start:.0f} s"
          + (f": {', '.join(failures)}" if failures else ""))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
