"""Ordnerlink where the user is: the main window opened with its lines
prefilled (/new), the verbs in Explorer's context menus (/register,
/unregister) started as Explorer starts them, and the installation for the
user (/install, /uninstall) compared with the prefix before it."""
import os
import re
import subprocess

import pytest

from conftest import (MAIN_TITLE, MANAGER_TITLE, App, end_wine, run, save_screenshot, start_as_explorer,
                      visible_windows, wait_until, window_text)

PROGRAM_BOX_TITLE = "Ordnerlink"
# The main window's row from the window-text tool: its title, then its
# children's texts; the input lines' text boxes stand at these places.
SOURCE_TEXT, TARGET_TEXT = 3, 7

# Each verb: its key under HKCU\Software\Classes, its menu text and its
# command after the program's quoted path.
VERBS = {
    r"Directory\Background\shell\Ordnerlink.Erstellen": ("Ordnerverknüpfung hier erstellen…", r'/new "%V\"'),
    r"Directory\shell\Ordnerlink.Einbinden": ("Als Ordnerverknüpfung einbinden…", r'/new "%1"'),
    r"Directory\shell\Ordnerlink.Verwalten": ("Ordnerverknüpfungen hier verwalten…", r'/manage "%1"'),
}
# A verb's command started on a folder, and the target the window shows.
# Explorer writes a drive root as "C:\" (which the platform's splitting
# rules would read as an open quotation).
VERB_STARTS = [
    (r"Directory\Background\shell\Ordnerlink.Erstellen", r"C:\e2e\Meine Daten", "C:\\e2e\\Meine Daten\\"),
    (r"Directory\Background\shell\Ordnerlink.Erstellen", "C:\\", "C:\\"),
    (r"Directory\shell\Ordnerlink.Einbinden", r"C:\e2e\Meine Daten", r"C:\e2e\Meine Daten"),
    (r"Directory\shell\Ordnerlink.Einbinden", "C:\\", "C:\\"),
]


class Result:
    def __init__(self, completed):
        self.code = completed.returncode
        self.out = completed.stdout.decode("utf-8").replace("\r\n", "\n")
        self.err = completed.stderr.decode("utf-8").replace("\r\n", "\n")


@pytest.fixture
def ordnerlink(build_dir):
    end_wine()
    env = dict(os.environ, LC_ALL="C.UTF-8")

    def command(*args, program=build_dir / "app" / "ordnerlink.com"):
        return Result(subprocess.run(["wine", str(program), *args], env=env, capture_output=True, timeout=120))
    yield command
    end_wine()


def windows_path(path):
    """The Windows path of a Linux path: drive_c's as C:\\..., any other as Z:\\..."""
    parts = path.parts
    if "drive_c" in parts:
        return "C:\\" + "\\".join(parts[parts.index("drive_c") + 1:])
    return "Z:" + str(path).replace("/", "\\")


def exported(drive_c, key):
    """The registry key as `reg export` writes it (every subkey, no Wine
    volatile keys), as blocks of header and values; empty when the key is
    missing."""
    target = drive_c / "e2e-export.reg"
    target.unlink(missing_ok=True)
    if run("wine", "reg", "export", key, "C:\\e2e-export.reg", "/y", check=False).returncode != 0:
        return []
    text = target.read_bytes().decode("utf-16")
    target.unlink()
    blocks = [block.strip() for block in text.replace("\r\n", "\n").split("\n\n")[1:]]
    return [block for block in blocks if block and not block.startswith("[HKEY_CURRENT_USER\\Software\\Wine")]


def reg_value(blocks, key, name="@"):
    """A string value from exported blocks, unescaped; None when missing."""
    for block in blocks:
        lines = block.replace("\\\n", "").split("\n")  # a long value goes on after "\" at a line's end
        if lines[0] == f"[{key}]":
            prefix = "@=" if name == "@" else f'"{name}"='
            for line in lines[1:]:
                if line.startswith(prefix):
                    value = line[len(prefix):]
                    if value.startswith('"'):
                        return value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
                    return value
    return None


def window_row(build_dir, title=MAIN_TITLE):
    """The one visible window of that title: its title, then its children's texts."""
    rows = wait_until(lambda: [w for w in visible_windows(build_dir) if w[0] == title])
    assert len(rows) == 1, rows
    return rows[0]


def close_window(app, title=MAIN_TITLE):
    window_text(app.build_dir, "--close", title)
    assert wait_until(lambda: app.x_window_gone(app.window)), f"the window {title!r} stayed open"


