"""Runs cut short as a shutdown, a crash or Task Manager cuts a logon script
short: /sync, /create /from and /repair /all are ended with TerminateProcess
at moments spread over their run, each time followed by a whole run. Then
the folder is as the list says, every entry is a whole folder link or an
untouched ordinary folder, and the record names exactly the links /sync
made. And files that another program holds open without sharing.

ORDNERLINK_KILLS (default 5) sets the kills per command; the soak script
scripts/soak_interrupted_runs.sh runs this file with 50. The figures of a
run are kept in test-results/interrupted-runs.txt."""
import os
import random
import shutil
import subprocess
import tempfile
import time

import pytest

from conftest import wait_until
from test_command_mode import (DESKTOP_INI, HIDDEN, SYSTEM, dos_attributes, ordnerlink, set_dos_attributes,
                               snapshot, windows_path)
from test_sync_command import recorded_names, write_list

__all__ = ["ordnerlink"]  # the fixture, used by name

KILLS = int(os.environ.get("ORDNERLINK_KILLS", "5"))
NAMES = [f"Ablage {n:02}" for n in range(1, 7)]
# The lists /sync is run with in turn: all names, then a few of them with
# other sources, so that cut-short runs create, re-point and remove.
LISTS = {
    "all": [(f"C:\\e2e\\quelle\\{name}", name) for name in NAMES],
    "few": [(f"C:\\e2e\\quelle2\\{name}", name) for name in NAMES[:4]],
}
# What a user keeps in the folder: never hidden, never changed.
USERS_FOLDER, LISTED_USERS_FOLDER = "Eigenes", "Ablage Entwurf"

figures = {}


def kill_after(build_dir, seconds, *args):
    """Runs ordnerlink.com with args, ending it after seconds; whether it was
    ended before it was done, and how long it ran (in seconds). The tool
    writes into a file, not a pipe: a process of Wine's that a run cut short
    early leaves behind may hold the pipe open for long."""
    env = dict(os.environ, LC_ALL="C.UTF-8")
    with tempfile.TemporaryFile() as output:
        subprocess.run(["wine", str(build_dir / "tests" / "e2e" / "kill_after.exe"), str(int(seconds * 1000)),
                        str(build_dir / "app" / "ordnerlink.com"), *args], env=env, stdout=output,
                       stderr=subprocess.DEVNULL, timeout=120, check=True)
        output.seek(0)
        out = output.read().decode()
    return out.startswith("killed"), int(out.split()[-1]) / 1000


def moments(build_dir, duration):
    """When to end a run: spread evenly over the part of it that is the
    program's own, then at random. Before that, Wine is still starting the
    process: a kill there tests Wine's loader, not the program, and can leave
    Wine's own processes half-started for the next run to wait on."""
    started = timed(build_dir, "/?")  # a run that does nothing but start and print
    own = max(duration - started, 0.01)
    count = min(KILLS, 5)
    spread = [started + own * (k + 0.5) / count for k in range(count)]
    return spread + [started + random.uniform(0.0, 1.0) * own for _ in range(KILLS - count)]


def timed(build_dir, *args):
    """How long a whole run of args takes once it has started."""
    return kill_after(build_dir, 120, *args)[1]


def whole_links(folder, ordnerlink):
    """The whole folder links in folder, by name, with their sources as /list
    reads them: marked System, with our desktop.ini hidden and a hidden
    target.lnk."""
    found = {}
    for line in ordnerlink("/list", windows_path(folder)).out.splitlines():
        source, target = line.split("\t")
        link = folder / target.rsplit("\\", 1)[-1]
        if (dos_attributes(link) & SYSTEM and (link / "desktop.ini").read_bytes() == DESKTOP_INI
                and dos_attributes(link / "desktop.ini") == HIDDEN | SYSTEM
                and dos_attributes(link / "target.lnk") == HIDDEN):
            found[link.name] = source
    return found


def half_made(folder):
    """Entries that are neither ordinary folders nor carry both files."""
    return [p.name for p in folder.iterdir()
            if p.is_dir() and (dos_attributes(p) & SYSTEM or (p / "desktop.ini").exists() or
                               (p / "target.lnk").exists())
            and not ((p / "desktop.ini").exists() and (p / "target.lnk").exists())]


def count(command, killed, half):
    seen = figures.setdefault(command, {"kills": 0, "ended before the kill": 0, "half-made found": 0})
    seen["kills" if killed else "ended before the kill"] += 1
    seen["half-made found"] += len(half)


@pytest.fixture(scope="module", autouse=True)
def keep_figures(build_dir):
    yield
    kept = build_dir / "test-results" / "interrupted-runs.txt"
    kept.parent.mkdir(exist_ok=True)
    kept.write_text("".join(f"{command}: " + ", ".join(f"{v} {k}" for k, v in seen.items()) + "\n"
                            for command, seen in figures.items()))


@pytest.fixture
def sources(work_folder):
    for name in NAMES:
        (work_folder / "quelle" / name).mkdir(parents=True)
        (work_folder / "quelle2" / name).mkdir(parents=True)


def users_folders(folder):
    for name in (USERS_FOLDER, LISTED_USERS_FOLDER):
        (folder / name).mkdir()
        (folder / name / "notiz.txt").write_bytes(b"meins")
    return {name: snapshot(folder / name) for name in (USERS_FOLDER, LISTED_USERS_FOLDER)}


