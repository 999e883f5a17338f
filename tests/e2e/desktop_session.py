#!/usr/bin/env python3
"""End-to-end run of the installed VELMARO on a private X server, driven only by real X input.

The build is installed into a temporary prefix and the installed program is started with a home and XDG
folders of its own. First run: choose the map in the start-up dialog by typing its path, calibrate it in
decimal degrees, move over the preview so the axis captions follow the frame, capture four points on the
"Map" tab, remove one with the right button, "Save XY File" and answer every message box; the XY, info and
KML files must equal the files in expected/ byte for byte. Second run: reopen the same map, capture the same
points without typing anything, and save again: only a calibration restored from the info file writes the
same three files. The second run has a KML viewer registered with xdg-mime, which must be handed the KML file.

The expected values, worked by hand (Pixel2Map, then the cut to five decimals). The map is 600 x 300
pixels, so the canvas is 9000 x 4500 twips; the frame is X 75.5 (left) to 74.5 (right), Y 40.75 (top) to
40.25 (bottom): one pixel is 1/600 degree on both axes, X grows to the left (west), Y upward (north).
  pixel (150, 75)  -> X = 75.5 + 2250 * (-1 / 9000) = 75.25,      Y = 40.75 + 1125 * (-0.5 / 4500) = 40.625
  pixel (300, 150) -> 75, 40.5 (captured, then removed with the right button on the same spot)
  pixel (100, 200) -> 75.3333333..., 40.4166666... cut to 75.33333, 40.41666
  pixel (450, 225) -> 74.75, 40.375
Letters W and N; in the KML the west longitudes are negative.

Screenshots of the three tabs and of the captured points are taken on the way; with VELMARO_SCREENSHOT_DIR
set they are copied there. On failure the work folder is kept, with a picture of the screen.
Exit status 0 passed, 1 failed, 77 skipped (a needed tool is missing).
"""

import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile
import time

from form1_layout import WindowLayout
from x_desktop import Desktop, E2eFailure, XServer, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected")
TOOLS = ("Xvfb", "xdotool", "import", "convert", "xdg-mime")

MAP_SIZE = (600, 300)
FRAME = (("Text2", "75.5"), ("Text3", "74.5"), ("Text4", "40.75"), ("Text5", "40.25"))
KEPT_POINTS = ((150, 75), (100, 200), (450, 225))
REMOVED_POINT = (300, 150)
# Captured in this order in the first run; the right press on REMOVED_POINT then takes away Pt 2.
FIRST_RUN_CAPTURES = (KEPT_POINTS[0], REMOVED_POINT, KEPT_POINTS[1], KEPT_POINTS[2])

MAIN_WINDOW = r"^ VELMARO  Version [0-9]+\.[0-9]+\.[0-9]+$"
MESSAGE_BOX = r"^(Tessaro|VELMARO)$"  # titled messages, and those that carry the application's title
KML_TYPE = "application/vnd.google-earth.kml+xml"
VIEWER_ID = "e2e-kml-viewer.desktop"
DESKTOP_ID = "org.example.Velmaro.desktop"
SCREENSHOTS = ("parameters.png", "map-with-points.png", "points-closeup.png", "infos.png")


