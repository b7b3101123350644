#!/usr/bin/python3
"""Drives the toolbar demo under a virtual display with real mouse and key events: a drag with
Ctrl floats the toolbar, a drag to the top docks it, the floating frame's close box hides it,
and after a restart the toolbar is back where it was. Exit 77 (skipped) without xvfb-run or
xdotool."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

STATE = re.compile(r"STATE style=(\w+) visible=(\d) frame=(-?\d+),(-?\d+) grip=(-?\d+),(-?\d+) "
                   r"sep=(-?\d+),(-?\d+) close=(-?\d+),(-?\d+)")


class Demo:
    def __init__(self, program, settings, display):
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
        self.proc = subprocess.Popen([program, settings], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, env=env)
        if self.proc.poll() is not None:
            raise SystemExit("the demo did not start")
        os.set_blocking(self.proc.stdout.fileno(), False)
        self.state = None
        self.buffer = ""

    def poll(self):
        try:
            chunk = os.read(self.proc.stdout.fileno(), 65536).decode()
        except BlockingIOError:
            chunk = ""
        if chunk:
            self.buffer += chunk
            *lines, self.buffer = self.buffer.split("\n")
            for line in lines:
                m = STATE.match(line)
                if m:
                    g = m.groups()
                    self.state = {"style": int(g[0], 16), "visible": g[1] == "1",
                                  "frame": (int(g[2]), int(g[3])), "grip": (int(g[4]), int(g[5])),
                                  "sep": (int(g[6]), int(g[7])), "close": (int(g[8]), int(g[9]))}

    def wait(self, what, predicate, timeout=10.0):
        end = time.time() + timeout
        while time.time() < end:
            self.poll()
            if self.state and predicate(self.state):
                return self.state
            time.sleep(0.05)
        raise SystemExit("timed out waiting for %s; last state %s" % (what, self.state))

    def send(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()

    def quit(self):
        self.send("quit")
        self.proc.wait(timeout=10)


def xdo(display, *args):
    subprocess.run(["xdotool", *map(str, args)], check=True,
                   env=dict(os.environ, DISPLAY=display))


def drag(display, start, end, ctrl):
    xdo(display, "mousemove", *start)
    time.sleep(0.2)
    if ctrl:
        xdo(display, "keydown", "ctrl")
    xdo(display, "mousedown", 1)
    steps = 8
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        xdo(display, "mousemove", x, y)
        time.sleep(0.05)
    xdo(display, "mouseup", 1)
    if ctrl:
        xdo(display, "keyup", "ctrl")


FLOATING, HIDDEN, TOP = 0x10, 0x20, 0x2000


def scenario(program, display, folder):
    settings = os.path.join(folder, "demo.ini")
    demo = Demo(program, settings, display)
    s = demo.wait("the docked toolbar", lambda s: s["visible"] and s["grip"][1] > 0)
    assert s["style"] & TOP and not s["style"] & FLOATING, s

    # Dragged with Ctrl into the middle of the frame, whose top it would dock at otherwise.
    drag(display, s["grip"], (s["grip"][0] + 20, s["grip"][1] + 10), ctrl=True)
    s = demo.wait("floating after the Ctrl drag", lambda s: s["style"] & FLOATING and s["frame"][0] >= 0)

    # Dropped at the top edge of the frame (its client area starts at y 100) without Ctrl: docks.
    drag(display, s["sep"], (s["sep"][0] + 60, 106), ctrl=False)
    s = demo.wait("docked at the top", lambda s: not s["style"] & FLOATING and s["visible"])
    assert s["style"] & TOP, s

    # Floats again (Ctrl), then its frame's close box hides it.
    drag(display, s["grip"], (450, 400), ctrl=True)
    s = demo.wait("floating again", lambda s: s["style"] & FLOATING and s["frame"][0] >= 0)
    frame_at = s["frame"]
    xdo(display, "mousemove", *s["close"])
    time.sleep(0.2)
    xdo(display, "click", 1)
    demo.wait("hidden by the close box", lambda s: s["style"] & HIDDEN and not s["visible"])
    demo.quit()

    # Restart: the toolbar is hidden as it was left; its command shows it floating at its place.
    demo = Demo(program, settings, display)
    s = demo.wait("the restarted toolbar", lambda s: s["style"] & HIDDEN)
    demo.send("toggle")
    s = demo.wait("shown again", lambda s: s["visible"] and s["frame"][0] >= 0)
    assert s["frame"] == frame_at, (s["frame"], frame_at)
    assert s["style"] & FLOATING, s
    demo.quit()


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--inside":
        program = sys.argv[2]
        with tempfile.TemporaryDirectory() as folder:
            scenario(program, os.environ["DISPLAY"], folder)
        print("toolbar run passed")
        return 0
    if not shutil.which("xvfb-run") or not shutil.which("xdotool"):
        print("xvfb-run or xdotool missing")
        return 77
    program = os.path.abspath(sys.argv[1])
    return subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable,
                           os.path.abspath(__file__), "--inside", program]).returncode


if __name__ == "__main__":
    sys.exit(main())
