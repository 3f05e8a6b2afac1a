"""The Windows Installer packages from scripts/package.sh: what their tables
promise, each flavour installed, upgraded, refused and removed by Wine's
msiexec in a fresh prefix of its own, the one-installation rule between the
packages and /install, and the signatures made with a throw-away
certificate."""
import os
import pathlib
import re
import shutil
import subprocess
import xml.etree.ElementTree as ElementTree
import zipfile

import pytest

from conftest import run
from test_schedule_command import ALL_USERS_TASK, task_xml

ROOT = pathlib.Path(__file__).resolve().parents[2]
VERSION = re.search(r"^project\(Ordnerlink VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text(), re.M)[1]
NEWER = ".".join(VERSION.split(".")[:2] + [str(int(VERSION.split(".")[2]) + 1)])

# Windows Installer's "installation failed" (a launch condition, an older
# package) is 1603; a Linux exit status keeps its lowest byte, 67.
INSTALL_FAILED = 1603 & 0xFF

ZIP_ENTRIES = ["ordnerlink.exe", "ordnerlink.com", "LIESMICH.txt", "PolicyDefinitions/Ordnerlink.admx",
               "PolicyDefinitions/de-DE/Ordnerlink.adml", "PolicyDefinitions/en-US/Ordnerlink.adml"]
POLICY_KEY = r"Software\Policies\Ordnerlink"
START_MENU_ENTRIES = {"Ordnerlink.lnk": None, "Ordnerverknüpfungen verwalten.lnk": "/manage"}
# Whether the flavour registers the sync for every user who logs on.
SYNC_FOR_EVERY_USER = {"Benutzer": False, "Computer": True}
# How the machine's package does it, as action, type and command: the
# installed program, in the installation's script without impersonation,
# registers the task (its failure fails the installation) and removes it
# with the package and on a rollback (type 3410: wixl writes a rollback
# action as an immediate one, package.sh sets its type).
MACHINE_CUSTOM_ACTIONS = {("ScheduleSyncForEveryUser", "3090", "/schedule /allusers"),
                          ("UnscheduleSyncOnRollback", "3410", "/unschedule /allusers"),
                          ("UnscheduleSyncForEveryUser", "3154", "/unschedule /allusers")}

# Per flavour: the file name, the registry file of the prefix its keys
# land in (user.reg: HKCU, system.reg: HKLM), the program folder in drive_c
# ("*": the user's profile), and the PATH value's key and name there.
FLAVOURS = {
    "Benutzer": ("Ordnerlink-{}-Benutzer.msi", "user.reg", "users/*/AppData/Local/Programs/Ordnerlink",
                 "Environment", '"Path"'),
    "Computer": ("Ordnerlink-{}.msi", "system.reg", "Program Files/Ordnerlink",
                 r"System\\CurrentControlSet\\Control\\Session Manager\\Environment", '"PATH"'),
}

# What Windows Installer and Wine write of their own, left out where a
# prefix is compared with its state before: Windows Installer keeps its
# (then empty) bookkeeping keys and folders, Wine's start rewrites its
# devices' keys, and Wine's Task Scheduler service, started on demand until
# the first task is registered, starts with Wine from then on (Windows'
# always runs).
OWN_KEYS = (r"Software\\Microsoft\\Installer", r"Software\\Classes\\Installer",
            r"Software\\Microsoft\\Windows\\CurrentVersion\\Installer",
            r"Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
            r"System\\CurrentControlSet\\Control\\Class", r"System\\CurrentControlSet\\Enum",
            r"System\\CurrentControlSet\\Control\\Video", r"Hardware\\",
            r"System\\CurrentControlSet\\Services\\Schedule")
OWN_FOLDERS = ("windows/Installer", "AppData/Roaming/Microsoft/Installer")
# Windows always has the user's classes key; in a Wine prefix it is a key
# like any other, which Wine's msiexec deletes once the removal left it
# empty. Left out when it is empty.
ALWAYS_THERE = (r"Software\\Classes",)


def package_sh(*args, env=None):
    done = subprocess.run([str(ROOT / "scripts" / "package.sh"), *args], cwd=ROOT, env=env, capture_output=True,
                          text=True, timeout=600)
    assert done.returncode == 0, done.stderr
    return done.stdout


@pytest.fixture(scope="session")
def packages(build_dir):
    """The zip and both packages of the project's version, and of the next
    one, built once from the test build's programs: {version: folder}, and
    the first run's output."""
    folders = {version: build_dir / "packages" / version for version in (VERSION, NEWER)}
    said = package_sh("--from", str(build_dir), "--output", str(folders[VERSION]))
    package_sh("--from", str(build_dir), "--output", str(folders[NEWER]), "--version", NEWER)
    return folders, said


def msi_table(msi, table):
    """A table as msiinfo exports it: its rows as tuples, after the three header lines."""
    out = run("msiinfo", "export", str(msi), table).stdout
    return [tuple(line.split("\t")) for line in out.splitlines()[3:]]


def word_count(msi):
    return int(re.search(r"^Source: (\d+)", run("msiinfo", "suminfo", str(msi)).stdout, re.M)[1])


def test_packages_hold_what_they_promise(packages):
    folders, said = packages
    assert "unsigned" in said
    folder = folders[VERSION]
    with zipfile.ZipFile(folder / f"Ordnerlink-{VERSION}.zip") as archive:
        assert sorted(archive.namelist()) == sorted(ZIP_ENTRIES)
        for name in ZIP_ENTRIES[3:]:
            text = archive.read(name).decode("utf-8")
            ElementTree.fromstring(text)  # well-formed
            if name.endswith(".admx"):
                assert f'key="{POLICY_KEY}"' in text

    upgrade_codes = set()
    for flavour, (name, *_) in FLAVOURS.items():
        msi = folder / name.format(VERSION)
        properties = dict(msi_table(msi, "Property"))
        assert (properties["ProductName"], properties["Manufacturer"], properties["ProductVersion"]) == (
            "Ordnerlink", "Ordnerlink", VERSION), flavour
        upgrade_codes.add(properties["UpgradeCode"])
        components = msi_table(msi, "Component")
        if flavour == "Benutzer":
            # Wine runs every program as an administrator: the package's
            # "no elevation" is read from its tables. Word count bit 8:
            # elevated privileges are not required; no ALLUSERS: per user.
            assert word_count(msi) & 8 and "ALLUSERS" not in properties
        else:
            assert not word_count(msi) & 8 and properties["ALLUSERS"] == "1"
            # 64-bit components: their registry values land in the 64-bit view.
            assert all(int(row[3]) & 256 for row in components), components
        files = {row[2].split("|")[-1] for row in msi_table(msi, "File")}
        assert files == {entry.split("/")[-1] for entry in ZIP_ENTRIES}
        assert [row[3] for row in msi_table(msi, "Environment")] == ["Registration"]
        assert {(row[0], row[1], row[3]) for row in msi_table(msi, "CustomAction")} == (
            MACHINE_CUSTOM_ACTIONS if SYNC_FOR_EVERY_USER[flavour] else set()), flavour
        conditions = "\n".join(row[1] for row in msi_table(msi, "LaunchCondition"))
        assert "„ordnerlink /uninstall“" in conditions and "Eine neuere Version" in conditions
        # Wine puts the shortcuts of a package for every user into the
        # installing user's Start menu, where Windows puts them into the
        # common one: the tables say which Windows takes.
        assert {row[1] for row in msi_table(msi, "Shortcut")} == {"ProgramMenuFolder"}
    assert len(upgrade_codes) == 2


def test_signed_when_a_certificate_is_given(packages, build_dir, tmp_path):
    folders, _ = packages
    cert, key = tmp_path / "cert.pem", tmp_path / "key.pem"
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Ordnerlink Test",
        "-keyout", str(key), "-out", str(cert))
    env = dict(os.environ, ORDNERLINK_SIGN_CERT=str(cert), ORDNERLINK_SIGN_KEY=str(key))
    said = package_sh("--from", str(build_dir), "--output", str(tmp_path / "signed"), env=env)
    assert "unsigned" not in said
    with zipfile.ZipFile(tmp_path / "signed" / f"Ordnerlink-{VERSION}.zip") as archive:
        archive.extractall(tmp_path / "unpacked", ["ordnerlink.exe", "ordnerlink.com"])
    signed = [tmp_path / "unpacked" / "ordnerlink.exe", tmp_path / "unpacked" / "ordnerlink.com"] + [
        tmp_path / "signed" / name.format(VERSION) for name, *_ in FLAVOURS.values()]

    def verify(path):
        return run("osslsigncode", "verify", "-CAfile", str(cert), "-in", str(path), check=False).returncode

    assert [verify(path) for path in signed] == [0] * 4
    assert verify(folders[VERSION] / FLAVOURS["Computer"][0].format(VERSION)) != 0


