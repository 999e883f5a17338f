#!/usr/bin/env python3
"""Black-box open time: the real program on a real X server, the map typed into the start-up dialog.

    bench/blackbox_open.py build/bin/velmaro MAP.jpg [MAP.jpg ...] [--repeat 3] [--threads] [--two-at-once]

For each map and run: starts Xvfb, starts the program on it, waits until start-up has settled (the map dialog
is up and the program's processor time stops growing), types the map's path into the dialog with xdotool,
presses Return and times from that press until the program's processor time (utime + stime of every thread,
/proc/PID/stat) has not grown for 300 ms. The figure is the time of the last growth, so the quiet window is not
counted. Beside it, djpeg writing to /dev/null on the same file, timed as a bare process right before each open:
on a shared machine the speed drifts by tens of percent within minutes, so each open is held against the djpeg
run next to it, and the ratios are the medians (and the range) of those pairs.
Needs only xvfb, xdotool and libjpeg-turbo-progs (scripts/install-deps.sh). Prints medians; never fails on a time.

--threads adds where the processor time went during each open: every thread of the program by its name (the
decode names its own threads), read from /proc/PID/task/TID/schedstat at every poll, and the X server's. A thread
that ends between two polls loses at most its last poll's worth; "(not seen)" is the rest of the program's total.
The extra reads cost the program's neighbours a little processor time, so the time table is run without it.

--two-at-once adds, for each map, two djpeg runs started together against one alone: what the two cores of this
machine give when both decode, the bound for a map decoded in restart bands.
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


def thread_seconds(pid):
    """Processor time of each living thread of `pid`: {tid: (name, seconds)}, from the scheduler's nanoseconds."""
    threads = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as comm, open(f"/proc/{pid}/task/{tid}/schedstat") as stat:
                threads[tid] = (comm.read().strip(), int(stat.read().split()[0]) / 1e9)
        except OSError:
            pass  # ended between the listing and the read
    return threads


def wait_until_idle(pid, start, limit=600.0, seen=None):
    """Seconds from `start` to the last growth of the process's processor time, and the processor time used.
    With `seen` (a dict), records the last processor time of every thread met on the way."""
    first = last = cpu_seconds(pid)
    last_growth = start
    while time.monotonic() - last_growth < QUIET_SECONDS and time.monotonic() - start < limit:
        time.sleep(POLL_SECONDS)
        if seen is not None:
            seen.update(thread_seconds(pid))
        now = cpu_seconds(pid)
        if now != last:
            last, last_growth = now, time.monotonic()
    return last_growth - start, last - first


def thread_breakdown(before, after, total):
    """Processor seconds spent by each thread name between two records, with the unaccounted rest."""
    shares = {}
    for tid, (name, seconds) in after.items():
        spent = seconds - before.get(tid, (name, 0.0))[1]
        shares[name] = shares.get(name, 0.0) + spent
    shares["(not seen)"] = max(0.0, total - sum(shares.values()))
    return shares


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


def open_once(program, path, threads=False):
    """(wall seconds, processor seconds) of one open; with `threads`, also the breakdown by thread and the
    X server's processor seconds meanwhile."""
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_until_idle(app.pid, time.monotonic())  # start-up up to the map dialog
        focus_dialog(display, app.pid)
        xdotool(display, "key", "ctrl+a")
        xdotool(display, "type", "--delay", "1", path)
        wait_until_idle(app.pid, time.monotonic())  # the dialog's completer settles before the clock starts
        before = thread_seconds(app.pid) if threads else None
        server_before = cpu_seconds(server.pid)
        seen = dict(before) if threads else None
        start = time.monotonic()
        xdotool(display, "key", "Return")
        wall, cpu = wait_until_idle(app.pid, start, seen=seen)
        if not threads:
            return wall, cpu
        return wall, cpu, thread_breakdown(before, seen, cpu), cpu_seconds(server.pid) - server_before
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


def djpeg_twice_at_once(path):
    """Wall seconds of two djpeg runs on the same file started together: how much two cores slow each other
    down on this machine (shared caches and memory, the host's other guests)."""
    start = time.monotonic()
    children = [subprocess.Popen(["djpeg", "-outfile", "/dev/null", path]) for _ in range(2)]
    if any(child.wait() != 0 for child in children):
        raise RuntimeError("djpeg failed on " + path)
    return time.monotonic() - start


def median_pair(runs):
    return statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)


def paired_ratios(opens, references, index):
    """Each open's figure over the djpeg run right before it: the median and the range."""
    ratios = sorted(o[index] / r[index] for o, r in zip(opens, references))
    return statistics.median(ratios), ratios[0], ratios[-1]


def print_breakdown(runs):
    names = sorted({name for run in runs for name in run[2]}, key=lambda n: -statistics.median(
        run[2].get(n, 0.0) for run in runs))
    print(f"    {'thread':<26} {'cpu s':>7}   (median of the runs)")
    for name in names:
        print(f"    {name:<26} {statistics.median(run[2].get(name, 0.0) for run in runs):7.3f}")
    print(f"    {'X server (Xvfb)':<26} {statistics.median(run[3] for run in runs):7.3f}", flush=True)


def main(argv):
    threads = "--threads" in argv
    if threads:
        argv.remove("--threads")
    twice = "--two-at-once" in argv
    if twice:
        argv.remove("--two-at-once")
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
    print(f"  {'map':<28} {'djpeg wall s':>12} {'cpu s':>7} {'open wall s':>12} {'x ref':>6} {'range':>11} "
          f"{'cpu s':>7} {'x ref':>6}")
    for path in argv[2:]:
        path = os.path.abspath(path)
        references, runs = [], []
        for _ in range(repeat):
            references.append(djpeg_once(path))
            runs.append(open_once(program, path, threads))
        reference, opened = median_pair(references), median_pair(runs)
        wall_ratio, lowest, highest = paired_ratios(runs, references, 0)
        cpu_ratio = paired_ratios(runs, references, 1)[0]
        # Opening means decoding the file at least once; less processor time than that means the typed name
        # never reached the program (focus lost, dialog not up), and the figure measures nothing.
        doubt = "  (less than one decode: did the map open?)" if opened[1] < 0.5 * reference[1] else ""
        print(f"  {os.path.basename(path):<28} {reference[0]:12.3f} {reference[1]:7.3f} {opened[0]:12.3f} "
              f"{wall_ratio:6.2f} {lowest:5.2f}-{highest:<5.2f} {opened[1]:7.3f} {cpu_ratio:6.2f}{doubt}", flush=True)
        if threads:
            print_breakdown(runs)
        if twice:
            pairs = [djpeg_twice_at_once(path) / djpeg_once(path)[0] for _ in range(repeat)]
            print(f"    two djpeg at once: {statistics.median(pairs):.2f} x one alone (median of {repeat}); "
                  f"so djpeg's work split over two cores could take {statistics.median(pairs) / 2:.2f} x at best",
                  flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
