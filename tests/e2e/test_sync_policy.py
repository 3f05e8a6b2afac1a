"""/sync without a list, run by the policy an administrator sets under
Software\\Policies\\Ordnerlink in either hive, and the administrative
templates that set it: both read against one table of the values."""
import pathlib
import xml.etree.ElementTree as ElementTree

from conftest import run
from test_command_mode import make_link_by_hand, ordnerlink, windows_path
from test_sync_command import RECORD_KEY, write_list
from windows_links import WIN10_UNC_SHARE

__all__ = ["ordnerlink"]  # the fixture, used by name

POLICY_KEY = "Software\\Policies\\Ordnerlink"
HIVES = ("HKLM", "HKCU")
# The values the program reads and the type Group Policy writes each with.
POLICY_VALUES = {"SyncList": "REG_EXPAND_SZ", "SyncFolder": "REG_EXPAND_SZ", "Prune": "REG_DWORD",
                 "LogFile": "REG_EXPAND_SZ"}
TEMPLATES = pathlib.Path(__file__).resolve().parents[2] / "policy"
NAMESPACE = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}


def template_values():
    """Each value the ADMX sets: its name, key, type, and the class of its policy."""
    found = {}
    for policy in ElementTree.parse(TEMPLATES / "Ordnerlink.admx").getroot().iterfind(".//p:policy", NAMESPACE):
        if policy.get("valueName"):
            assert policy.find("p:enabledValue/p:decimal", NAMESPACE) is not None, policy.get("name")
            found[policy.get("valueName")] = (policy.get("key"), "REG_DWORD", policy.get("class"))
        for text in policy.iterfind("p:elements/p:text", NAMESPACE):
            found[text.get("valueName")] = (policy.get("key"), "REG_EXPAND_SZ" if text.get("expandable") == "true"
                                            else "REG_SZ", policy.get("class"))
    return found


def test_the_templates_describe_what_the_program_reads():
    assert template_values() == {name: (POLICY_KEY, kind, "Both") for name, kind in POLICY_VALUES.items()}
    admx = (TEMPLATES / "Ordnerlink.admx").read_text(encoding="utf-8")
    for language in ("de-DE", "en-US"):
        adml = ElementTree.parse(TEMPLATES / language / "Ordnerlink.adml").getroot()
        strings = {s.get("id") for s in adml.iterfind(".//p:stringTable/p:string", NAMESPACE)}
        presentations = {p.get("id") for p in adml.iterfind(".//p:presentationTable/p:presentation", NAMESPACE)}
        for kind, ids in (("string", strings), ("presentation", presentations)):
            for used in set(part.split(")")[0] for part in admx.split(f"$({kind}.")[1:]):
                assert used in ids, (language, kind, used)


def set_policy(hive, name, value, kind=None):
    run("wine", "reg", "add", f"{hive}\\{POLICY_KEY}", "/v", name, "/t", kind or POLICY_VALUES[name], "/d",
        str(value), "/f")


def clear_policy():
    for hive in HIVES:
        run("wine", "reg", "delete", f"{hive}\\{POLICY_KEY}", "/f", check=False)


def names_in(folder):
    return sorted(p.name for p in folder.iterdir()) if folder.exists() else []


def test_sync_runs_by_the_policy_value_by_value(ordnerlink, work_folder):
    folder = work_folder / "Netz"
    make_link_by_hand(folder / "Eigene", WIN10_UNC_SHARE)
    machine_list, user_list = work_folder / "rechner.txt", work_folder / "benutzer.txt"
    write_list(machine_list, ["\\\\srv\\a\tA"], folder)
    write_list(user_list, ["\\\\srv\\b\tB"], folder)
    clear_policy()
    run("wine", "reg", "delete", RECORD_KEY, "/f", check=False)
    user = run("wine", "cmd", "/c", "echo %USERNAME%").stdout.strip()
    try:
        # No policy: a wrong call that names it; with /policy nothing at all.
        missing = ordnerlink("/sync")
        assert (missing.code, missing.out) == (2, "") and "SyncList" in missing.err, missing.err
        silent = ordnerlink("/sync", "/policy")
        assert (silent.code, silent.out, silent.err) == (0, "", "")

        # The machine's value wins value by value; the user's fills the gaps.
        set_policy("HKLM", "SyncList", "%SystemDrive%\\e2e\\rechner.txt")
        set_policy("HKCU", "SyncList", windows_path(user_list), "REG_SZ")
        set_policy("HKCU", "SyncFolder", windows_path(folder))
        set_policy("HKLM", "Prune", 0)
        set_policy("HKCU", "Prune", 1)
        set_policy("HKLM", "LogFile", "C:\\e2e\\Protokolle\\%USERNAME%.log")
        set_policy("HKCU", "LogFile", "C:\\e2e\\benutzer.log")
        synced = ordnerlink("/sync", "/policy")
        assert (synced.code, synced.err) == (0, ""), synced.err
        assert names_in(folder) == ["A", "Eigene"]
        log = work_folder / "Protokolle" / f"{user}.log"
        assert "(aus der Richtlinie)" in log.read_bytes().decode("utf-8")
        assert not (work_folder / "benutzer.log").exists()

        # A list on the command line takes none of the policy's values.
        other = work_folder / "Anderswo"
        assert ordnerlink("/sync", windows_path(user_list), windows_path(other)).code == 0
        assert (names_in(other), names_in(folder)) == (["B"], ["A", "Eigene"])
        assert names_in(work_folder / "Protokolle") == [log.name]

        # Without the machine's Prune the user's removes the unlisted link.
        run("wine", "reg", "delete", f"HKLM\\{POLICY_KEY}", "/v", "Prune", "/f")
        assert ordnerlink("/sync").code == 0
        assert names_in(folder) == ["A"]

        # A value of another type is named, and nothing is done.
        set_policy("HKLM", "SyncFolder", "1", "REG_DWORD")
        broken = ordnerlink("/sync", "/policy")
        assert broken.code == 1 and "SyncFolder" in broken.err, broken.err
    finally:
        clear_policy()
        run("wine", "reg", "delete", RECORD_KEY, "/f", check=False)