def registry(prefix, hive):
    """A registry file of the prefix as {key: lines}, without Wine's time stamps."""
    sections, lines = {}, None
    for line in (prefix / hive).read_text(encoding="utf-8", errors="replace").splitlines():
        if line.startswith("["):
            lines = sections.setdefault(line.split("]")[0][1:], [])
        elif lines is not None and line and not line.startswith("#time="):
            lines.append(line)
    return sections


def snapshot(prefix):
    """The prefix's files and both registry files, once Wine has saved them,
    without what Windows Installer and Wine write of their own. Each time
    Wine takes a package's entry out of the machine's PATH it leaves the ';'
    before it (Windows takes the separator with it): closing ';' are
    ignored."""
    run("wineserver", "-w")
    drive_c = prefix / "drive_c"
    files = {str(p.relative_to(drive_c)) for p in drive_c.rglob("*")
             if not any(own in str(p) for own in OWN_FOLDERS)}
    hives = {}
    for hive in ("user.reg", "system.reg"):
        hives[hive] = {key: [re.sub(r';+"$', '"', line) for line in lines]
                       for key, lines in registry(prefix, hive).items()
                       if not key.startswith(OWN_KEYS) and (lines or key not in ALWAYS_THERE)}
    return files, hives


def changes(before, after):
    """What differs between two snapshots: the files added or gone, and per
    registry key the lines gone and the lines added."""
    files = sorted(before[0] ^ after[0])
    keys = {}
    for hive in before[1]:
        for key in before[1][hive].keys() | after[1][hive].keys():
            was, now = before[1][hive].get(key), after[1][hive].get(key)
            if was != now:
                keys[hive, key] = (sorted(set(was or ["<no key>"]) - set(now or [])),
                                   sorted(set(now or ["<no key>"]) - set(was or [])))
    return files, keys