def test_sync_cut_short_at_any_moment(build_dir, ordnerlink, work_folder, sources):
    folder = work_folder / "Netz"
    folder.mkdir()
    users = users_folders(folder)
    listed = work_folder / "links.txt"
    subprocess.run(["wine", "reg", "delete", "HKCU\\Software\\Ordnerlink\\Sync", "/f"], capture_output=True)

    def write(name):
        # The listed folder the user keeps entries in is refused at every run.
        users_line = [("C:\\e2e\\quelle\\Ablage 01", LISTED_USERS_FOLDER)] if name == "all" else []
        write_list(listed, [f"{s}\t{n}" for s, n in LISTS[name] + users_line], folder)

    sync = ("/sync", windows_path(listed), windows_path(folder))
    durations = {}
    for name in LISTS:
        write(name)
        durations[name] = timed(build_dir, *sync)
    at = {name: moments(build_dir, duration) for name, duration in durations.items()}
    for k in range(KILLS):
        name = ("all", "few")[k % 2]
        write(name)
        moment = at[name][k]
        killed, _ = kill_after(build_dir, moment, *sync)
        count("/sync", killed, half_made(folder))
        whole = ordnerlink(*sync)
        assert whole.code == (1 if name == "all" else 0), whole.out + whole.err
        links = {n: s for s, n in LISTS[name]}
        assert sorted(p.name for p in folder.iterdir()) == sorted([*links, *users]), (moment, whole.out + whole.err)
        assert whole_links(folder, ordnerlink) == links, (moment, whole.out + whole.err)
        assert {n: snapshot(folder / n) for n in users} == users, moment
        assert recorded_names(folder) == sorted(links), moment


def test_create_from_cut_short_at_any_moment(build_dir, ordnerlink, work_folder, sources):
    folder = work_folder / "Erstellt"
    listed = work_folder / "links.txt"
    write_list(listed, [f"{s}\t{windows_path(folder)}\\{n}" for s, n in LISTS["all"]], folder)
    create = ("/create", "/from", windows_path(listed))
    duration = timed(build_dir, *create)
    for moment in moments(build_dir, duration):
        shutil.rmtree(folder, ignore_errors=True)
        killed, _ = kill_after(build_dir, moment, *create)
        count("/create /from", killed, half_made(folder) if folder.exists() else [])
        whole = ordnerlink(*create)
        assert whole.code == 0, (moment, whole.out + whole.err)
        assert whole_links(folder, ordnerlink) == {n: s for s, n in LISTS["all"]}, moment


def test_repair_all_cut_short_at_any_moment(build_dir, ordnerlink, work_folder, sources):
    folder = work_folder / "Kaputt"
    listed = work_folder / "links.txt"
    write_list(listed, [f"{s}\t{windows_path(folder)}\\{n}" for s, n in LISTS["all"]], folder)
    assert ordnerlink("/create", "/from", windows_path(listed)).code == 0
    users = users_folders(folder)

    def damage():
        for _, name in LISTS["all"]:
            set_dos_attributes(folder / name / "desktop.ini", 0)
            set_dos_attributes(folder / name / "target.lnk", 0)

    damage()
    repair = ("/repair", "/all", windows_path(folder))
    duration = timed(build_dir, *repair)
    for moment in moments(build_dir, duration):
        damage()
        killed, _ = kill_after(build_dir, moment, *repair)
        count("/repair /all", killed, half_made(folder))
        whole = ordnerlink(*repair)
        assert whole.code == 0, (moment, whole.out + whole.err)
        assert whole_links(folder, ordnerlink) == {n: s for s, n in LISTS["all"]}, moment
        assert {n: snapshot(folder / n) for n in users} == users, moment


# What another program holding a file open without sharing does to a run:
# (the command, the file held, what the refusal names).
HELD_FILES = {
    "a list file": (lambda list_file, link: ("/sync", list_file, "C:\\e2e\\Netz"), "links.txt"),
    "a desktop.ini": (lambda list_file, link: ("/repair", link), "desktop.ini"),
}


@pytest.mark.parametrize("case", HELD_FILES)
def test_a_file_held_by_another_program(build_dir, ordnerlink, work_folder, sources, case):
    folder = work_folder / "Netz"
    folder.mkdir()
    listed = work_folder / "links.txt"
    write_list(listed, [f"{s}\t{n}" for s, n in LISTS["few"]], folder)
    link = folder / "Ablage 01"
    assert ordnerlink("/create", LISTS["few"][0][0], windows_path(link)).code == 0
    set_dos_attributes(link / "desktop.ini", 0)
    command, held_name = HELD_FILES[case]
    held = listed if held_name == "links.txt" else link / "desktop.ini"
    before = {p.name: snapshot(p) for p in folder.iterdir()}
    holder = subprocess.Popen(["wine", str(build_dir / "tests" / "e2e" / "hold_file.exe"), windows_path(held)],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    try:
        assert holder.stdout.readline().strip() == b"held"
        result = ordnerlink(*command(windows_path(listed), windows_path(link)))
    finally:
        holder.stdin.close()
        holder.wait(timeout=60)
    assert result.code == 1, result.out + result.err
    assert held_name in result.err and "verwendet" in result.err, result.err
    assert {p.name: snapshot(p) for p in folder.iterdir()} == before
    assert wait_until(lambda: ordnerlink("/show", windows_path(link)).code == 0)
