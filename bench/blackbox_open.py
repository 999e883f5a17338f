#!/usr/bin/env python3
"""Black-box open time: the real program on a real X server, the map typed into the start-up dialog.

    bench/blackbox_open.py build/bin/velmaro MAP.jpg [MAP.jpg ...] [--repeat 3]

For each map and run: starts Xvfb, starts the program on it, waits until start-up has settled (the map dialog
is up and the program's processor time stops growing), types the map's path into the dialog with xdotool,
presses Return and times from that press until the program's processor time (utime + stime of every thread,
/proc/PID/stat) has not grown for 300 ms. The figure is the time of the last growth, so the quiet window is not
counted. Beside it, djpeg writing to /dev/null on the same file, timed as a bare process in the same run.
Needs only xvfb, xdotool and libjpeg-turbo-progs (scripts/install-deps.sh). Prints medians; never fails on a time.
"""
import os
import statistics
import subprocess
import sys
import time

QUIET_SECONDS = 0.3
POLL_SECONDS = 0.01
TICK = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime: fields 14 and 15 of the whole line


def wait_until_idle(pid, start, limit=600.0):
    """Seconds from `start` to the last growth of the process's processor time, and the processor time used."""
    first = last = cpu_seconds(pid)
    last_growth = start
    while time.monotonic() - last_growth < QUIET_SECONDS and time.monotonic() - start < limit:
        time.sleep(POLL_SECONDS)
        now = cpu_seconds(pid)
        if now != last:
            last, last_growth = now, time.monotonic()
    return last_growth - start, last - first


def free_display():
    number = 90
    while os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
        number += 1
    return number


def start_xvfb():
    number = free_display()
    server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 20
    while not os.path.exists(f"/tmp/.X11-unix/X{number}"):
        if time.monotonic() > deadline or server.poll() is not None:
            raise RuntimeError("Xvfb did not start")
        time.sleep(0.05)
    return server, f":{number}"


def xdotool(display, *args):
    env = dict(os.environ, DISPLAY=display)
    return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True, check=False).stdout


def focus_dialog(display, pid):
    """Gives the keyboard to the program's newest visible window, the map dialog (no window manager runs)."""
    windows = xdotool(display, "search", "--sync", "--onlyvisible", "--pid", str(pid), ".*").split()
    if windows:
        xdotool(display, "windowfocus", "--sync", windows[-1])


def open_once(program, path):
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_until_idle(app.pid, time.monotonic())  # start-up up to the map dialog
        focus_dialog(display, app.pid)
        xdotool(display, "key", "ctrl+a")
        xdotool(display, "type", "--delay", "1", path)
        wait_until_idle(app.pid, time.monotonic())  # the dialog's completer settles before the clock starts
        start = time.monotonic()
        xdotool(display, "key", "Return")
        return wait_until_idle(app.pid, start)
    finally:
        app.terminate()
        app.wait()
        server.terminate()
        server.wait()


def djpeg_once(path):
    start = time.monotonic()
    child = subprocess.Popen(["djpeg", "-outfile", "/dev/null", path])
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.monotonic() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        raise RuntimeError("djpeg failed on " + path)
    return wall, usage.ru_utime + usage.ru_stime


def median_pair(runs):
    return statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)


def main(argv):
    repeat = 3
    if "--repeat" in argv:
        at = argv.index("--repeat")
        repeat = int(argv[at + 1])
        del argv[at:at + 2]
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    program = os.path.abspath(argv[1])
    print(f"Black-box open (Xvfb, xdotool), median of {repeat}, load average {os.getloadavg()[0]:.1f}")
    print(f"  {'map':<28} {'djpeg wall s':>12} {'cpu s':>7} {'open wall s':>12} {'x ref':>6} {'cpu s':>7} {'x ref':>6}")
    for path in argv[2:]:
        path = os.path.abspath(path)
        reference = median_pair([djpeg_once(path) for _ in range(repeat)])
        opened = median_pair([open_once(program, path) for _ in range(repeat)])
        # Opening means decoding the file at least once; less processor time than that means the typed name
        # never reached the program (focus lost, dialog not up), and the figure measures nothing.
        doubt = "  (less than one decode: did the map open?)" if opened[1] < 0.5 * reference[1] else ""
        print(f"  {os.path.basename(path):<28} {reference[0]:12.3f} {reference[1]:7.3f} {opened[0]:12.3f} "
              f"{opened[0] / reference[0]:6.2f} {opened[1]:7.3f} {opened[1] / reference[1]:6.2f}{doubt}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