class Sandbox:
    """The temporary folders of one run: install prefix, the user's home and XDG folders, the maps."""

    def __init__(self, root):
        self.root = root
        self.prefix = os.path.join(root, "prefix")
        self.home = os.path.join(root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.system_data = os.path.join(root, "share")
        self.maps = os.path.join(root, "maps with blanks")
        self.shots = os.path.join(root, "screenshots")
        self.map_path = os.path.join(self.maps, "sheet.jpg")
        self.viewer_log = os.path.join(root, "viewer-arguments.txt")
        for folder in (self.config, os.path.join(self.data, "applications"), self.system_data, self.maps,
                       self.shots, os.path.join(self.home, ".cache")):
            os.makedirs(folder, exist_ok=True)
        os.makedirs(os.path.join(self.home, "run"), mode=0o700, exist_ok=True)
        # The MIME database, without the system's applications: no KML viewer or editor unless registered here.
        if os.path.isdir("/usr/share/mime"):
            os.symlink("/usr/share/mime", os.path.join(self.system_data, "mime"))

    def companion(self, extension):
        return self.map_path[:-4] + extension

    def environment(self, display):
        locale = "de_DE.UTF-8" if _has_german_locale() else "C.UTF-8"
        return {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": self.home, "DISPLAY": display,
                "XDG_CONFIG_HOME": self.config, "XDG_DATA_HOME": self.data, "XDG_DATA_DIRS": self.system_data,
                "XDG_CACHE_HOME": os.path.join(self.home, ".cache"), "XDG_RUNTIME_DIR": os.path.join(self.home, "run"),
                "QT_QPA_PLATFORM": "xcb", "LANG": locale, "LC_ALL": locale}


def _has_german_locale():
    # A comma-decimal locale proves that the files keep "." whatever the user's settings.
    listed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    return "de_de.utf8" in listed or "de_de.utf-8" in listed


def install(cmake, build_dir, sandbox):
    result = subprocess.run([cmake, "--install", build_dir, "--prefix", sandbox.prefix],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise E2eFailure("cmake --install failed:\n" + result.stdout + result.stderr)
    for part in ("bin/velmaro", "lib/velmaro/manual/velmaro.rtf"):
        if not os.path.isfile(os.path.join(sandbox.prefix, part)):
            raise E2eFailure(f"the install did not put {part} under the prefix")


def check_open_with(sandbox, env):
    """The installed desktop entry is what the desktop offers for JPEG pictures."""
    desktop_env = dict(env, XDG_DATA_DIRS=os.path.join(sandbox.prefix, "share"))
    answer = subprocess.run(["xdg-mime", "query", "default", "image/jpeg"], env=desktop_env,
                            capture_output=True, text=True).stdout.strip()
    if answer != DESKTOP_ID:
        raise E2eFailure(f"xdg-mime offers {answer!r} for JPEG pictures, not {DESKTOP_ID}")


# A river across the sheet, drawn reach by reach (ImageMagick closes a drawn path).
RIVER = ((0, 230), (60, 212), (120, 205), (180, 210), (240, 214), (300, 208), (360, 196), (420, 178),
         (480, 156), (540, 134), (600, 110))


def draw_map(path):
    """A small sheet with a grid, a river and a road, so the screenshots show something map-like."""
    width, height = MAP_SIZE
    grid = " ".join(f"-draw 'line {x},0 {x},{height}'" for x in range(75, width, 75))
    grid += " " + " ".join(f"-draw 'line 0,{y} {width},{y}'" for y in range(75, height, 75))
    river = " ".join(f"-draw 'line {a[0]},{a[1]} {b[0]},{b[1]}'" for a, b in zip(RIVER, RIVER[1:]))
    command = (f"convert -size {width}x{height} xc:'#f3eed9' "
               f"-fill '#cfe3b8' -draw 'ellipse 470,70 80,45 0,360' -fill none "
               f"-stroke '#c9bfa5' -strokewidth 1 {grid} "
               f"-stroke '#6d9fd3' -strokewidth 7 {river} "
               f"-stroke '#c85a3c' -strokewidth 3 -draw 'line 40,20 560,280' -quality 92 '{path}'")
    subprocess.run(["sh", "-c", command], check=True)


def register_kml_viewer(sandbox, env):
    """A stand-in for Google Earth that notes what it was asked to open, registered as users do it."""
    viewer = os.path.join(sandbox.root, "kml-viewer")
    with open(viewer, "w") as script:
        script.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" > '{sandbox.viewer_log}'\n")
    os.chmod(viewer, 0o755)
    with open(os.path.join(sandbox.data, "applications", VIEWER_ID), "w") as entry:
        entry.write(f"[Desktop Entry]\nType=Application\nName=KML viewer\nExec={viewer} %f\n"
                    f"MimeType={KML_TYPE};\nNoDisplay=true\n")
    subprocess.run(["xdg-mime", "default", VIEWER_ID, KML_TYPE], env=env, check=True)


class Run:
    """One start of the installed program, from its map dialog to "Quit VELMARO"."""

    def __init__(self, sandbox, desktop, env, log_name):
        self.sandbox = sandbox
        self.desktop = desktop
        self.log = open(os.path.join(sandbox.root, log_name), "wb")
        self.process = subprocess.Popen([os.path.join(sandbox.prefix, "bin", "velmaro")], env=env,
                                        cwd=sandbox.home, stdout=self.log, stderr=subprocess.STDOUT)
        self.window = desktop.wait_for_window(MAIN_WINDOW)
        x, y, width, height = desktop.geometry(self.window)
        self.rect = (x, y, width, height)
        self.layout = WindowLayout(x, y, width)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()

    def choose_map(self, path):
        dialog = self.desktop.wait_for_window("^Open$")
        self.desktop.focus(dialog)
        # The dialog puts its preset name back into the field once it has listed the folder.
        time.sleep(0.5)
        self.desktop.key("ctrl+a")
        self.desktop.type(path)
        self.desktop.key("Return")
        self.desktop.wait_gone(dialog)
        self.desktop.focus(self.window)

    def select_tab(self, caption):
        self.desktop.click(*self.layout.tab(caption))

    def calibrate_in_decimal_degrees(self):
        self.desktop.click(*self.layout.control_point("Option3", dx_twips=150))
        for field, value in FRAME:
            # Select by keys that type no character: the fields refuse Ctrl+A with a beep.
            self.desktop.click(*self.layout.control_point(field))
            self.desktop.key("Home", "shift+End")
            self.desktop.type(value)
        for fraction in (0.3, 0.6):
            x, y, width, height = self.layout.control_rect("Image1")
            self.desktop.move(x + int(width * fraction), y + int(height * fraction))

    def capture(self, points):
        for point in points:
            self.desktop.click(*self.layout.map_pixel(*point), button=1)

    def remove(self, point):
        self.desktop.click(*self.layout.map_pixel(*point), button=3)

    def answer(self, title, key):
        """Waits for the next message box, checks its title, answers it with one key."""
        box = self.desktop.wait_for_window(MESSAGE_BOX)
        name = self.desktop.window_name(box)
        if name != title:
            raise E2eFailure(f"expected a message box titled {title!r}, got {name!r}")
        self.desktop.focus(box)
        self.desktop.key(key)
        self.desktop.wait_gone(box)
        self.desktop.focus(self.window)

    def save(self, viewer_registered):
        self.select_tab("Parameters")
        self.desktop.click(*self.layout.control_point("Command3"))
        self.answer("Tessaro", "Return")  # "... has been saved"
        self.answer("Tessaro", "Return")  # "Display the points on GOOGLES EARTH?": Yes, the default
        if not viewer_registered:
            self.answer("VELMARO", "Return")  # "Unable to launch Google Earth "
        self.answer("Tessaro", "Escape")  # "Display KML Code ?": No

    def quit(self):
        self.select_tab("Parameters")
        self.desktop.click(*self.layout.control_point("Command5"))
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise E2eFailure('"Quit VELMARO" did not end the program')
        self.desktop.wait_gone(self.window)

    def screenshot(self, name, rect=None):
        time.sleep(0.2)  # let the last repaint reach the screen; the picture is not part of the verdict
        self.desktop.screenshot(os.path.join(self.sandbox.shots, name), rect or self.rect)


def compare_with_expected(sandbox):
    map_bytes = sandbox.map_path.encode()
    for extension in (".txt", ".info", ".kml"):
        written_path = sandbox.companion(extension)
        if not os.path.isfile(written_path):
            raise E2eFailure(f"{written_path} was not written")
        with open(written_path, "rb") as written, open(os.path.join(EXPECTED, "sheet" + extension), "rb") as golden:
            actual, expected = written.read(), golden.read().replace(b"@MAP@", map_bytes)
        if actual != expected:
            diff = difflib.unified_diff([repr(line) for line in expected.splitlines(True)],
                                        [repr(line) for line in actual.splitlines(True)],
                                        "expected" + extension, "written" + extension, lineterm="")
            raise E2eFailure("\n".join(diff))


def first_run(sandbox, desktop, env):
    run = Run(sandbox, desktop, env, "first-run.log")
    try:
        run.choose_map(sandbox.map_path)
        run.calibrate_in_decimal_degrees()
        run.select_tab("Map")
        run.capture(FIRST_RUN_CAPTURES)
        run.remove(REMOVED_POINT)
        run.screenshot("map-with-points.png")
        run.screenshot("points-closeup.png", run.layout.map_rect(*MAP_SIZE))
        run.select_tab("Infos")
        run.screenshot("infos.png")
        run.select_tab("Parameters")
        run.screenshot("parameters.png")
        run.save(viewer_registered=False)
        compare_with_expected(sandbox)
        run.quit()
    finally:
        run.stop()


def second_run(sandbox, desktop, env):
    for extension in (".txt", ".kml"):
        os.remove(sandbox.companion(extension))
    info_written = os.stat(sandbox.companion(".info")).st_mtime_ns
    register_kml_viewer(sandbox, env)
    run = Run(sandbox, desktop, env, "second-run.log")
    try:
        run.choose_map(sandbox.map_path)
        run.select_tab("Map")
        run.capture(KEPT_POINTS)
        run.save(viewer_registered=True)
        compare_with_expected(sandbox)
        if os.stat(sandbox.companion(".info")).st_mtime_ns == info_written:
            raise E2eFailure("the second save did not write the info file again")
        wait_until("the KML viewer to be started", lambda: os.path.isfile(sandbox.viewer_log), 10)
        with open(sandbox.viewer_log) as arguments:
            handed = wait_until("the KML viewer's arguments", lambda: arguments.read() or None, 5)
        if handed != sandbox.companion(".kml") + "\n":
            raise E2eFailure(f"the KML viewer was handed {handed!r}")
        run.quit()
    finally:
        run.stop()


def publish_screenshots(sandbox):
    target = os.environ.get("VELMARO_SCREENSHOT_DIR")
    if not target:
        return
    os.makedirs(target, exist_ok=True)
    for name in SCREENSHOTS:
        shutil.copyfile(os.path.join(sandbox.shots, name), os.path.join(target, name))


def session(cmake, build_dir, root):
    sandbox = Sandbox(root)
    install(cmake, build_dir, sandbox)
    draw_map(sandbox.map_path)
    server = XServer(log_path=os.path.join(root, "xvfb.log"))
    try:
        desktop = Desktop(server.display)
        env = sandbox.environment(server.display)
        check_open_with(sandbox, env)
        try:
            first_run(sandbox, desktop, env)
            second_run(sandbox, desktop, env)
        except Exception:
            desktop.screenshot(os.path.join(root, "failure.png"), (0, 0, 1280, 1024))
            raise
        publish_screenshots(sandbox)
    finally:
        server.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cmake", default="cmake")
    args = parser.parse_args()
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print("skipped: missing " + ", ".join(missing), file=sys.stderr)
        return 77
    root = tempfile.mkdtemp(prefix="velmaro-e2e-")
    started = time.monotonic()
    try:
        session(args.cmake, os.path.abspath(args.build_dir), root)
    except (E2eFailure, subprocess.CalledProcessError) as failure:
        print(f"FAILED: {failure}\nwork folder kept: {root}", file=sys.stderr)
        return 1
    print(f"passed in {time.monotonic() - started:.1f} s")
    shutil.rmtree(root)
    return 0


if __name__ == "__main__":
    sys.exit(main())
