"""The route by which target.lnk is written. The command mode takes the
window's: the shell's own link object is asked first, and its file is kept
only where it holds the source in Windows' form, else the link is written
from the format. Which of the two ends up writing depends on the source and
on the platform (under Wine, whose shell writes no record of a share, a share
always ends with the format); so the test names the route by what the
command mode asked of the shell, and holds the window's and the command
mode's files to the same bytes."""
import os
import subprocess

from conftest import CREATE_BUTTON, SOURCE_FIELD, TARGET_FIELD, replace_line, wait_until

# kind of source: the source
SOURCES = {
    "lokal": r"C:\e2e\Quelle\Ordner",
    "Freigabe": r"\\srv\share\docs",
}


def wine_string(text):
    """A wide string as Wine's traces print it."""
    return 'L"' + text.replace("\\", "\\\\") + '"'


def create_in_command_mode(build_dir, drive_c, source, target):
    """Runs ordnerlink.com /create, started in drive C, with Wine tracing its shell; returns the trace."""
    env = dict(os.environ, LC_ALL="C.UTF-8", WINEDEBUG="+shell")
    completed = subprocess.run(["wine", str(build_dir / "app" / "ordnerlink.com"), "/create", source, target],
                               env=env, cwd=drive_c, capture_output=True, timeout=120)
    trace = completed.stderr.decode("utf-8", "replace")
    assert completed.returncode == 0, trace[-2000:]
    return trace


def test_the_command_mode_writes_the_windows_link_by_the_windows_route(app, build_dir, drive_c, work_folder):
    # A link to a local folder holds the times of each folder on its way, so
    # the links go into a folder of their own beside it, and every folder's
    # access time is settled before the first link reads it.
    (work_folder / "Quelle" / "Ordner").mkdir(parents=True)
    (work_folder / "Links").mkdir()
    for folder in (work_folder, work_folder / "Quelle", work_folder / "Quelle" / "Ordner"):
        os.listdir(folder)

    for kind, source in SOURCES.items():
        replace_line(app, SOURCE_FIELD, source)
        replace_line(app, TARGET_FIELD, rf"C:\e2e\Links\Fenster {kind}")
        app.click(*CREATE_BUTTON)
        assert wait_until((work_folder / "Links" / f"Fenster {kind}" / "target.lnk").exists), kind

    for kind, source in SOURCES.items():
        target = rf"C:\e2e\Links\Befehl {kind}"
        trace = create_in_command_mode(build_dir, drive_c, source, target)
        asked = {
            "the shell's link object was made": ":IShellLink_Constructor " in trace,
            "it was given the source": ":IShellLinkW_fnSetPath " in trace
                                       and f"->(path={wine_string(source)})" in trace,
            # The shell saves beside target.lnk; the kept file is then moved over it.
            "it saved beside target.lnk": f"->({wine_string(target + chr(92) + 'target.lnk.')[:-1]}" in trace,
        }
        assert asked == dict.fromkeys(asked, True), kind
        window_link = (work_folder / "Links" / f"Fenster {kind}" / "target.lnk").read_bytes()
        command_link = (work_folder / "Links" / f"Befehl {kind}" / "target.lnk").read_bytes()
        assert command_link == window_link, kind
