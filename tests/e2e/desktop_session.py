#!/usr/bin/env python3
# End-to-end run of the installed VELMARO on a private X server (Xvfb), driven only by real X input (xdotool,
# through the XTEST extension: the program sees the events of a real mouse and keyboard).
#
# The build is installed into a temporary prefix and started with a home and XDG folders of its own, so no
# application of the machine is registered: the KML viewer and the text editor cannot be launched. First run:
# type the map's path into the start-up dialog, calibrate in decimal degrees by real keys, move over the
# preview so the axis captions follow the frame, capture four points on the "Map" tab, remove one with the
# right button, "Save XY File" and answer every message box with Enter (its default button); the XY, info and
# KML files must equal expected/ byte for byte. Second run: reopen the map, calibrate it afresh from four graticule
# crossings (Ctrl+K, presses on the map, the known values typed into the dialog, Alt+A for "Apply") and capture the
# same points: the same three files again, the info file holding the frame in the six-decimal form of the fit.
# Third run: the map given as the program's argument (no dialog; the info file restores the frame), zoomed to 2
# with two Ctrl+wheel turns about its pixel (20, 10): at sqrt 2 it is still narrower than the view and stays at 0,
# at 2 it moves to 20 - 20 / sqrt 2 x 2, -8 (it stays at 0 upward, shorter than the view); then 48 pixels left
# with Shift+wheel and 30 down with a middle drag. The same points pressed where they now show,
# 2 x pixel + (-56, 30), must write the first run's files again. Fourth run: the same points captured and the
# program killed with SIGKILL; the fifth start brings the session back from its recovery journal (Enter takes the
# question's default, Yes) and saves: the first run's files once more, and no journal left behind. Last, the
# sample sheet with its coordinate system chosen and two crossings exported as GPX (export_from_the_sample), and
# a sheet turned by 3 degrees calibrated with an affine model from four crossings (calibrate_a_turned_map).
#
# The expected values, worked by hand (Pixel2Map, then the cut to five decimals). The map is 600 x 300
# pixels, so the canvas is 9000 x 4500 twips; the frame is X 75.5 (left) to 74.5 (right), Y 40.75 (top) to
# 40.25 (bottom): one pixel is 1/600 degree on both axes, X grows to the left (west), Y upward (north).
#   pixel (150, 75)  -> X = 75.5 + 2250 * (-1 / 9000) = 75.25,      Y = 40.75 + 1125 * (-0.5 / 4500) = 40.625
#   pixel (300, 150) -> 75, 40.5 (captured, then removed with the right button on the same spot)
#   pixel (100, 200) -> 75.3333333..., 40.4166666... cut to 75.33333, 40.41666
#   pixel (450, 225) -> 74.75, 40.375
# Letters W and N; in the KML the west longitudes are negative.
#
# With VELMARO_SCREENSHOT_DIR set, pictures of the tabs and the points are written there. On failure the work
# folder is kept, with a picture of the screen. Arguments: the build folder and the cmake program. Exit status
# 0 passed, 1 failed, 77 skipped (a tool is missing).
import difflib, math, os, re, shutil, subprocess, sys, tempfile, time

EXPECTED = os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected")
SAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "samples")
TOOLS = ("Xvfb", "xdotool", "import", "convert", "gdalinfo", "ogrinfo", "cs2cs")
FRAME = (("Text2", "75.5"), ("Text3", "74.5"), ("Text4", "40.75"), ("Text5", "40.25"))
KEPT = ((150, 75), (100, 200), (450, 225))
REMOVED = (300, 150)  # captured second in the first run, so its removal renumbers the point after it
# Graticule crossings of the drawn map with their known X and Y: the second run calibrates from them (Ctrl+K),
# which writes the same frame in the six-decimal text form of "Calibrate from points…".
CROSSINGS = (((150, 75), "75.25", "40.625"), ((450, 75), "74.75", "40.625"), ((150, 225), "75.25", "40.375"),
             ((450, 225), "74.75", "40.375"))
