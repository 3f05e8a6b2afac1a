"""Measures the window "Ordnerverknüpfungen verwalten" and prints its figures.

Called by scripts/bench_manager.sh with the build folder and the number of
"check again" rounds, on an X display without a window manager and with
WINEPREFIX set. The rows are read by the probe from tests/bench, which stays
open for the whole run.
"""
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

RUNS = 5
LINKS_SHOWN = 300
LINKS_CHECKED = 50
SHOWN_TARGET = 0.5
ROOT_DOS = r"C:\managerbench"


class SilentFtp:
    """An FTP address on the loopback address whose server takes every
    connection and never greets, so that each check of it keeps running.
    Its port is bound at once, but it listens only once started: /create
    /from, which would wait for its greeting, is refused at once before."""

    def __init__(self):
        self.server = socket.socket()
        self.server.bind(("127.0.0.1", 0))
        self.port = self.server.getsockname()[1]
        self.held = []

    def start(self):
        self.server.listen(512)
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                connection, _ = self.server.accept()
            except OSError:
                return
            self.held.append(connection)

    def drop_connections(self):
        held, self.held = self.held, []
        for connection in held:
            connection.close()


class Probe:
    def __init__(self, build):
        self.process = subprocess.Popen(["wine", os.path.join(build, "tests", "bench", "manager_probe.exe")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return [int(value) for value in self.process.stdout.readline().split()]

    def close(self):
        self.process.stdin.write("quit\n")
        self.process.stdin.close()
        self.process.wait(timeout=10)


def wine_path(dos):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", dos[3:].replace("\\", "/"))


def make_links(build, folder, sources):
    """Folder links in folder (a DOS path), one per source, made by /create /from."""
    listing = ROOT_DOS + "\\liste.txt"
    with open(wine_path(listing), "w", encoding="utf-8") as f:
        for i, source in enumerate(sources):
            f.write(f"{source}\t{folder}\\Link {i:04d}\n")
    # The report goes to a file: a pipe would stay open as long as the
    # processes that Wine's first program starts (and that stay) hold it.
    with tempfile.TemporaryFile() as report:
        done = subprocess.run(["wine", os.path.join(build, "app", "ordnerlink.com"), "/create", "/from", listing],
                              stdout=report, stderr=subprocess.STDOUT, timeout=600)
        if done.returncode != 0:
            report.seek(0)
            sys.exit(f"bench: /create /from failed: {report.read().decode('utf-8', 'replace')}")


def start_manager(build, folder):
    return subprocess.Popen(["wine", os.path.join(build, "app", "ordnerlink.exe"), "/manage", folder],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stop_manager(manager, probe):
    manager.kill()
    manager.wait()
    deadline = time.monotonic() + 10
    while probe.ask("rows")[0] >= 0 and time.monotonic() < deadline:
        time.sleep(0.05)


def manager_pid():
    """The process id of the running manager: the Wine process of
    ordnerlink.exe in this prefix (others may run theirs beside it)."""
    prefix = b"WINEPREFIX=" + os.environ["WINEPREFIX"].encode() + b"\0"
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                ours = b"ordnerlink.exe" in f.read()
            with open(f"/proc/{entry}/environ", "rb") as f:
                if ours and prefix in f.read():
                    return int(entry)
        except OSError:
            continue
    sys.exit("bench: the manager's process is not found")


def private_kib(pid):
    """The Linux process's private memory (private clean and dirty pages)."""
    total = 0
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


def measure_shown(build, probe, ftp):
    """Start to every row being shown and the window being there to every row
    being shown, per run, and whether each run saw all rows still being
    checked at that moment."""
    times, after_window, all_checking = [], [], []
    for _ in range(RUNS):
        ftp.drop_connections()
        start = time.monotonic()
        manager = start_manager(build, ROOT_DOS + "\\ftp")
        window = None
        while True:
            rows, shown, checking = probe.ask("rows")
            if rows >= 0 and window is None:
                window = time.monotonic()
            if rows == LINKS_SHOWN and shown == LINKS_SHOWN:
                times.append(time.monotonic() - start)
                after_window.append(time.monotonic() - window)
                all_checking.append(checking == LINKS_SHOWN)
                break
            if time.monotonic() - start > 60:
                sys.exit(f"bench: the manager showed {shown} of {LINKS_SHOWN} rows within a minute")
        stop_manager(manager, probe)
    return times, after_window, all_checking


def settled(probe, timeout=30):
    """Waits until every row is there and none is being checked."""
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        rows, _, checking = probe.ask("rows")
        if rows == LINKS_CHECKED and checking == 0:
            return
    sys.exit("bench: the checks did not settle within 30 s")


def measure_rounds(build, probe, rounds):
    """Handles and private memory (KiB) after each round of all rows selected,
    F5 and the checks settling."""
    manager = start_manager(build, ROOT_DOS + "\\lokal")
    deadline = time.monotonic() + 60
    while probe.ask("rows")[:2] != [LINKS_CHECKED, LINKS_CHECKED] and time.monotonic() < deadline:
        time.sleep(0.05)
    settled(probe)
    pid = manager_pid()
    samples, seen = [], 0
    started = time.monotonic()
    for _ in range(rounds):
        # Sent by the probe, not typed: keystrokes on a loaded X server may
        # be lost, and a round that did not happen would measure nothing.
        seen += probe.ask("again")[0] > 0
        settled(probe)
        samples.append((probe.ask("handles")[0], private_kib(pid)))
    elapsed = time.monotonic() - started
    stop_manager(manager, probe)
    return samples, seen, elapsed


def main():
    build, rounds = sys.argv[1], int(sys.argv[2])
    root = wine_path(ROOT_DOS + "\\")
    shutil.rmtree(root, ignore_errors=True)
    for sub in ("ftp", "lokal", "quelle"):
        os.makedirs(os.path.join(root, sub))
    ftp = SilentFtp()
    make_links(build, ROOT_DOS + "\\ftp", [f"ftp://127.0.0.1:{ftp.port}/Ordner{i}" for i in range(LINKS_SHOWN)])
    make_links(build, ROOT_DOS + "\\lokal", [ROOT_DOS + "\\quelle"] * LINKS_CHECKED)
    ftp.start()
    # Sorted by state (the column Zustand, index 2), as a user who looks for
    # what is broken keeps it:
    # every state that comes in orders the rows anew.
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Ordnerlink\Verwalten", "/v", "Sortierspalte", "/t",
                    "REG_DWORD", "/d", "2", "/f"], check=True, capture_output=True, timeout=60)
    probe = Probe(build)
    try:
        times, after_window, all_checking = measure_shown(build, probe, ftp)
        ftp.drop_connections()
        samples, seen, elapsed = measure_rounds(build, probe, rounds)
    finally:
        probe.close()
        ftp.drop_connections()
        shutil.rmtree(root, ignore_errors=True)

    print(f"Manager, {LINKS_SHOWN} folder links whose servers never greet, {RUNS} runs (target {SHOWN_TARGET} s):")
    for name, figures in (("program start", times), ("window there", after_window)):
        median = statistics.median(figures)
        print(f"  {name + ' to every row shown':35} median {median:.3f} s "
              f"({'within' if median <= SHOWN_TARGET else 'over'} the target); runs "
              + ", ".join(f"{t:.3f}" for t in figures))
    print(f"  every row shown before any check finished: {sum(all_checking)} of {RUNS} runs")
    span = min(100, rounds // 2)
    first, last = samples[:span], samples[-span:]
    print(f"Check again (Ctrl+A, F5) over {LINKS_CHECKED} local folder links, {rounds} rounds "
          f"in {elapsed:.0f} s, checks seen started in {seen}:")
    print(f"  {'average over':30} {'first ' + str(span):>12} {'last ' + str(span):>12} {'change':>8}")
    for index, name in enumerate(("handles", "private memory (KiB)")):
        a = statistics.mean(s[index] for s in first)
        b = statistics.mean(s[index] for s in last)
        print(f"  {name:30} {a:12.0f} {b:12.0f} {(b - a) / a * 100 if a else 0:+7.1f}%")
    # Warm-up levels off, a leak keeps growing: the course tells them apart.
    tenth = max(1, rounds // 10)
    for index, name in enumerate(("handles", "private memory (KiB)")):
        course = [statistics.mean(s[index] for s in samples[k:k + tenth]) for k in range(0, len(samples), tenth)]
        print(f"  {name + ' per tenth of the rounds':45} " + " ".join(f"{v:.0f}" for v in course))


if __name__ == "__main__":
    main()
