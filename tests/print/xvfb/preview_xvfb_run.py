#!/usr/bin/python3
"""Previews the example, lengthened to several pages, in the preview demo under a virtual display and presses its keys: Page Down
shows page 2, End the last page, Ctrl+C copies that page to the clipboard, Escape closes the
preview and saves its placement. Exit 77 (skipped) without xvfb-run or xdotool."""
import os
import re
import shutil
import subprocess
import sys
import time

STATE = re.compile(r"STATE page=(\d+) pages=(\d+) zoom=(\d+) focus=(-?\d+),(-?\d+)")


class Demo:
    def __init__(self, program, score, display):
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
        self.proc = subprocess.Popen([program, score, "--bars", "120"], stdout=subprocess.PIPE, text=True, env=env)
        os.set_blocking(self.proc.stdout.fileno(), False)
        self.lines = []
        self.buffer = ""

    def poll(self):
        try:
            chunk = os.read(self.proc.stdout.fileno(), 65536).decode()
        except BlockingIOError:
            chunk = ""
        if chunk:
            self.buffer += chunk
            *lines, self.buffer = self.buffer.split("\n")
            self.lines.extend(lines)

    def state(self):
        for line in reversed(self.lines):
            m = STATE.match(line)
            if m:
                return tuple(int(g) for g in m.groups())
        return None

    def wait(self, what, predicate, timeout=20.0):
        end = time.time() + timeout
        while time.time() < end:
            self.poll()
            if predicate(self):
                return
            if self.proc.poll() is not None:
                self.poll()
                if predicate(self):
                    return
                raise SystemExit("the demo ended while waiting for %s: %s" % (what, self.lines[-5:]))
            time.sleep(0.05)
        raise SystemExit("timed out waiting for %s; last lines %s" % (what, self.lines[-5:]))


def xdo(display, *args):
    subprocess.run(["xdotool", *map(str, args)], check=True, env=dict(os.environ, DISPLAY=display))


def scenario(program, score, display):
    demo = Demo(program, score, display)
    demo.wait("the first page", lambda d: d.state() and d.state()[0] == 1)
    page, pages, zoom, x, y = demo.state()
    assert pages >= 2, demo.state()
    # A click on the page gives the preview the keyboard and turns no page.
    xdo(display, "mousemove", x, y)
    time.sleep(0.2)
    xdo(display, "click", 1)
    time.sleep(0.3)
    xdo(display, "key", "Next")
    demo.wait("page 2 after Page Down", lambda d: d.state()[0] == 2)
    xdo(display, "key", "End")
    demo.wait("the last page after End", lambda d: d.state()[0] == pages)
    xdo(display, "key", "ctrl+c")
    demo.wait("the copy", lambda d: "COPIED page=%d svg=1 png=1" % pages in d.lines)
    xdo(display, "key", "Escape")
    demo.wait("the close", lambda d: "CLOSED placement=1" in d.lines)
    demo.proc.wait(timeout=10)
    assert demo.proc.returncode == 0, demo.proc.returncode


def main():
    if len(sys.argv) > 3 and sys.argv[1] == "--inside":
        scenario(sys.argv[2], sys.argv[3], os.environ["DISPLAY"])
        print("preview run passed")
        return 0
    if not shutil.which("xvfb-run") or not shutil.which("xdotool"):
        print("xvfb-run or xdotool missing")
        return 77
    program, score = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    return subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable,
                           os.path.abspath(__file__), "--inside", program, score]).returncode


if __name__ == "__main__":
    sys.exit(main())