def verbs(sections, program):
    """Ordnerlink's verbs among registry sections, keyed below Software\\Classes,
    the program's path in them replaced by a name."""
    escaped = program.replace("\\", "\\\\")
    return {key: [line.replace(escaped, "<program>") for line in lines] for key, lines in sections.items()
            if key.startswith(r"Software\\Classes\\") and "Ordnerlink." in key}


@pytest.fixture
def fresh_prefix(build_dir, monkeypatch):
    """A Wine prefix of the test's own, made anew and removed afterwards: a
    package's removal is held against the prefix as it was before."""
    prefix = build_dir / "wineprefix-packages"
    monkeypatch.setenv("WINEPREFIX", str(prefix))
    run("wineserver", "-k", check=False)
    shutil.rmtree(prefix, ignore_errors=True)
    run("wineboot", "-i", timeout=300)
    run("wineserver", "-w", timeout=120)
    yield prefix
    run("wineserver", "-k", check=False)
    run("wineserver", "-w", check=False)
    shutil.rmtree(prefix, ignore_errors=True)


def wine(*args):
    done = subprocess.run(["wine", *map(str, args)], env=dict(os.environ, LC_ALL="C.UTF-8"), capture_output=True,
                          timeout=300)
    return done.returncode, done.stdout.decode("utf-8", "replace") + done.stderr.decode("utf-8", "replace")


def windows_path(prefix, path):
    return "C:\\" + str(path.relative_to(prefix / "drive_c")).replace("/", "\\")