CALIBRATED = {b"\r\n75.5\r\n74.5\r\n40.75\r\n40.25\r\n": b"\r\n75.500000\r\n74.500000\r\n40.750000\r\n40.250000\r\n"}
MAIN_WINDOW = r"^ VELMARO  Version [0-9]+\.[0-9]+\.[0-9]+$"
# The message boxes of "Save XY File": saved; display the points on Google Earth? Yes; unable to launch it;
# display the KML code? Yes; unable to launch the editor. Titled ones carry "Tessaro", the launch failures the
# application's own title.
SAVE_MESSAGES = ("Tessaro", "Tessaro", "VELMARO", "Tessaro", "VELMARO")

# The design places in twips (15 a pixel at 96 dpi) from the tab control's corner, which sits at (120, 120) in
# the client area; a control inside Frame1 (840, 9600) or Frame2 (11280, 720) adds the frame's place.
CONTROLS = {"Text2": (840, 2040, 1095, 375), "Text3": (8520, 2040, 1095, 375), "Text4": (9720, 2520, 1095, 375),
            "Text5": (9720, 9000, 1095, 375), "Image1": (840, 2520, 8805, 6915),
            "Option3": (840 + 360, 9600 + 960, 4695, 375), "Command5": (11280 + 240, 720 + 240, 1935, 375),
            "Command3": (11280 + 240, 720 + 720, 1935, 495)}
VIEWPORT = (720, 1200)  # Picture2; the map canvas starts at its corner
TABS = ("Map", "Parameters", "Infos")  # sharing evenly a strip 500 twips narrower than the window


def check(condition, failure):
    if not condition:
        raise AssertionError(failure)


def output(*arguments, input=None):
    return subprocess.run(arguments, input=input, capture_output=True, text=True, check=True).stdout


def wait(what, probe, timeout=15):
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.05)
    return value


class Desktop:
    # There is no window manager: the keyboard is handed to a window explicitly (focus) before typing.
    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)

    def run(self, *arguments, check=True):
        done = subprocess.run(arguments, env=self.env, capture_output=True, text=True, timeout=30)
        if check and done.returncode:
            raise AssertionError(f"{' '.join(arguments)}: {done.stderr.strip()}")
        return done.stdout

    def values(self, command, *arguments):
        out = self.run("xdotool", command, "--shell", *arguments)
        return {key: int(value) for key, value in re.findall(r"^(\w+)=(\d+)$", out, re.MULTILINE)}

    def windows(self, pattern):
        return [int(w) for w in self.run("xdotool", "search", "--onlyvisible", "--name", pattern, check=False).split()]

    def window(self, what, pattern):
        return wait(what, lambda: (self.windows(pattern) or [None])[0])

    def closed(self, what, window):
        wait(what, lambda: window not in self.windows("."))

    def focus(self, window):
        self.run("xdotool", "windowfocus", "--sync", str(window))

    def move(self, x, y):
        where = self.values("getmouselocation")  # --sync waits for a motion that never comes when already there
        if (where["X"], where["Y"]) != (x, y):
            self.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, point, button=1):
        self.move(*point)
        self.run("xdotool", "click", "--delay", "60", str(button))

    def keys(self, *names):
        self.run("xdotool", "key", "--delay", "30", *names)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "25", text)

    def answer(self, title, owner):
        box = self.window(f"a message box titled {title!r}", f"^{title}$")
        self.focus(box)
        self.keys("Return")
        self.closed("the message box to close", box)
        self.focus(owner)

    def screenshot(self, path, rect):
        # 256 colours, small enough to commit.
        self.run("import", "-display", self.env["DISPLAY"], "-window", "root", "-crop", "{2}x{3}+{0}+{1}".format(*rect),
                 "+repage", "+dither", "-colors", "256", "-strip", "-define", "png:compression-level=9", "PNG8:" + path)


