"""Fixtures for driving ordnerlink.exe under Wine on the X display as a user
would: xdotool moves the mouse, clicks and types; the window-text tool reads
what the program's windows and message boxes say; the files it writes are
checked from the Linux side of the Wine prefix."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

import pytest

MAIN_TITLE = "Entfernten Ordner Lokal einbinden"
MANAGER_TITLE = "Ordnerverknüpfungen verwalten"


def pytest_addoption(parser):
    parser.addoption("--build-dir", action="store", required=True, help="the Windows build folder")


@pytest.fixture(scope="session")
def build_dir(request):
    return pathlib.Path(request.config.getoption("--build-dir")).resolve()


@pytest.fixture(scope="session")
def drive_c():
    return pathlib.Path(os.environ["WINEPREFIX"]) / "drive_c"


def wait_until(condition, timeout=10, interval=0.2):
    """Asks condition() until it gives a true value or timeout seconds have
    passed; returns its last answer."""
    deadline = time.monotonic() + timeout
    while True:
        answer = condition()
        if answer or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)


def run(*args, check=True, timeout=60):
    return subprocess.run(args, check=check, timeout=timeout, capture_output=True, text=True)


def end_wine():
    """Ends every program in the tests' Wine prefix and waits until Wine's
    server is gone: a program started while the old server is still going
    down may meet it half-ended and wait a long time for its first window."""
    run("wineserver", "-k", check=False)
    run("wineserver", "-w", check=False)


def screen_file():
    """The screen's pixels as Xvfb keeps them (scripts/display.sh). Not `xwd
    -root`: it shows a message box lying within the program's main window as
    black while the screen holds the drawn box."""
    path = os.environ.get("XVFB_SCREEN")
    assert path, "XVFB_SCREEN is not set: start the display with scripts/display.sh"
    return path


def screen_brightness(x, y, width, height):
    """Mean brightness, 0 (black) to 1 (white), of a rectangle of the screen."""
    return float(run("convert", f"xwd:{screen_file()}", "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                     "-colorspace", "gray", "-format", "%[fx:mean]", "info:").stdout)


def window_rectangle(window):
    """Screen position and size of an X window (for a managed window without
    the manager's frame), from xwininfo."""
    fields = dict(line.strip().split(":", 1) for line in run("xwininfo", "-id", window).stdout.splitlines()
                  if ":" in line)
    return tuple(int(fields[key]) for key in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def save_screenshot(build_dir, name):
    """The whole screen as build_dir/screenshots/NAME.png, for a person to look at."""
    time.sleep(1)  # let the newest window finish painting
    target = build_dir / "screenshots" / f"{name}.png"
    target.parent.mkdir(exist_ok=True)
    run("convert", f"xwd:{screen_file()}", str(target))
    return target


def start_as_explorer(build_dir, command_line):
    """Starts command_line exactly as written, as Explorer starts a verb's
    command or Windows' settings an uninstall command: no console, no
    splitting or quoting on the way. Returns the starting tool's process,
    which ends at once."""
    env = dict(os.environ, ORDNERLINK_COMMAND_LINE=command_line, LC_ALL="C.UTF-8")
    return subprocess.Popen(["wine", str(build_dir / "tests" / "e2e" / "start_command_line.exe")], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# The window-text tool's exit code for a window that does not answer its
# messages (kNotAnswering in WindowText.cpp).
WINDOW_NOT_ANSWERING = 3


def window_text(build_dir, *args, check=True):
    """What the window-text tool (tests/e2e/WindowText.cpp) prints for args.
    It writes into a file, not a pipe: a process of Wine's that the tool's
    run starts (the desktop, when the tool is the first program of the
    session that needs it) inherits the tool's output handles, and a pipe
    held by it never ends.
    A window that does not answer fails the test: the tool gives up on it
    within seconds, so a run that still does not end within a minute (seen
    once on a loaded machine) is stuck in Wine itself, and is tried once
    more."""
    for attempt in range(2):
        with tempfile.TemporaryFile() as output:
            try:
                done = subprocess.run(["wine", str(build_dir / "tests" / "e2e" / "window_text.exe"), *args],
                                      check=check, timeout=60, stdout=output, stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                if attempt == 0:
                    continue
                raise
            assert done.returncode != WINDOW_NOT_ANSWERING, (
                f"the window {args[-1]!r} does not answer its messages; its program's threads:\n"
                + thread_stacks(build_dir))
            output.seek(0)
            return output.read().decode("utf-8")


def thread_stacks(build_dir, program="ordnerlink.exe"):
    """Where every thread of each running program of that name stands, as
    Wine's debugger traces it: what a window that does not answer waits for.
    Also kept in build_dir/test-results/stacks-TIME.txt."""
    listing = run("winedbg", "--command", "info process", check=False).stdout
    pids = [int(line.split()[0].lstrip("="), 16) for line in listing.splitlines() if f"'{program}'" in line]
    traced = []
    for pid in pids:
        out = subprocess.run(["winedbg"], input=f"attach {pid:#x}\nbt all\ndetach\nquit\n", capture_output=True,
                             text=True, timeout=60, check=False).stdout
        traced += ["thread " + section for section in out.split("Backtracing for thread ")[1:]
                   if f" in process {pid:04x} " in section.split("\n", 1)[0]]
    text = "\n".join(traced) or f"no {program} runs, or Wine's debugger could not attach to it"
    kept = build_dir / "test-results" / f"stacks-{time.strftime('%H%M%S')}.txt"
    kept.parent.mkdir(exist_ok=True)
    kept.write_text(text)
    return text


def visible_windows(build_dir):
    """Every visible top-level window as a list: its title, then its children's texts."""
    out = window_text(build_dir)
    return [line.rstrip("\r").replace("\x1f", "\n").split("\t") for line in out.split("\n") if line.strip()]


class App:
    """One running ordnerlink.exe and the X window of its first window (the
    main window, or the one its arguments open)."""

    def __init__(self, build_dir, command_line=None, args=(), title=MAIN_TITLE):
        """Starts ordnerlink.exe with args (none: the main window); or, given a
        command_line, starts that line exactly as written, as Explorer starts
        a verb's command (process is then the starting tool, which ends at
        once). Waits for the window titled title."""
        self.build_dir = build_dir
        if command_line is None:
            self.process = subprocess.Popen(["wine", str(build_dir / "app" / "ordnerlink.exe"), *args],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        else:
            self.process = start_as_explorer(build_dir, command_line)
        # The first window of a program, often after a fresh start of Wine's
        # server, takes longest on a loaded machine.
        self.window = self.wait_for_x_window(title, timeout=90)

    def wait_for_x_window(self, title, timeout=30):
        def newest():
            found = run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check=False)
            return found.stdout.split()[-1:]
        ids = wait_until(newest, timeout)
        assert ids, f"no window titled {title!r} appeared"
        return ids[0]

    def x_window_gone(self, window):
        return run("xdotool", "getwindowname", window, check=False).returncode != 0

    def click(self, x, y, window=None, button=1):
        """Clicks at (x, y) pixels of the window's client area."""
        run("xdotool", "mousemove", "--sync", "--window", window or self.window, str(x), str(y),
            "click", str(button))
        time.sleep(0.3)

    def type(self, text):
        run("xdotool", "type", "--delay", "30", text)
        time.sleep(0.3)

    def key(self, *keys, window=None):
        run("xdotool", "key", *keys)
        time.sleep(0.3)

    def windows(self):
        return visible_windows(self.build_dir)

    def wait_for_windows(self, predicate, timeout=15):
        return wait_until(lambda: [w for w in self.windows() if predicate(w)], timeout, interval=0.3)

    def rows(self, title=MANAGER_TITLE):
        """The rows of the list view in the window of that title, read by the
        list view's own messages: (selected, name, source, state) each."""
        out = window_text(self.build_dir, "--rows", title, check=False)
        return [tuple(line.rstrip("\r").split("\t")) for line in out.split("\n") if line.strip()]

    def focus(self, title):
        """Where keys typed into the window of that title go: the class of
        the window with the keyboard focus in its thread, and whether the
        window is its thread's active one."""
        out = dict(line.rstrip("\r").split("\t", 1) for line in
                   window_text(self.build_dir, "--focus", title, check=False).split("\n") if "\t" in line)
        return out.get("focus"), out.get("active") == "1"

    def layout(self, title):
        """The geometry of the window of that title, in the screen's pixels,
        read by the window-text tool: "dpi", the resolution it is drawn for;
        "window" and "work" (its monitor's work area) as (left, top, right,
        bottom); "client" as (left, top, width, height) on the screen; and
        "children": (class, text, (left, top, right, bottom) in the client
        area, row height of a list view or None) for every visible window
        within it."""
        out = window_text(self.build_dir, "--layout", title)
        found = {"children": []}
        for fields in (line.rstrip("\r").split("\t") for line in out.split("\n") if line.strip()):
            if fields[0] == "child":
                numbers = [int(v) for v in fields[3:]]
                found["children"].append((fields[1], fields[2], tuple(numbers[:4]), (numbers[4:] or [None])[0]))
            elif fields[0] == "dpi":
                found["dpi"] = int(fields[1])
            else:
                found[fields[0]] = tuple(int(v) for v in fields[1:])
        return found

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def screenshot(self, name):
        return save_screenshot(self.build_dir, name)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


# Client-area points (pixels at 15 twips per pixel) of what a user clicks.
SOURCE_FIELD = (250, 37)
TARGET_FIELD = (250, 61)
CREATE_BUTTON = (416, 102)
CLOSE_BUTTON = (296, 102)

INCOMPLETE = "Unvollständig"
DESKTOP_INI = (b"[.ShellClassInfo]\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n"
               b"Flags=2\r\nConfirmFileOp=0\r\n")


def dos_attributes(path):
    out = run("getfattr", "--only-values", "-n", "user.DOSATTRIB", str(path)).stdout
    return int(out.strip().strip("\x00"), 16)


def fill(app, source, target):
    """Types into the empty lines; an empty text leaves its line alone."""
    for point, text in ((SOURCE_FIELD, source), (TARGET_FIELD, target)):
        if text:
            app.click(*point)
            app.type(text)


def replace_line(app, point, text):
    """Puts text in place of everything the line at point holds."""
    app.click(*point)
    app.key("End", "shift+Home", "BackSpace")
    if text:
        app.type(text)


def message_boxes(app, title):
    return app.wait_for_windows(lambda w: w[0] == title)


def message_box_body_drawn(app, title):
    """Whether the box's body shows on the screen as drawn rather than black:
    a box is light grey with some dark text, an undrawn body black. Waits for
    the box to paint."""
    x, y, width, height = window_rectangle(app.wait_for_x_window(title))
    margin = 4
    return wait_until(lambda: screen_brightness(x + margin, y + margin, width - 2 * margin,
                                                height - 2 * margin) > 0.5)


def answer_message_box(app, title, keys=("Return",)):
    box = app.wait_for_x_window(title)
    run("xdotool", "windowactivate", "--sync", box, check=False)
    app.key(*keys)
    assert wait_until(lambda: app.x_window_gone(box)), f"the message box {title!r} stayed open"



def crash_reports():
    return set(pathlib.Path(os.environ["WINEPREFIX"], "drive_c", "users").glob(
        "*/AppData/Local/Ordnerlink/Absturzbericht-*.txt"))


@pytest.fixture(autouse=True)
def no_crash_report():
    """Fails a test during which a program wrote a crash report: a crash on
    a worker thread, or one as the program ends, may leave the test's own
    checks passing, but the user meets the report and its message box."""
    before = crash_reports()
    yield
    written = sorted(crash_reports() - before)
    assert not written, "crash reports written:\n" + "\n".join(
        report.read_text(encoding="utf-8-sig", errors="replace") for report in written)


@pytest.fixture
def app(build_dir):
    end_wine()  # no program left over from elsewhere in this prefix
    started = App(build_dir)
    yield started
    started.close()
    end_wine()


@pytest.fixture
def work_folder(drive_c):
    """A fresh folder C:\\e2e for the files a test makes, removed afterwards."""
    folder = drive_c / "e2e"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    yield folder
    shutil.rmtree(folder, ignore_errors=True)
