#!/usr/bin/python3
"""Beugungsbilder as a user meets it.

Starts a private X server, starts the program in it and drives the window with
the mouse and the keyboard through xdotool: runs with the defaults, a limit
with a decimal comma, a lattice cell with a decimal comma, another group picked
with the arrow keys, typed cells, limit and free text, "Lösung" and "hoch".
After every run it reads the picture back from the clipboard with xclip and
holds it against the limit circles, the spots that the program's own steps
place (printed by e2e_reference), the credit in the corner and the whole
picture that those steps draw without a window. The text of each message box
is read with Ctrl+C before the box is closed with Enter.

Every process it starts is ended on the way out, whatever happens (on a
signal too, and by the kernel if this script is killed outright), and every
wait is bounded: each step by 20 s, the whole test by 240 s.
"""

import argparse
import ctypes
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

OVERALL_SECONDS = 240
STEP_SECONDS = 20

# Control centres in the window's client area, from the fixed layout of the
# window (left, top, width, height of each control, group boxes included).
BUTTON_GENERATE = (648 + 105 // 2, 13 + 65 // 2)
EDIT_LIMIT = (200 + 49 // 2, 144 + 21 // 2)
EDIT_FREE_TEXT = (56 + 264 // 2, 174 + 21 // 2)
COMBO_GROUPS = (8 + 8 + 297 // 2, 8 + 16 + 23 // 2)
# Radio items sit 8 pixels into their box, 16 + i × 18 pixels down, 18 high.
RADIO_HIGH_RESOLUTION = (648 + 8 + 20, 98 + 16 + 18 + 9)
RADIO_SOLUTION = (760 + 8 + 20, 98 + 16 + 18 + 9)


def lattice_cell(row):
    """Centre of row `row` of the lattice grid: box at 328, 8; grid at 89, 18; rows 22 high."""
    return (328 + 89 + 30, 8 + 18 + 22 * row + 11)


def die_with_parent():
    """Runs in each child before it starts: should this script be killed
    outright, with no chance to clean up, the kernel ends the child too."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Failure(Exception):
    pass


class Watchdog(Exception):
    pass


# --- PNG, with nothing but the standard library ---

def decode_png(data):
    """Returns (width, height, rows) with rows[y][x] = (r, g, b)."""
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        raise Failure("the clipboard holds no PNG (%d bytes)" % len(data))
    pos, idat, palette = 8, [], None
    width = height = depth = colour = interlace = None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise Failure("unexpected PNG layout: depth %s, colour type %s" % (depth, colour))
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + predictor) & 255
        previous = line
        if colour == 3:
            rows.append([palette[v] for v in line])
        elif channels in (1, 2):
            rows.append([(line[i],) * 3 for i in range(0, stride, channels)])
        else:
            rows.append([tuple(line[i:i + 3]) for i in range(0, stride, channels)])
    return width, height, rows


class Picture:
    def __init__(self, data):
        self.width, self.height, self.rows = decode_png(data)

    def at(self, x, y):
        return self.rows[y][x]

    def black(self, x, y):
        return self.at(x, y) == (0, 0, 0)

    def white(self, x, y):
        return self.at(x, y) == (255, 255, 255)


# --- processes ---

class Session:
    """The X server, the program and everything else started here."""

    def __init__(self, work):
        self.work = work
        self.processes = []
        self.env = None
        self.window = None
        self.origin = (0, 0)

    def spawn(self, args, log, **kwargs):
        out = open(os.path.join(self.work, log), "wb")
        process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                   start_new_session=True, preexec_fn=die_with_parent, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        deadline = time.monotonic() + 5
        for process in reversed(self.processes):
            try:
                process.wait(timeout=max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait(timeout=5)
        self.processes.clear()

    def start_x_server(self):
        # Xvfb picks a free display itself and writes its number to the pipe.
        read_end, write_end = os.pipe()
        server = self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + STEP_SECONDS
        os.set_blocking(read_end, False)
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or server.poll() is not None:
                os.close(read_end)
                raise Failure("Xvfb did not start: " + self.log("xvfb.log"))
            try:
                chunk = os.read(read_end, 16)
            except BlockingIOError:
                chunk = None
            if chunk == b"":
                break
            if chunk:
                number += chunk
            else:
                time.sleep(0.05)
        os.close(read_end)
        display = ":" + number.decode().strip()
        runtime = tempfile.mkdtemp(prefix="runtime-", dir=self.work)
        os.chmod(runtime, 0o700)
        self.env = {key: value for key, value in os.environ.items()
                    if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY")}
        self.env.update(DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
        # Leaks inside the toolkit and the X libraries are not this program's.
        self.env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        print("X server on", display, flush=True)

    def log(self, name):
        try:
            with open(os.path.join(self.work, name), "rb") as f:
                return f.read().decode(errors="replace")[-3000:]
        except OSError:
            return ""

    def run(self, args, check=True, timeout=STEP_SECONDS):
        result = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
        return result

    def xdotool(self, *args):
        return self.run(["xdotool", *[str(a) for a in args]]).stdout.decode()

    # --- the program's windows ---

    def windows(self):
        result = self.run(["xdotool", "search", "--onlyvisible", "--name", "^Beugungsbilder$"], check=False)
        return [w for w in result.stdout.decode().split()]

    def start_program(self, program):
        self.program = self.spawn([program], "program.log", env=self.env, cwd=self.work)
        found = wait_for(lambda: self.windows(), "the window to appear", self)
        self.window = found[0]
        self.focus(self.window)
        shell = self.xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in shell.split())
        self.origin = (int(values["X"]), int(values["Y"]))
        print("window", self.window, "at", self.origin, flush=True)

    def alive(self):
        if self.program.poll() is not None:
            raise Failure("the program ended with status %s:\n%s" % (self.program.returncode,
                                                                      self.log("program.log")))

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)

    def click(self, point, double=False):
        self.alive()
        x, y = self.origin[0] + point[0], self.origin[1] + point[1]
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "--repeat", 2 if double else 1, "--delay", 80, 1)
        time.sleep(0.2)

    def keys(self, *keys):
        self.alive()
        self.xdotool("key", "--delay", 40, *keys)
        time.sleep(0.1)

    def type(self, text):
        self.alive()
        self.xdotool("type", "--delay", 40, text)
        time.sleep(0.1)

    def replace_edit(self, point, text):
        self.click(point)
        self.keys("ctrl+a")
        self.type(text)

    def replace_cell(self, row, text):
        # Double-clicking opens the cell's editor whether or not it was current.
        self.click(lattice_cell(row), double=True)
        time.sleep(0.3)
        self.keys("ctrl+a")
        self.type(text)
        self.keys("Return")

    # --- the clipboard ---

    def clipboard(self, target):
        result = self.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], check=False, timeout=10)
        return result.stdout if result.returncode == 0 else None

    def generate_picture(self, previous):
        """Clicks "Bilder generieren" and returns the new picture's PNG."""
        self.click(BUTTON_GENERATE)

        def fresh():
            self.alive()
            if len(self.windows()) > 1:
                raise Failure("a message box came up instead of a picture:\n" + self.read_box_text())
            data = self.clipboard("image/png")
            return data if data and data != previous else None
        return wait_for(fresh, "a new picture on the clipboard", self)

    def read_box_text(self):
        box = [w for w in self.windows() if w != self.window]
        if not box:
            return ""
        self.focus(box[0])
        self.keys("ctrl+c")
        text = wait_for(lambda: self.clipboard("UTF8_STRING"), "the box's text on the clipboard", self)
        return text.decode("utf-8", errors="replace")

    def expect_box(self, message):
        """Clicks "Bilder generieren", expects a box with `message`, and closes it with Enter."""
        self.click(BUTTON_GENERATE)
        boxes = wait_for(lambda: [w for w in self.windows() if w != self.window], "a message box", self)
        text = self.read_box_text()
        lines = [line.strip() for line in text.splitlines()]
        check("Beugungsbilder" in lines, "box title in %r" % text)
        check(message in lines, "box text %r in %r" % (message, text))
        self.focus(boxes[0])
        self.keys("Return")
        wait_for(lambda: len(self.windows()) == 1, "the message box to close", self)
        self.focus(self.window)
        print("box:", message, flush=True)


def wait_for(probe, what, session=None, seconds=STEP_SECONDS):
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            detail = session.log("program.log") if session else ""
            raise Failure("timed out waiting for %s\n%s" % (what, detail))
        time.sleep(0.2)


failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, flush=True)
    return condition


# --- what the picture must show ---

def reference(args, work, name, settings):
    """Runs the program's steps without a window; returns their picture and reflections."""
    path = os.path.join(work, name + "-reference.png")
    pairs = ["%s=%s" % item for item in settings.items()]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=work))
    env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    result = subprocess.run([args.reference, *pairs, "picture=" + path], env=env, capture_output=True,
                            timeout=60, stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        raise Failure("e2e_reference failed: " + result.stderr.decode(errors="replace"))
    reflections, maxspot, size = [], None, None
    for line in result.stdout.decode().splitlines():
        word, _, rest = line.partition(" ")
        if word == "reflection":
            x, y, relative = rest.split()
            reflections.append((int(x), int(y), float(relative)))
        elif word == "maxspot":
            maxspot = float(rest)
        elif word == "size":
            size = tuple(int(v) for v in rest.split())
        elif word in ("message", "error"):
            raise Failure("the reference run ended with %s %s" % (word, rest))
    with open(path, "rb") as f:
        return Picture(f.read()), reflections, maxspot, size


def check_picture(name, data, expected, work):
    with open(os.path.join(work, name + ".png"), "wb") as f:
        f.write(data)
    picture = Picture(data)
    drawn, reflections, maxspot, size = expected
    factor = 2 if size == (1600, 1000) else 1
    print("%s: %d × %d, %d reflections" % (name, picture.width, picture.height, len(reflections)), flush=True)
    if not check((picture.width, picture.height) == (800 * factor, 500 * factor) == size,
                 "%s: picture size %d × %d, reference %s" % (name, picture.width, picture.height, size)):
        return

    # The three limit circles touch their bounding boxes at the middle of
    # each side; a few pixels outside, the picture is white.
    corners = {1: [(13, 382, 253, 142), (280, 382, 520, 142), (547, 382, 787, 142)],
               2: [(27, 764, 507, 284), (560, 764, 1040, 284), (1093, 764, 1573, 284)]}[factor]
    for left, bottom, right, top in corners:
        cx, cy = (left + right) // 2, (top + bottom) // 2
        for x, y, ox, oy in ((left, cy, -3, 0), (right, cy, 3, 0), (cx, top, 0, -3), (cx, bottom, 0, 3)):
            check(picture.black(x, y), "%s: limit circle at (%d, %d) is %s" % (name, x, y, picture.at(x, y)))
            check(picture.white(x + ox, y + oy),
                  "%s: outside the circle at (%d, %d) is %s" % (name, x + ox, y + oy, picture.at(x + ox, y + oy)))

    # Every spot of a radius of two pixels or more is black at its centre.
    checked = 0
    for x, y, relative in reflections:
        if relative * maxspot >= 2.0:
            checked += 1
            check(picture.black(x, y), "%s: spot at (%d, %d) is %s" % (name, x, y, picture.at(x, y)))
    check(checked > 0, "%s: no spot large enough to look at" % name)

    # The credit stands flush in the bottom-right corner.
    w, h = picture.width, picture.height
    ink = [(x, y) for y in range(h - 20 * factor, h) for x in range(w - 130 * factor, w) if not picture.white(x, y)]
    check(len(ink) > 40 * factor, "%s: no credit in the bottom-right corner" % name)
    if ink:
        check(max(x for x, _ in ink) >= w - 10 * factor, "%s: credit ends %d pixels before the right edge"
              % (name, w - 1 - max(x for x, _ in ink)))
        check(max(y for _, y in ink) >= h - 6 * factor, "%s: credit stands above the bottom edge" % name)

    # And the whole picture is the one the program's steps draw.
    differing = [(x, y) for y in range(h) for x in range(w) if picture.at(x, y) != drawn.at(x, y)]
    check(not differing, "%s: %d pixels differ from the reference picture, first at %s"
          % (name, len(differing), differing[:5]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--reference", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    args.program, args.reference = os.path.abspath(args.program), os.path.abspath(args.reference)
    for tool in ("Xvfb", "xdotool", "xclip"):
        if not shutil.which(tool):
            print("missing tool:", tool, "(bash tools/install_dependencies.sh installs it)")
            return 1
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)

    def on_alarm(signum, frame):
        raise Watchdog("the end-to-end test took longer than %d s" % OVERALL_SECONDS)

    def on_term(signum, frame):
        raise Watchdog("stopped by signal %d" % signum)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.signal(signal.SIGTERM, on_term)
    signal.signal(signal.SIGHUP, on_term)
    signal.alarm(OVERALL_SECONDS)

    session = Session(args.work)
    try:
        session.start_x_server()
        session.start_program(args.program)

        # 1. The defaults as the window opens.
        picture = session.generate_picture(None)
        check_picture("default", picture, reference(args, args.work, "default", {}), args.work)

        # 2. A limit with a decimal comma: the error report, then the window goes on.
        session.replace_edit(EDIT_LIMIT, "0,4")
        session.expect_box("'0,4' ist kein gültiger Gleitkommawert.")
        session.replace_edit(EDIT_LIMIT, "0.35")

        # 3. A lattice cell with a decimal comma: the lattice test's message.
        session.replace_cell(4, "90,0")
        session.expect_box("Gitterparameter-Test: 90,0 ist keine gültige Zahl")
        session.replace_cell(4, "100.5")

        # 4. The next run works again, with the new limit and angle.
        cells = "900|1100|1350|90.0|100.5|90.0"
        picture = session.generate_picture(picture)
        check_picture("after-messages", picture,
                      reference(args, args.work, "after-messages", {"limit": "0.35", "cells": cells}), args.work)

        # 5. I 2 2 2, twenty entries down the list, picked with the arrow keys;
        #    new cells, a free text and the solution.
        session.click(COMBO_GROUPS)
        session.keys("Escape")
        session.keys(*["Down"] * 20)
        session.replace_cell(0, "1000")
        session.replace_cell(1, "1200")
        session.replace_cell(2, "800")
        text = "Aufgabe 3: Welche Raumgruppe?"
        session.replace_edit(EDIT_FREE_TEXT, text)
        session.click(RADIO_SOLUTION)
        cells = "1000|1200|800|90.0|100.5|90.0"
        settings = {"limit": "0.35", "cells": cells, "group": 20, "text": text, "presentation": 1}
        picture = session.generate_picture(picture)
        check_picture("solution", picture, reference(args, args.work, "solution", settings), args.work)

        # 6. The same at high resolution.
        session.click(RADIO_HIGH_RESOLUTION)
        settings["resolution"] = 1
        picture = session.generate_picture(picture)
        check_picture("solution-high", picture, reference(args, args.work, "solution-high", settings), args.work)

        session.alive()
    except Exception as error:
        failures.append(str(error))
        print("FAILED:", error, flush=True)
    finally:
        signal.alarm(0)
        session.close()

    if failures:
        print("%d check(s) failed; pictures and logs in %s" % (len(failures), args.work))
        return 1
    print("end-to-end test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