def box_of_a_command_without_console(build_dir, command_line, screenshot=None):
    """Starts command_line as Explorer or Windows' settings start it (no
    console; None: the program runs already) and returns the text of the
    message box the program answers in, closing it afterwards."""
    if command_line:
        start_as_explorer(build_dir, command_line)
    boxes = wait_until(lambda: [w for w in visible_windows(build_dir) if w[0] == PROGRAM_BOX_TITLE], 30)
    assert len(boxes) == 1, (command_line, boxes)
    if screenshot:
        save_screenshot(build_dir, screenshot)
    window_text(build_dir, "--close", PROGRAM_BOX_TITLE)
    assert wait_until(lambda: not [w for w in visible_windows(build_dir) if w[0] == PROGRAM_BOX_TITLE])
    return "".join(boxes[0])


def answer_box(build_dir, keys):
    """Waits for the program's message box, answers it with keys and returns
    its texts once it is gone."""
    boxes = wait_until(lambda: [w for w in visible_windows(build_dir) if w[0] == PROGRAM_BOX_TITLE], 30)
    assert len(boxes) == 1, boxes
    box = run("xdotool", "search", "--onlyvisible", "--name", f"^{PROGRAM_BOX_TITLE}$").stdout.split()[-1]
    run("xdotool", "windowactivate", "--sync", box, check=False)
    run("xdotool", "key", *keys)
    assert wait_until(lambda: run("xdotool", "getwindowname", box, check=False).returncode != 0), keys
    return boxes[0]


def test_new_prefills_the_lines_and_nothing_else(build_dir, work_folder):
    end_wine()
    plain = App(build_dir)
    plain_row = window_row(build_dir)
    close_window(plain)
    assert plain_row[SOURCE_TEXT] == plain_row[TARGET_TEXT] == ""

    program = windows_path(build_dir / "app" / "ordnerlink.exe")
    calls = [
        (f'"{program}" /new', "", ""),
        (f'"{program}" /new "C:\\e2e\\Meine Daten\\" /source:\\\\srv\\share\\docs',
         "\\\\srv\\share\\docs", "C:\\e2e\\Meine Daten\\"),
        (f'"{program}" /NEW C:\\e2e\\Ziel', "", r"C:\e2e\Ziel"),
    ]
    for command_line, source, target in calls:
        app = App(build_dir, command_line=command_line)
        row = window_row(build_dir)
        expected = list(plain_row)
        expected[SOURCE_TEXT], expected[TARGET_TEXT] = source, target
        assert row == expected, command_line
        if source:
            app.screenshot("new-prefilled")
        close_window(app)
    # The window only showed the texts: nothing was made.
    assert list(work_folder.iterdir()) == []
    end_wine()


def test_verbs_start_the_window_on_any_folder_and_go_without_a_trace(ordnerlink, build_dir, drive_c,
                                                                     work_folder):
    classes = "HKEY_CURRENT_USER\\Software\\Classes"
    # Windows always has the user's classes key; a fresh Wine prefix makes it
    # only when something first writes there.
    run("wine", "reg", "add", classes, "/f")
    before = exported(drive_c, classes)
    program = windows_path(build_dir / "app" / "ordnerlink.exe")

    registered = ordnerlink("/register")
    assert registered.code == 0, registered.err
    assert "Weitere Optionen anzeigen" in registered.out and program in registered.out
    blocks = exported(drive_c, classes)
    for key, (text, arguments) in VERBS.items():
        full = f"{classes}\\{key}"
        assert reg_value(blocks, full) == text
        assert reg_value(blocks, full, "Icon") == f"{program},0"
        assert reg_value(blocks, full + "\\command") == f'"{program}" {arguments}'

    (work_folder / "Meine Daten").mkdir()
    for key, folder, target in VERB_STARTS:
        command = reg_value(blocks, f"{classes}\\{key}\\command")
        app = App(build_dir, command_line=command.replace("%V", folder).replace("%1", folder))
        row = window_row(build_dir)
        assert (row[SOURCE_TEXT], row[TARGET_TEXT]) == ("", target), (key, folder)
        close_window(app)
    # The manager's verb: the manager on that folder, a drive root too.
    manage = reg_value(blocks, f"{classes}\\Directory\\shell\\Ordnerlink.Verwalten\\command")
    for folder in (r"C:\e2e\Meine Daten", "C:\\"):
        manager = App(build_dir, command_line=manage.replace("%1", folder), title=MANAGER_TITLE)
        shown = window_row(build_dir, MANAGER_TITLE)
        assert folder in shown, (folder, shown)
        close_window(manager, MANAGER_TITLE)

    # Started without a console, as from a shortcut, it answers in a box.
    assert "Weitere Optionen anzeigen" in box_of_a_command_without_console(build_dir, f'"{program}" /register')

    # The window-program verbs are written for ordnerlink.exe even when
    # the console companion registered them.
    assert all(f'"{program}"' in reg_value(blocks, f"{classes}\\{key}\\command") for key in VERBS)

    unregistered = ordnerlink("/unregister")
    assert unregistered.code == 0, unregistered.err
    assert exported(drive_c, classes) == before
    again = ordnerlink("/unregister")
    assert again.code == 0 and "nicht eingetragen" in again.out