class Velmaro:
    # One start of the installed program, from its map dialog to "Quit VELMARO".
    def __init__(self, desktop, prefix, env, log, *arguments):
        self.desktop, self.shots = desktop, os.environ.get("VELMARO_SCREENSHOT_DIR")
        self.process = subprocess.Popen([os.path.join(prefix, "bin", "velmaro"), *arguments], env=env, cwd=env["HOME"],
                                        stdout=log, stderr=subprocess.STDOUT)
        self.window = desktop.window("the main window", MAIN_WINDOW)
        geometry = desktop.values("getwindowgeometry", str(self.window))  # of the client area, in pixels
        self.rect = tuple(map(geometry.get, ("X", "Y", "WIDTH", "HEIGHT")))

    def at(self, left, top):
        return self.rect[0] + round((120 + left) / 15), self.rect[1] + round((120 + top) / 15)

    def control(self, name, dx=None):
        left, top, width, height = CONTROLS[name]
        return self.at(left + (width / 2 if dx is None else dx), top + height / 2)

    def tab(self, caption):
        share = (self.rect[2] * 15 - 500) / len(TABS)
        self.desktop.click(self.at(share * TABS.index(caption) + share / 2, 180))
        self.desktop.focus(self.window)

    def choose_map(self, path):
        self.desktop.closed("the map dialog to close", self.file_dialog("^Open$", path))
        self.desktop.focus(self.window)
        time.sleep(0.5)  # on a busy machine the window takes clicks only once the dialog's focus has come back

    def calibrate(self):
        self.desktop.click(self.control("Option3", dx=150))
        for field, value in FRAME:
            self.desktop.click(self.control(field))
            self.desktop.keys("Home", "shift+End")  # the fields refuse Ctrl+A with a beep
            self.desktop.type(value)
        left, top, width, height = CONTROLS["Image1"]
        for fraction in (0.3, 0.6):
            self.desktop.move(*self.at(left + width * fraction, top + height * fraction))

    def calibrate_from_points(self, crossings=CROSSINGS, model_steps=0, shot=None):
        self.desktop.keys("ctrl+k")
        dialog = self.desktop.window("the calibration dialog", "^Calibrate from points")
        self.desktop.run("xdotool", "windowmove", "--sync", str(dialog), "0", "640")  # off the map
        if model_steps:  # the model list, stepped down from the edges: Helmert, affine, projective
            self.desktop.focus(dialog)
            self.desktop.keys("alt+m", *["Down"] * model_steps)
        for pixel, x, y in crossings:
            # A reference point, not a capture, while the dialog is open; its known X and Y are typed at once,
            # with no click into the dialog, as a user does.
            self.press(pixel)
            self.desktop.type(x + "\t" + y)
            self.desktop.keys("Return")  # ends the row: Known Y is taken, the dialog waits for the next press
        if shot:
            self.shoot(shot, (0, 640, 900, 340))
        self.desktop.keys("alt+a")
        self.desktop.closed("Apply to close the dialog", dialog)
        self.desktop.focus(self.window)

    def press(self, *pixels, button=1):
        for pixel in pixels:
            self.desktop.click(tuple(corner + offset for corner, offset in zip(self.at(*VIEWPORT), pixel)), button)

    def shoot(self, name, rect=None):
        if self.shots:
            time.sleep(0.2)  # let the last repaint reach the screen
            os.makedirs(self.shots, exist_ok=True)
            self.desktop.screenshot(os.path.join(self.shots, name), rect or self.rect)

    def save_and_quit(self, messages=SAVE_MESSAGES):
        self.tab("Parameters")
        self.desktop.click(self.control("Command3"))
        for title in messages:
            self.desktop.answer(title, self.window)
        self.quit()

    def quit(self):
        self.tab("Parameters")
        self.desktop.click(self.control("Command5"))
        wait('"Quit VELMARO" to end the program', lambda: self.process.poll() is not None, 10)

    def dialog(self, title, *keys, text=None):
        # A dialog of the program's own: the keyboard goes to it, text is typed into its focused field, then keys.
        window = self.desktop.window(f"the dialog {title!r}", title)
        self.desktop.focus(window)
        if text is not None:
            self.desktop.type(text)
        time.sleep(0.5)  # the chooser lists its candidates as the text comes
        if keys:
            self.desktop.keys(*keys)
        return window

    def file_dialog(self, title, path):
        # Qt's own file dialog puts its preset name back into the field once it has listed the folder: the
        # name is selected only after that, then replaced by the path typed.
        dialog = self.dialog(title, "ctrl+a")
        self.desktop.type(path)
        self.desktop.keys("Return")
        return dialog