@pytest.mark.parametrize("flavour", FLAVOURS)
def test_package_installs_upgrades_and_goes_without_a_trace(flavour, packages, build_dir, fresh_prefix):
    folders, _ = packages
    name, hive, program_folder, path_key, path_name = FLAVOURS[flavour]
    msi = {version: folders[version] / name.format(version) for version in folders}
    other = folders[VERSION] / next(n for f, (n, *_) in FLAVOURS.items() if f != flavour).format(VERSION)
    built = build_dir / "app" / "ordnerlink.com"

    # The verbs as /register writes them, to hold the package's against.
    assert wine(built, "/register")[0] == 0
    run("wineserver", "-w")
    registered = verbs(registry(fresh_prefix, "user.reg"), "Z:" + str(build_dir / "app" / "ordnerlink.exe")
                       .replace("/", "\\"))
    assert len(registered) == 6, registered
    assert wine(built, "/unregister")[0] == 0

    # Installed with /install for this user, Ordnerlink refuses the package.
    assert wine(built, "/install")[0] == 0
    assert wine("msiexec", "/i", msi[VERSION], "/qn")[0] == INSTALL_FAILED
    assert wine(built, "/uninstall")[0] == 0
    before = snapshot(fresh_prefix)

    assert wine("msiexec", "/i", msi[VERSION], "/qn")[0] == 0
    folder = next((fresh_prefix / "drive_c").glob(program_folder))
    installed = folder / "ordnerlink.exe"
    assert installed.read_bytes() == (build_dir / "app" / "ordnerlink.exe").read_bytes()
    assert f"Ordnerlink {VERSION}" in (folder / "LIESMICH.txt").read_text(encoding="utf-8-sig")
    run("wineserver", "-w")
    sections = registry(fresh_prefix, hive)
    assert verbs(sections, windows_path(fresh_prefix, installed)) == registered
    path = next(line for line in sections[path_key] if line.startswith(path_name + "="))
    assert windows_path(fresh_prefix, folder).replace("\\", "\\\\") + '\\\\"' in path, path
    # Both flavours' entries are in the user's Start menu under Wine (see
    # the tables' test for the machine's).
    start_menu = next((fresh_prefix / "drive_c").glob("users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"))
    for entry, arguments in START_MENU_ENTRIES.items():
        link = run("lnkinfo", str(start_menu / entry)).stdout
        assert windows_path(fresh_prefix, installed) in link, entry
        assert (arguments in link) if arguments else "Command line arguments" not in link, entry

    # The machine's package runs the sync for every user; the task the
    # installed program registered is the one /schedule /allusers hands over.
    task = task_xml(build_dir, ALL_USERS_TASK)
    assert (task is not None) == SYNC_FOR_EVERY_USER[flavour]

    # The package's copy is the package's: /install and /uninstall refuse,
    # and so does the other flavour's package.
    unchanged = snapshot(fresh_prefix)
    copy = folder / "ordnerlink.com"
    for command, said in (("/install", "Windows-Installer-Paket"), ("/uninstall", "msiexec /x {")):
        code, out = wine(copy, command)
        assert code == 1 and said in out, (command, out)
    assert wine("msiexec", "/i", other, "/qn")[0] == INSTALL_FAILED
    assert changes(unchanged, snapshot(fresh_prefix)) == ([], {})

    # A newer package replaces it: one product, the newer files; the older
    # one is refused then.
    assert wine("msiexec", "/i", msi[NEWER], "/qn")[0] == 0
    assert f"Ordnerlink {NEWER}" in (folder / "LIESMICH.txt").read_text(encoding="utf-8-sig")
    assert wine("msiexec", "/i", msi[VERSION], "/qn")[0] == INSTALL_FAILED
    run("wineserver", "-w")
    products = [key for hive_name in ("user.reg", "system.reg")
                for key, lines in registry(fresh_prefix, hive_name).items() if '"ProductName"="Ordnerlink"' in lines]
    assert len(products) == 1, products
    assert f"Ordnerlink {NEWER}" in (folder / "LIESMICH.txt").read_text(encoding="utf-8-sig")

    assert (task_xml(build_dir, ALL_USERS_TASK) is not None) == SYNC_FOR_EVERY_USER[flavour]

    assert wine("msiexec", "/x", msi[NEWER], "/qn")[0] == 0
    assert task_xml(build_dir, ALL_USERS_TASK) is None
    assert changes(before, snapshot(fresh_prefix)) == ([], {})
