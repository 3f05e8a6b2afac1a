"""Measures the program against its references and prints one table.

Called by scripts/bench.sh with the benchmark build folder, on an X display
without a window manager (so that a program's window is mapped straight onto
the root window, where its MapNotify is seen) and with WINEPREFIX set.
"""
import ctypes
import os
import re
import select
import signal
import socket
import statistics
import subprocess
import sys
import time

RUNS = 9
MAIN_TITLE = b"Entfernten Ordner Lokal einbinden"
BARE_TITLE = b"Bare window"

xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19


class Display:
    def __init__(self):
        self.dpy = xlib.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("bench: no X display")
        xlib.XSelectInput(self.dpy, xlib.XDefaultRootWindow(self.dpy), SUBSTRUCTURE_NOTIFY_MASK)
        xlib.XFlush(self.dpy)
        self.fd = xlib.XConnectionNumber(self.dpy)

    def drain(self):
        event = (ctypes.c_long * 24)()
        while xlib.XPending(self.dpy):
            xlib.XNextEvent(self.dpy, event)

    def wait_mapped(self, title, timeout=30):
        """Seconds until a top-level window named title is mapped, or None."""
        event = (ctypes.c_long * 24)()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while xlib.XPending(self.dpy):
                xlib.XNextEvent(self.dpy, event)
                if event[0] & 0xFFFFFFFF != MAP_NOTIFY:
                    continue
                name = ctypes.c_char_p()
                if xlib.XFetchName(self.dpy, event[5], ctypes.byref(name)) and name.value:
                    found = name.value == title
                    xlib.XFree(name)
                    if found:
                        return True
            select.select([self.fd], [], [], 0.01)
        return False


def processes_of(exe_name):
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                if exe_name.encode() in f.read():
                    pids.append(int(entry))
        except OSError:
            pass
    return pids


def peak_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def start_once(display, exe, title):
    """Seconds from start to the mapped window, and the peak memory then."""
    display.drain()
    start = time.monotonic()
    process = subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped = display.wait_mapped(title)
    elapsed = time.monotonic() - start
    name = os.path.basename(exe)
    peak = max((peak_kib(pid) for pid in processes_of(name)), default=0)
    for pid in processes_of(name):
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    process.wait()
    time.sleep(0.3)  # let the server finish with the ended process
    if not mapped:
        sys.exit(f"bench: {name} showed no window named {title.decode()}")
    return elapsed, peak


def row(goal, ours, reference, unit, limit, fmt="{:.1f}"):
    ratio = ours / reference if reference else float("nan")
    verdict = "met" if ratio <= limit else "NOT met"
    print(f"{goal:<34} {fmt.format(ours):>10} {unit:<4} {fmt.format(reference):>10} {unit:<4}"
          f" {ratio:6.2f}  <= {limit:<4} {verdict}")


def sync_against_create_from(build, lines=1000, runs=3):
    """Seconds for /sync of a list into an empty folder and for /create /from
    of the same links, medians of alternating runs."""
    command = os.path.join(build, "app", "ordnerlink.com")
    root = os.path.join(os.environ["WINEPREFIX"], "drive_c", "linkbench")
    os.makedirs(root, exist_ok=True)
    seconds = {"sync": [], "from": []}
    for run in range(runs):
        for key in seconds:
            folder = f"C:\\linkbench\\{key}{run}"
            prefix = "" if key == "sync" else folder + "\\"
            listed = os.path.join(root, f"{key}{run}.txt")
            with open(listed, "wb") as out:
                out.write("".join(f"\\\\srv\\share\\d{i}\t{prefix}L{i}\r\n" for i in range(lines)).encode())
            args = (["/sync", f"C:\\linkbench\\{key}{run}.txt", folder] if key == "sync"
                    else ["/create", "/from", f"C:\\linkbench\\{key}{run}.txt"])
            # What an earlier sync recorded would turn this one into removals.
            subprocess.run(["wine", "reg", "delete", "HKCU\\Software\\Ordnerlink\\Sync", "/f"],
                           capture_output=True)
            start = time.monotonic()
            subprocess.run(["wine", command, *args], capture_output=True)
            seconds[key].append(time.monotonic() - start)
    return statistics.median(seconds["sync"]), statistics.median(seconds["from"])


def policy_sync_against_list(build, lines=200, runs=3):
    """Seconds for the scheduled run's everyday case, /sync /policy with an
    unchanged list of lines links, and for one /list of the same folder."""
    command = os.path.join(build, "app", "ordnerlink.com")
    root = os.path.join(os.environ["WINEPREFIX"], "drive_c", "linkbench")
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(root, "policy.txt"), "wb") as out:
        out.write("".join(f"\\\\srv\\share\\p{i}\tP{i}\r\n" for i in range(lines)).encode())
    key = "HKCU\\Software\\Policies\\Ordnerlink"
    values = {"SyncList": "C:\\linkbench\\policy.txt", "SyncFolder": "C:\\linkbench\\policy",
              "LogFile": "C:\\linkbench\\sync.log"}
    try:
        for name, value in values.items():
            subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"],
                           capture_output=True, check=True)
        subprocess.run(["wine", command, "/sync", "/policy"], capture_output=True)  # makes the links
        seconds = {"sync": [], "list": []}
        for _ in range(runs):
            for which, args in (("sync", ["/sync", "/policy"]), ("list", ["/list", values["SyncFolder"]])):
                start = time.monotonic()
                subprocess.run(["wine", command, *args], capture_output=True)
                seconds[which].append(time.monotonic() - start)
    finally:
        subprocess.run(["wine", "reg", "delete", key, "/f"], capture_output=True)
    return statistics.median(seconds["sync"]), statistics.median(seconds["list"])


