"""A private X server and real input for end-to-end runs.

XServer starts Xvfb on a display number that the server picks itself (-displayfd), so runs never collide
with each other or with a desktop the developer is using. Desktop drives it with xdotool, which sends
input through the XTEST extension: the program sees the same events as from a real mouse and keyboard.
There is no window manager, so keyboard focus is given explicitly (focus) before typing.

Every wait polls with a timeout and raises E2eFailure with what it was waiting for.
"""

import os
import re
import subprocess
import time


class E2eFailure(Exception):
    pass


POLL_SECONDS = 0.05


def wait_until(what, probe, timeout):
    """Calls probe until it returns something other than None or False; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value not in (None, False):
            return value
        if time.monotonic() > deadline:
            raise E2eFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(POLL_SECONDS)


class XServer:
    """Xvfb with one 24-bit screen at 96 dots per inch: 15 twips per pixel, as the window is drawn."""

    def __init__(self, width=1280, height=1024, log_path=os.devnull):
        read_end, write_end = os.pipe()
        self._log = open(log_path, "wb")
        self._process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=self._log, stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number.isdigit():
            self.stop()
            raise E2eFailure("Xvfb did not announce a display number")
        self.display = ":" + number

    def stop(self):
        if self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait()
        self._log.close()


class Desktop:
    """Windows, pointer and keyboard of one X display."""

    def __init__(self, display):
        self.display = display
        self._env = dict(os.environ, DISPLAY=display)

    def _run(self, *arguments, check=True):
        result = subprocess.run(arguments, env=self._env, capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise E2eFailure(f"{' '.join(arguments)} failed: {result.stderr.strip()}")
        return result.stdout

    def xdotool(self, *arguments, check=True):
        return self._run("xdotool", *arguments, check=check)

    # Windows -------------------------------------------------------------------------------------------

    def visible_windows(self, name_pattern):
        """Ids of the mapped windows whose name matches the regular expression."""
        out = self.xdotool("search", "--onlyvisible", "--name", name_pattern, check=False)
        return [int(word) for word in out.split()]

    def window_name(self, window):
        return self.xdotool("getwindowname", str(window), check=False).rstrip("\n")

    def wait_for_window(self, name_pattern, timeout=15, exclude=()):
        """A visible window whose name matches, other than those in exclude."""
        def probe():
            fresh = [w for w in self.visible_windows(name_pattern) if w not in exclude]
            return fresh[0] if fresh else None
        return wait_until(f"a window named {name_pattern!r}", probe, timeout)

    def wait_gone(self, window, timeout=15):
        wait_until(f"window {window} to close", lambda: window not in self.visible_windows("."), timeout)

    def geometry(self, window):
        """(x, y, width, height) of the window's client area on the screen, in pixels."""
        out = self.xdotool("getwindowgeometry", "--shell", str(window))
        values = dict(re.findall(r"^(\w+)=(\d+)$", out, re.MULTILINE))
        return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))

    def focus(self, window):
        # Without a window manager nobody hands the keyboard to a newly shown window; do it here.
        self.xdotool("windowfocus", "--sync", str(window))

    # Pointer and keyboard ------------------------------------------------------------------------------

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(re.findall(r"^(\w+)=(\d+)$", out, re.MULTILINE))
        return int(values["X"]), int(values["Y"])

    def move(self, x, y):
        # xdotool's --sync waits for a motion event, and there is none when the pointer is already there.
        if self.pointer() != (x, y):
            self.xdotool("mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1, repeat=1):
        """button: 1 left, 2 middle, 3 right (X numbering)."""
        self.move(x, y)
        self.xdotool("click", "--repeat", str(repeat), "--delay", "60", str(button))

    def key(self, *names):
        self.xdotool("key", "--delay", "30", *names)

    def type(self, text):
        self.xdotool("type", "--delay", "25", text)

    # Pictures ------------------------------------------------------------------------------------------

    def screenshot(self, path, rect):
        """Saves the screen rectangle (x, y, width, height) as a 256-colour PNG, small enough to commit."""
        x, y, width, height = rect
        self._run("import", "-display", self.display, "-window", "root",
                  "-crop", f"{width}x{height}+{x}+{y}", "+repage", "+dither",
                  "-colors", "256", "-strip", "-define", "png:compression-level=9", "PNG8:" + path)