# The files of a save equal the expected ones; the XY and KML files go then, so the next run must write them anew.
def compare_with_expected(map_path, changes={}):
    for extension in (".txt", ".info", ".kml"):
        with open(map_path[:-4] + extension, "rb") as written, \
                open(os.path.join(EXPECTED, "sheet" + extension), "rb") as golden:
            actual, expected = written.read(), golden.read().replace(b"@MAP@", map_path.encode())
        for old, new in changes.items():
            expected = expected.replace(old, new)
        check(actual == expected, "\n".join(difflib.unified_diff([repr(x) for x in expected.splitlines(True)],
              [repr(x) for x in actual.splitlines(True)], "expected", extension, lineterm="")))
    for extension in (".txt", ".kml"):
        os.remove(map_path[:-4] + extension)


# A sheet turned by 3 degrees on the picture, 2.5 m a pixel, its grid every 250 m around 500750 mE 5000375 mN
# at the picture's centre (300, 150): the picture position of a map point (X, Y), with y downward.
TURN = math.radians(3)


def on_turned_picture(x, y):
    dx, dy = (x - 500750) / 2.5, (5000375 - y) / 2.5
    return 300 + dx * math.cos(TURN) - dy * math.sin(TURN), 150 + dx * math.sin(TURN) + dy * math.cos(TURN)


def draw(primitives):
    return [word for primitive in primitives for word in ("-draw", primitive)]


def draw_turned_map(path):
    lines = [(on_turned_picture(x, 4999875), on_turned_picture(x, 5000875)) for x in range(500000, 501750, 250)]
    lines += [(on_turned_picture(500000, y), on_turned_picture(501500, y)) for y in range(5000000, 5000875, 250)]
    grid = [f"line {a[0]:.2f},{a[1]:.2f} {b[0]:.2f},{b[1]:.2f}" for a, b in lines]
    output("convert", "-size", "600x300", "xc:#f3eed9", "-fill", "none", "-stroke", "#5a5040", *draw(grid), path)


def calibrate_a_turned_map(desktop, prefix, env, log, root):
    # Four grid crossings of the turned sheet pressed and their values typed, an affine model applied: the
    # world file GDAL writes then places every press, and the captures saved are GDAL's own figures
    # (gdaltransform on the world file), cut to whole metres.
    folder = os.path.join(root, "turned")
    os.makedirs(folder)
    sheet = os.path.join(folder, "turned.jpg")
    draw_turned_map(sheet)
    known = ((500250, 5000625), (501250, 5000625), (500250, 5000125), (501000, 5000125))
    crossings = [(tuple(round(v) for v in on_turned_picture(x, y)), str(x), str(y)) for x, y in known]
    run = Velmaro(desktop, prefix, env, log, sheet)
    run.tab("Map")
    run.calibrate_from_points(crossings, model_steps=2, shot="calibrate-turned.png")
    presses = ((120, 80), (333, 211), (517, 37))
    run.press(*presses)
    run.save_and_quit(("Tessaro",))
    check(os.path.exists(sheet[:-4] + ".jgw"), "no world file beside the calibrated map")
    gdal = output("gdaltransform", sheet, input="\n".join(f"{x} {y}" for x, y in presses)).split("\n")
    with open(sheet[:-4] + ".txt", encoding="ascii") as saved:
        rows = [line.split(",") for line in saved.read().split("\r\n")[1:] if line]
    for i, (row, line) in enumerate(zip(rows, gdal)):
        x, y = map(float, line.split()[:2])
        check((int(row[2]), int(row[4])) == (math.floor(x), math.floor(y)),
              f"capture {i + 1}: {row} is not gdaltransform's {x} {y}")