def check_all_against_one(build, links=100, timeout=3, runs=3):
    """Seconds for /check /all over links folder links whose FTP servers
    accept and never greet, and for one /check of one of them."""
    command = os.path.join(build, "app", "ordnerlink.com")
    root = os.path.join(os.environ["WINEPREFIX"], "drive_c", "linkbench")
    os.makedirs(root, exist_ok=True)
    silent = [socket.socket() for _ in range(links)]
    try:
        for listener in silent:
            listener.bind(("127.0.0.1", 0))
            listener.listen(4)
        listed = os.path.join(root, "check.txt")
        with open(listed, "wb") as out:
            out.write("".join(f"ftp://127.0.0.1:{s.getsockname()[1]}/\tC:\\linkbench\\check\\L{i}\r\n"
                              for i, s in enumerate(silent)).encode())
        subprocess.run(["wine", command, "/create", "/from", "C:\\linkbench\\check.txt"], capture_output=True)
        seconds = {"all": [], "one": []}
        for _ in range(runs):
            for key, args in (("all", ["/check", "/all", "C:\\linkbench\\check"]),
                              ("one", ["/check", "C:\\linkbench\\check\\L0"])):
                start = time.monotonic()
                subprocess.run(["wine", command, *args, f"/timeout:{timeout}"], capture_output=True)
                seconds[key].append(time.monotonic() - start)
    finally:
        for listener in silent:
            listener.close()
    return statistics.median(seconds["all"]), statistics.median(seconds["one"])


def main():
    build = sys.argv[1]
    program = os.path.join(build, "app", "ordnerlink.exe")
    bare = os.path.join(build, "tests", "bench", "bare_window.exe")
    stripped = os.path.join(build, "ordnerlink-stripped.exe")
    subprocess.run(["x86_64-w64-mingw32-strip", "-o", stripped, program], check=True)

    display = Display()
    start_once(display, bare, BARE_TITLE)  # warms the server and the file cache
    times = {"program": [], "bare": []}
    peaks = {"program": [], "bare": []}
    for _ in range(RUNS):
        for key, exe, title in (("program", program, MAIN_TITLE), ("bare", bare, BARE_TITLE)):
            elapsed, peak = start_once(display, exe, title)
            times[key].append(elapsed * 1000)
            peaks[key].append(peak / 1024)

    links = subprocess.run(["wine", os.path.join(build, "tests", "bench", "folder_link_bench.exe")],
                           capture_output=True, text=True).stdout
    lists = subprocess.run(["wine", os.path.join(build, "tests", "win", "vxlinein_list_bench.exe")],
                           capture_output=True, text=True).stdout
    synced, created = sync_against_create_from(build)
    checked_all, checked_one = check_all_against_one(build)
    policy_synced, listed = policy_sync_against_list(build)

    print(f"Medians of {RUNS} alternating runs; ratio = ours / reference.")
    print(f"{'goal':<34} {'ours':>15} {'reference':>15} {'ratio':>6}  target")
    row("start to mapped window", statistics.median(times["program"]),
        statistics.median(times["bare"]), "ms", 1.3)
    row("peak memory at first show", statistics.median(peaks["program"]),
        statistics.median(peaks["bare"]), "MiB", 1.3)
    row("executable, stripped (limit 1 MiB)", os.path.getsize(stripped) / 1024, 1024, "KiB", 1.0)
    m = re.search(r"program ([\d.]+) ms, bare ([\d.]+) ms", links)
    if m:
        row("folder link, per link", float(m.group(1)), float(m.group(2)), "ms", 1.2, "{:.3f}")
    else:
        print("folder link: no figures\n" + links)
    row("/sync of 1,000 lines, empty folder", synced, created, "s", 1.2, "{:.2f}")
    row("/check /all, 100 silent sources", checked_all, checked_one, "s", 2.0, "{:.2f}")
    row("/sync /policy, 200 unchanged lines", policy_synced, listed, "s", 2.0, "{:.2f}")
    m = re.search(r"plain ([\d.]+) us, wrapped ([\d.]+) us, passed on by a bare window procedure ([\d.]+) us",
                  lists)
    if m:
        row("message to a combo box", float(m.group(2)), float(m.group(1)), "us", 2.0, "{:.3f}")
        row("  the same, passed on by a bare proc", float(m.group(3)), float(m.group(1)), "us", 2.0, "{:.3f}")
    m = re.search(r"30000 items.*SelectByItemTag\(last\)\s+([\d.]+) ms.*ListFocusItemTag\(first, last\)\s+"
                  r"([\d.]+) ms", lists)
    if m:
        row("SelectByItemTag, 30,000 items", float(m.group(1)), 500, "ms", 1.0)
        row("ListFocusItemTag x2, 30,000 items", float(m.group(2)), 500, "ms", 1.0)
    print()
    print("start to mapped window, each run (ms):")
    for key in times:
        print(f"  {key:<8} " + " ".join(f"{t:.0f}" for t in times[key]))
    print("list benchmark:")
    print("".join("  " + line + "\n" for line in lists.splitlines()))
    print(links.strip())


if __name__ == "__main__":
    main()