def user_files(drive_c):
    users = drive_c / "users"
    return {str(p.relative_to(users)) for p in users.rglob("*")}


def test_install_and_uninstall_leave_nothing_behind(ordnerlink, build_dir, drive_c):
    hkcu = "HKEY_CURRENT_USER"
    run_once = hkcu + r"\Software\Microsoft\Windows\CurrentVersion\RunOnce"
    ordnerlink("/uninstall")  # nothing left over from an earlier run
    # The program's own settings, which /uninstall removes with it, from the
    # tests before this one.
    run("wine", "reg", "delete", hkcu + r"\Software\Ordnerlink", "/f", check=False)
    # The user's own PATH entry, with a variable, stays as it is.
    run("wine", "reg", "add", hkcu + r"\Environment", "/v", "Path", "/t", "REG_EXPAND_SZ", "/d",
        r"%USERPROFILE%\bin", "/f")
    files_before = user_files(drive_c)
    registry_before = exported(drive_c, hkcu)
    had_run_once = any(block.split("\n")[0] == f"[{run_once}]" for block in registry_before)

    local = next((drive_c / "users").glob("*/AppData/Local"))
    folder = local / "Programs" / "Ordnerlink"
    installed = windows_path(folder / "ordnerlink.exe")
    uninstall_key = hkcu + r"\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordnerlink"
    shortcut = next((drive_c / "users").glob("*/AppData/Roaming")) / \
        "Microsoft/Windows/Start Menu/Programs/Ordnerlink.lnk"

    for _ in range(2):  # installing again updates in place
        done = ordnerlink("/install")
        assert done.code == 0, done.err
        assert done.out.startswith("Ordnerlink ist installiert. Sie finden es im Startmenü"), done.out
        for name in ("ordnerlink.exe", "ordnerlink.com"):
            assert (folder / name).read_bytes() == (build_dir / "app" / name).read_bytes()
        assert installed in run("lnkinfo", str(shortcut)).stdout
        # The manager's own entry: the installed program with /manage.
        managing = run("lnkinfo", str(shortcut.with_name("Ordnerverknüpfungen verwalten.lnk"))).stdout
        assert installed in managing and re.search(r"Command line arguments\s*:\s*/manage\s*$", managing, re.M), \
            managing
        registry = exported(drive_c, hkcu)
        size_kib = sum(-(-(folder / n).stat().st_size // 1024) for n in ("ordnerlink.exe", "ordnerlink.com"))
        assert {name: reg_value(registry, uninstall_key, name) for name in (
            "DisplayName", "DisplayVersion", "DisplayIcon", "InstallLocation", "UninstallString",
            "EstimatedSize", "NoModify", "NoRepair", "Publisher")} == {
            "DisplayName": "Ordnerlink", "DisplayVersion": "1.0.0", "DisplayIcon": installed + ",0",
            "InstallLocation": windows_path(folder), "UninstallString": f'"{installed}" /uninstall',
            "EstimatedSize": f"dword:{size_kib:08x}", "NoModify": "dword:00000001",
            "NoRepair": "dword:00000001", "Publisher": None}
        path = reg_value(registry, hkcu + r"\Environment", "Path")
        assert path.startswith("hex(2):"), "PATH is REG_EXPAND_SZ"
        entries = bytes.fromhex(path[7:].replace(",", "").replace(" ", "")) \
            .decode("utf-16-le").rstrip("\0").split(";")
        assert entries == [r"%USERPROFILE%\bin", windows_path(folder)]
        command = reg_value(registry, hkcu + r"\Software\Classes\Directory\shell\Ordnerlink.Einbinden\command")
        assert command == f'"{installed}" /new "%1"'

    # Settings the program keeps for the user go with it.
    run("wine", "reg", "add", hkcu + r"\Software\Ordnerlink\Verwalten", "/v", "Ordner", "/d", r"C:\e2e", "/f")

    # Windows' settings start the uninstall command without a console: the
    # installed copy asks first, No being the answer of Return, then removes
    # itself and says so in a message box.
    start_as_explorer(build_dir, f'"{installed}" /uninstall')
    assert "entfernen?" in "".join(answer_box(build_dir, ("Return",)))
    run("wineserver", "-w", timeout=60)
    assert (folder / "ordnerlink.exe").exists(), "answered No, the removal went ahead"
    start_as_explorer(build_dir, f'"{installed}" /uninstall')
    assert "entfernen?" in "".join(answer_box(build_dir, ("shift+Tab", "Return")))  # Yes
    assert "Ordnerlink ist entfernt" in box_of_a_command_without_console(
        build_dir, None, screenshot="uninstalled-from-settings")
    run("wineserver", "-w", timeout=60)

    # Left until the next logon: the running program's file, moved into the
    # temporary folder, and the RunOnce value that deletes it then.
    registry = exported(drive_c, hkcu)
    run_once_values = next(b for b in registry if b.split("\n")[0] == f"[{run_once}]").split("\n")[1:]
    assert len(run_once_values) == 1 and run_once_values[0].startswith('"ordnerlink-entfernt-'), run_once_values
    moved_name = run_once_values[0].split('"')[1]
    delete_command = reg_value(registry, run_once, moved_name)
    moved = next((drive_c / "users").glob(f"*/Temp/{moved_name}"))
    assert windows_path(moved) in delete_command
    assert user_files(drive_c) - files_before <= {str(moved.relative_to(drive_c / "users"))}
    start_as_explorer(build_dir, delete_command)
    assert wait_until(lambda: not moved.exists(), 30), "the RunOnce command left the program"
    run("wine", "reg", "delete", run_once, "/v", moved_name, "/f")
    if not had_run_once:  # Windows always has the key; a fresh Wine prefix has not
        run("wine", "reg", "delete", run_once, "/f")

    assert user_files(drive_c) == files_before
    assert exported(drive_c, hkcu) == registry_before

    nothing = ordnerlink("/uninstall")
    assert nothing.code == 0 and "nicht installiert" in nothing.out
    run("wine", "reg", "delete", hkcu + r"\Environment", "/v", "Path", "/f")


# How the user's PATH is stored before /install and /uninstall: its type and
# data for `reg add` (None: no value), and whether the program may change it.
# Only a missing value is an empty PATH; one it cannot read stays as it is.
STORED_PATHS = {
    "missing": (None, None, True),
    "binary": ("REG_BINARY", "43003a005c00620069006e000000", False),
    "number": ("REG_DWORD", "7", False),
}


def test_install_leaves_a_path_it_cannot_read_as_it_is(ordnerlink, drive_c):
    hkcu = "HKEY_CURRENT_USER"
    environment = hkcu + r"\Environment"
    folder = windows_path(next((drive_c / "users").glob("*/AppData/Local")) / "Programs" / "Ordnerlink")
    uninstall_key = hkcu + r"\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordnerlink"
    for case, (kind, data, changeable) in STORED_PATHS.items():
        run("wine", "reg", "delete", environment, "/v", "Path", "/f", check=False)
        if kind:
            run("wine", "reg", "add", environment, "/v", "Path", "/t", kind, "/d", data, "/f")
        before = reg_value(exported(drive_c, environment), environment, "Path")

        installed = ordnerlink("/install")
        after = reg_value(exported(drive_c, environment), environment, "Path")
        # Every other part is installed either way.
        assert reg_value(exported(drive_c, uninstall_key), uninstall_key, "DisplayName") == "Ordnerlink", case
        if changeable:
            assert installed.code == 0, (case, installed.err)
            written = bytes.fromhex(after[7:].replace(",", "").replace(" ", "")).decode("utf-16-le")
            assert written.rstrip("\0") == folder, case
        else:
            assert installed.code == 1 and after == before, (case, installed.out, after)
            assert "nicht aber im PATH. Fehlgeschlagen: den PATH des Benutzers lesen (" in installed.err, case
            assert "der PATH bleibt, wie er ist" in installed.err, case

        removed = ordnerlink("/uninstall")
        after = reg_value(exported(drive_c, environment), environment, "Path")
        if changeable:
            assert (removed.code, after) == (0, None), (case, removed.err)
        else:
            assert removed.code == 1 and after == before, (case, removed.out, after)
            assert "den PATH des Benutzers lesen (" in removed.err, case
        assert reg_value(exported(drive_c, uninstall_key), uninstall_key, "DisplayName") is None, case
    run("wine", "reg", "delete", environment, "/v", "Path", "/f", check=False)


def test_a_console_program_without_its_window_program_registers_and_installs_nothing(ordnerlink, build_dir,
                                                                                     drive_c, work_folder):
    lone = work_folder / "nur-konsole"
    lone.mkdir()
    (lone / "ordnerlink.com").write_bytes((build_dir / "app" / "ordnerlink.com").read_bytes())
    files_before = user_files(drive_c)
    registry_before = exported(drive_c, "HKEY_CURRENT_USER")

    refusals = {
        "/register": "ordnerlink.exe",
        "/install": "Fehlgeschlagen: ordnerlink.exe und ordnerlink.com neben dem laufenden Programm finden",
    }
    for command, reason in refusals.items():
        refused = ordnerlink(command, program=lone / "ordnerlink.com")
        assert (refused.code, refused.out) == (1, ""), command
        assert reason in refused.err, refused.err
    assert user_files(drive_c) == files_before
    assert exported(drive_c, "HKEY_CURRENT_USER") == registry_before