def draw_map(path):
    # A sheet with a grid, a wood, a river and a road, so the screenshots show something map-like. The river is
    # drawn reach by reach: ImageMagick closes a drawn polyline.
    grid = [f"line {x},0 {x},300" for x in range(75, 600, 75)] + [f"line 0,{y} 600,{y}" for y in (75, 150, 225)]
    river = ((0, 230), (120, 205), (240, 214), (360, 196), (480, 156), (600, 110))
    reaches = [f"line {a[0]},{a[1]} {b[0]},{b[1]}" for a, b in zip(river, river[1:])]
    output("convert", "-size", "600x300", "xc:#f3eed9", "-fill", "#cfe3b8", *draw(["ellipse 470,70 80,45 0,360"]),
           "-fill", "none", "-stroke", "#c9bfa5", *draw(grid), "-stroke", "#6d9fd3", "-strokewidth", "7", *draw(reaches),
           "-stroke", "#c85a3c", "-strokewidth", "3", *draw(["line 40,20 560,280"]), path)


def export_from_the_sample(desktop, prefix, env, log, root):
    # The sample sheet (UTM, 2.5 m a pixel) with its coordinate system chosen in the chooser, two grid crossings
    # captured and exported as GPX through the export dialog and the real file dialog; GDAL's own tools read
    # what was written: the side file (gdalinfo) and the waypoints (ogrinfo), whose degrees must be cs2cs's.
    folder = os.path.join(root, "sample")
    os.makedirs(folder)
    for name in ("sample-sheet.jpg", "sample-sheet.info"):
        shutil.copy(os.path.join(SAMPLES, name), folder)
    sheet, gpx = os.path.join(folder, "sample-sheet.jpg"), os.path.join(folder, "waypoints.gpx")
    run = Velmaro(desktop, prefix, env, log, sheet)
    run.tab("Map")
    desktop.keys("ctrl+r")
    chooser = run.dialog("^Coordinate system", text="UTM 32N")  # WGS 84 / UTM zone 32N (EPSG:32632) comes first
    run.shoot("crs-chooser.png")
    desktop.keys("Return")
    desktop.closed("the chooser to close", chooser)
    desktop.focus(run.window)
    crossings = (((600, 240), "437000 5262000"), ((1000, 240), "438000 5262000"))
    run.press(*(pixel for pixel, _ in crossings))
    desktop.keys("ctrl+e")
    run.dialog("^Export points", "alt+f", "Down", "Down", "Down")
    run.shoot("export-points.png")
    desktop.keys("Return")
    run.file_dialog("^Save As$", gpx)
    desktop.answer("VELMARO", run.window)  # "2 points exported to …"
    run.quit()
    check('ID["EPSG",32632]' in output("gdalinfo", sheet), "gdalinfo does not report the map's coordinate system")
    written = output("ogrinfo", "-al", "-q", gpx, "waypoints")
    names = re.findall(r"name \(String\) = (.*)", written)
    points = [tuple(map(float, p)) for p in re.findall(r"POINT \(([-\d.]+) ([-\d.]+)\)", written)]
    expected = output("cs2cs", "-f", "%.12f", "EPSG:32632", "EPSG:4326", input="\n".join(c for _, c in crossings))
    for i, line in enumerate(expected.split("\n")[:len(crossings)]):
        lat, lon = map(float, line.split()[:2])
        check(names[i] == f"Pt {i + 1}" and abs(points[i][0] - lon) <= 1e-9 and abs(points[i][1] - lat) <= 1e-9,
              f"waypoint {i + 1}: {names[i]} {points[i]} is not cs2cs's {lon} {lat}")


