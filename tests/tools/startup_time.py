#!/usr/bin/python3
"""Times how long Tunvale takes to show its window with the shipped sample score, against a bare Qt
window of the same widgets (build/bin/bare_window: menus, a toolbar, a status bar and a text edit), in
one run on a private Xvfb display. A start is timed from launching the process to its main window
(the largest window it maps, so never the splash) being mapped and painted, polled every 2 ms through
libX11; the two programs start in turn, and the medians and their ratio are printed.

With --large, Tunvale starts in turn on scores of about 100 KB, 1 MB and 4 MB instead (the sample's
lines over and over, with its drum pattern under every bar, written by vlsgen), and the medians and
their ratios to the 100 KB one are printed.

    /usr/bin/python3 tests/tools/startup_time.py [--runs 9] [--build build] [--large]
"""

import argparse
import ctypes
import ctypes.util
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

Window = ctypes.c_ulong
Atom = ctypes.c_ulong


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
        ("root", Window), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
        ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p),
    ]


IS_VIEWABLE = 2
ZPIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
XA_CARDINAL = 6

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = Atom
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                           ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                   Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_void_p)]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

# A window may go away between two requests: its errors are no reason to stop.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, event: 0)
x11.XSetErrorHandler(ERROR_HANDLER)


class Display:
    def __init__(self, name):
        self.dpy = x11.XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + name)
        self.root = x11.XDefaultRootWindow(self.dpy)
        self.pid_atom = x11.XInternAtom(self.dpy, b"_NET_WM_PID", 0)

    def pid_of(self, window):
        kind, form, count, after = Atom(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if x11.XGetWindowProperty(self.dpy, window, self.pid_atom, 0, 1, 0, XA_CARDINAL, ctypes.byref(kind),
                                  ctypes.byref(form), ctypes.byref(count), ctypes.byref(after),
                                  ctypes.byref(data)) != 0 or not data.value:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[0] if count.value else None
        x11.XFree(data)
        return pid

    def main_window(self, pid):
        """The largest viewable top-level window of the process: its (window, width, height) or None."""
        root, parent = Window(), Window()
        children = ctypes.POINTER(Window)()
        count = ctypes.c_uint()
        if not x11.XQueryTree(self.dpy, self.root, ctypes.byref(root), ctypes.byref(parent),
                              ctypes.byref(children), ctypes.byref(count)):
            return None
        best = None
        for i in range(count.value):
            window = children[i]
            attributes = XWindowAttributes()
            if not x11.XGetWindowAttributes(self.dpy, window, ctypes.byref(attributes)):
                continue
            if attributes.map_state != IS_VIEWABLE or self.pid_of(window) != pid:
                continue
            area = attributes.width * attributes.height
            if best is None or area > best[1] * best[2]:
                best = (window, attributes.width, attributes.height)
        if children:
            x11.XFree(children)
        return best

    def painted(self, window, width, height):
        """True when a grid of points over the window shows the colours of drawn widgets, not one fill."""
        image = x11.XGetImage(self.dpy, window, 0, 0, width, height, ALL_PLANES, ZPIXMAP)
        if not image:
            return False
        colours = set()
        for gx in range(1, 24):
            for gy in range(1, 24):
                colours.add(x11.XGetPixel(image, width * gx // 24, height * gy // 24))
        x11.XDestroyImage(image)
        return len(colours) >= 4


def time_start(display, command, env, minimum_width):
    """Seconds from launching `command` to its main window being mapped and painted."""
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = start + 30
        while time.monotonic() < deadline:
            found = display.main_window(process.pid)
            if found and found[1] >= minimum_width and display.painted(*found):
                return time.monotonic() - start
            if process.poll() is not None:
                raise RuntimeError(" ".join(command) + " ended before its window showed")
            time.sleep(0.002)
        raise RuntimeError(" ".join(command) + " showed no painted window within 30 s")
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


LARGE_SIZES = (100_000, 1_000_000, 4_000_000)


def write_large_scores(vlsgen, source, work):
    """Scores of about LARGE_SIZES bytes made of the sample's description: their paths, in that order."""
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    melody = [line for line in lines if line.startswith(("notes:", "lyrics:"))]
    bars_per_time = sum(line.count("|") - line.count("||") for line in melody if line.startswith("notes:"))
    drum = [line for line in lines if line.startswith(("drum:", "track:"))]

    def write(name, times):
        folder = os.path.join(work, "descriptions_" + name)
        os.makedirs(folder)
        head = [line for line in lines if not line.startswith(("output:", "notes:", "lyrics:", "drum:", "track:"))]
        body = head + ["output: %s.vls" % name] + melody * times
        body += ["drum: 1-%d %s" % (bars_per_time * times, drum[0].split(" ", 2)[2])] + drum[1:]
        with open(os.path.join(folder, "score.txt"), "w", encoding="utf-8") as f:
            f.write("\n".join(body) + "\n")
        subprocess.run([vlsgen, folder, work], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return os.path.join(work, name + ".vls")

    per_time = os.path.getsize(write("probe", 20)) / 20
    return [write("large_%d" % size, max(1, round(size / per_time))) for size in LARGE_SIZES]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--build", default="build")
    parser.add_argument("--large", action="store_true", help="time scores of 100 KB, 1 MB and 4 MB")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    tunvale = os.path.join(build, "bin", "tunvale")
    bare = os.path.join(build, "bin", "bare_window")
    sample = os.path.join(build, "data", "vls", "liangzhilaohu.vls")
    for path in (tunvale, bare, sample):
        if not os.path.exists(path):
            sys.exit("missing " + path + ": build the program and the tests first")

    display_name = ":%d" % (400 + os.getpid() % 500)
    xvfb = subprocess.Popen(["Xvfb", display_name, "-screen", "0", "1280x900x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    work = tempfile.mkdtemp(prefix="startup_time_")
    try:
        for _ in range(200):
            try:
                display = Display(display_name)
                break
            except RuntimeError:
                time.sleep(0.05)
        else:
            sys.exit("Xvfb did not start")
        text = os.path.join(work, "score.txt")
        with open(text, "w", encoding="utf-8") as f:
            f.write("两只老虎\n" + "1 2 3 1 | 1 2 3 1 | 3 4 5 - | 3 4 5 - |\n两只老虎两只老虎跑得快跑得快\n" * 2)

        def environment(run):
            home = os.path.join(work, "home%d" % run)
            os.makedirs(home)
            env = dict(os.environ, DISPLAY=display_name, QT_QPA_PLATFORM="xcb", HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
                       XDG_CACHE_HOME=os.path.join(work, "cache"), XDG_RUNTIME_DIR=home)
            env.pop("SESSION_MANAGER", None)
            return env

        if args.large:
            scores = write_large_scores(os.path.join(build, "bin", "vlsgen"),
                                        os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                                     "tools", "vlsgen", "scores", "liangzhilaohu.txt"), work)
            time_start(display, [tunvale, scores[0]], environment(-1), 500)
            times = [[] for _ in scores]
            for run in range(args.runs):
                for i, score in enumerate(scores):
                    times[i].append(time_start(display, [tunvale, score], environment(run * len(scores) + i), 500))
            first = statistics.median(times[0])
            for score, figures in zip(scores, times):
                median = statistics.median(figures)
                print("%-16s %5d KB: median %.3f s (min %.3f, max %.3f), %.2f times the first"
                      % (os.path.basename(score), os.path.getsize(score) // 1000, median, min(figures),
                         max(figures), median / first))
            return
        # One start of each first, not counted: the disk cache then holds both programs' libraries.
        time_start(display, [tunvale, sample], environment(-1), 500)
        time_start(display, [bare, text], environment(-2), 500)
        ours, theirs = [], []
        for run in range(args.runs):
            ours.append(time_start(display, [tunvale, sample], environment(2 * run), 500))
            theirs.append(time_start(display, [bare, text], environment(2 * run + 1), 500))
        a, b = statistics.median(ours), statistics.median(theirs)
        print("tunvale with the sample: median %.3f s (min %.3f, max %.3f)" % (a, min(ours), max(ours)))
        print("bare Qt window:          median %.3f s (min %.3f, max %.3f)" % (b, min(theirs), max(theirs)))
        print("ratio: %.2f" % (a / b))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