def session(cmake, build_dir, root, desktop):
    prefix, home = os.path.join(root, "prefix"), os.path.join(root, "home")
    map_path = os.path.join(root, "maps with blanks", "sheet.jpg")
    for folder in ("home/.config", "home/.local/share", "home/.cache", "home/run", "share", "maps with blanks"):
        os.makedirs(os.path.join(root, folder), mode=0o700)
    output(cmake, "--install", build_dir, "--prefix", prefix)
    draw_map(map_path)
    # A comma-decimal locale proves that the files keep "." whatever the user's settings.
    locale = "de_DE.UTF-8" if "de_DE.utf8" in output("locale", "-a") else "C.UTF-8"
    env = {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": home, "DISPLAY": desktop.env["DISPLAY"], "LANG": locale,
           "LC_ALL": locale, "QT_QPA_PLATFORM": "xcb", "XDG_CONFIG_HOME": os.path.join(home, ".config"),
           "XDG_DATA_HOME": os.path.join(home, ".local/share"), "XDG_DATA_DIRS": os.path.join(root, "share"),
           "XDG_CACHE_HOME": os.path.join(home, ".cache"), "XDG_RUNTIME_DIR": os.path.join(home, "run")}
    with open(os.path.join(root, "velmaro.log"), "wb") as log:
        first = Velmaro(desktop, prefix, env, log)
        first.choose_map(map_path)
        first.calibrate()
        first.tab("Map")
        first.press(KEPT[0], REMOVED, KEPT[1], KEPT[2])
        first.press(REMOVED, button=3)
        first.shoot("map-with-points.png")
        first.shoot("points-closeup.png", (*first.at(*VIEWPORT), 600, 300))
        for caption in ("Infos", "Parameters"):
            first.tab(caption)
            first.shoot(caption.lower() + ".png")
        first.save_and_quit()
        compare_with_expected(map_path)
        second = Velmaro(desktop, prefix, env, log)
        second.choose_map(map_path)
        os.remove(map_path[:-4] + ".info")  # read back by now: the save must write it again
        second.tab("Map")
        second.calibrate_from_points()
        second.press(*KEPT)
        second.save_and_quit()
        compare_with_expected(map_path, CALIBRATED)
        third = Velmaro(desktop, prefix, env, log, map_path)
        third.tab("Map")
        check(not desktop.windows("^Open$"), "the map dialog opened although the map was given as the argument")
        corner = third.at(*VIEWPORT)
        desktop.move(corner[0] + 20, corner[1] + 10)
        desktop.run("xdotool", "keydown", "ctrl", "click", "4", "sleep", "0.2", "click", "4", "keyup", "ctrl")
        desktop.run("xdotool", "keydown", "shift", "click", "5", "keyup", "shift")
        desktop.move(corner[0] + 400, corner[1] + 300)
        desktop.run("xdotool", "mousedown", "2", "mousemove_relative", "0", "30", "sleep", "0.2", "mouseup", "2")
        third.press(*((2 * x - 56, 2 * y + 30) for x, y in KEPT))
        third.save_and_quit()
        compare_with_expected(map_path)
        journals = os.path.join(home, ".local", "state", "velmaro")
        fourth = Velmaro(desktop, prefix, env, log, map_path)
        fourth.tab("Map")
        fourth.press(*KEPT)
        wait("the recovery journal", lambda: os.listdir(journals) if os.path.isdir(journals) else [])
        time.sleep(0.5)  # every change reaches the disk within a tenth of a second
        fourth.process.kill()  # SIGKILL: nothing of the program's own runs any more
        fourth.process.wait()
        fifth = Velmaro(desktop, prefix, env, log)
        desktop.answer("VELMARO", fifth.window)  # "Bring that session back?": Enter takes its default, Yes
        check(not desktop.windows("^Open$"), "the map dialog opened although the session came back with its map")
        fifth.save_and_quit()
        compare_with_expected(map_path)
        check(not os.listdir(journals), f"a journal is left after the save and Quit: {os.listdir(journals)}")
        export_from_the_sample(desktop, prefix, env, log, root)
        calibrate_a_turned_map(desktop, prefix, env, log, root)


def main():
    build_dir, cmake = sys.argv[1:3]
    if any(shutil.which(tool) is None for tool in TOOLS):
        print("skipped: needs " + ", ".join(TOOLS), file=sys.stderr)
        return 77
    root = tempfile.mkdtemp(prefix="velmaro-e2e-")
    read_end, write_end = os.pipe()  # Xvfb picks a free display number itself and announces it here
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-dpi", "96",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    desktop = Desktop(":" + os.fdopen(read_end).readline().strip())
    try:
        session(cmake, os.path.abspath(build_dir), root, desktop)
    except (AssertionError, subprocess.CalledProcessError) as failure:
        desktop.screenshot(os.path.join(root, "failure.png"), (0, 0, 1280, 1024))
        print(f"FAILED: {failure}\nwork folder kept: {root}", file=sys.stderr)
        return 1
    finally:
        xvfb.terminate()
        xvfb.wait()
    shutil.rmtree(root)
    return 0


if __name__ == "__main__":
    sys.exit(main())
