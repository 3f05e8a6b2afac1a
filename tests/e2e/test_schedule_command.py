"""/schedule and /unschedule as an administrator uses them: ordnerlink.com
run under Wine registers the current user's task in the Task Scheduler,
replaces it and removes it (also through /uninstall); the task is read back
through the Task Scheduler's own interface by the task tool.

Wine 8's Task Scheduler keeps a task as its own writer puts it back into
XML, and that writer holds no trigger, no action and no principal's values:
only the registration's description and the settings come back. What Wine
cannot hold is checked in the XML the program hands over, which
/schedule /whatif prints."""
import getpass
import subprocess
import tempfile
import xml.etree.ElementTree as ET

from conftest import end_wine, run
from test_command_mode import ordnerlink

__all__ = ["ordnerlink"]  # the fixture, used by name

# Task names belong to the machine: each user's task carries his SID, the
# one for every user (/allusers) has the name alone.
ALL_USERS_TASK = "Ordnerlink \u2013 Abgleich"
USERS_GROUP = "S-1-5-32-545"
TASK_NS = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}
EVENT_CHANNEL = "Microsoft-Windows-NetworkProfile/Operational"
NETWORK_CONNECTED = ("*[System[Provider[@Name='Microsoft-Windows-NetworkProfile'] and EventID=10000]]")

# The settings every scheduled sync has: never a second copy while one runs,
# at most five minutes, on battery too, never waking the computer.
SETTINGS = {
    "MultipleInstancesPolicy": "IgnoreNew",
    "ExecutionTimeLimit": "PT5M",
    "DisallowStartIfOnBatteries": "false",
    "StopIfGoingOnBatteries": "false",
    "WakeToRun": "false",
}
# Whom it runs as, with the rights of an ordinary process: the user with his
# own token, or each user who logs on (the Users group), the SID standing
# for the current user's.
USER_PRINCIPAL = {"UserId": "SID", "LogonType": "InteractiveToken", "RunLevel": "LeastPrivilege"}
ALL_USERS_PRINCIPAL = {"GroupId": USERS_GROUP, "RunLevel": "LeastPrivilege"}
LOG_FILE = f"C:\\users\\{getpass.getuser()}\\AppData\\Local\\Ordnerlink\\sync.log"

# How /schedule names the list (the program runs in C:\), and the arguments
# the task's action gets: the list with its full path, quoted, the report
# into the log; without a list, the policy's.
LIST_FOLDER = "e2e\\Listen & Co"
# The arguments, the logon trigger's user (SID: the current user's; None:
# anybody's) and the principal.
SCHEDULE_CASES = {
    "relative list": ([f"{LIST_FOLDER}\\links.txt"],
                      f'/sync "C:\\{LIST_FOLDER}\\links.txt" /log:"{LOG_FILE}"', "SID", USER_PRINCIPAL),
    "no list": ([], "/sync /policy", "SID", USER_PRINCIPAL),
    "every user": (["/allusers"], "/sync /policy", None, ALL_USERS_PRINCIPAL),
}


def task_xml(build_dir, name):
    """The task as the Task Scheduler gives it back, or None when there is
    none. Written into a file, not a pipe, as the window-text tool's."""
    with tempfile.TemporaryFile() as output:
        done = subprocess.run(["wine", str(build_dir / "tests" / "e2e" / "task_xml.exe"), name],
                              stdout=output, stderr=subprocess.PIPE, timeout=60)
        assert done.returncode in (0, 1), done.stderr
        output.seek(0)
        return ET.fromstring(output.read().decode("utf-8")) if done.returncode == 0 else None


def texts(element):
    """Each child's tag (without its namespace) and text."""
    return {child.tag.split("}")[1]: (child.text or "").strip() for child in element}


def user_task(ordnerlink):
    """The current user's task name, with the SID the program hands over."""
    task = ET.fromstring(ordnerlink("/schedule", "/whatif").out)
    return f"{ALL_USERS_TASK} ({texts(task.find('t:Principals/t:Principal', TASK_NS))['UserId']})"


def program_path(build_dir):
    return "Z:" + str(build_dir / "app" / "ordnerlink.exe").replace("/", "\\")


def test_schedule_hands_over_logon_and_network_triggers_action_and_principal_that_wine_cannot_hold(
        ordnerlink, build_dir, work_folder):
    ordnerlink("/unschedule")  # nothing left over from an earlier run
    (work_folder / "Listen & Co").mkdir()
    (work_folder / "Listen & Co" / "links.txt").write_text("C:\\windows\tWindows\r\n")
    for case, (args, arguments, logon_user, principal) in SCHEDULE_CASES.items():
        shown = ordnerlink("/schedule", *args, "/whatif")
        assert (shown.code, shown.err) == (0, ""), case
        task = ET.fromstring(shown.out)

        held_principal = texts(task.find("t:Principals/t:Principal", TASK_NS))
        sid = held_principal.get("UserId", "")
        assert sid.startswith("S-1-5-21-") or principal is ALL_USERS_PRINCIPAL, case
        assert held_principal == {k: sid if v == "SID" else v for k, v in principal.items()}, case
        logon = texts(task.find("t:Triggers/t:LogonTrigger", TASK_NS))
        assert logon == ({"UserId": sid} if logon_user else {}) | {"Delay": "PT30S"}, case

        # The event trigger holds its query as text: an event-log query of its own.
        subscription = task.find("t:Triggers/t:EventTrigger/t:Subscription", TASK_NS).text
        query = ET.fromstring(subscription).find("Query")
        assert query.get("Path") == EVENT_CHANNEL, case
        assert (query.find("Select").get("Path"), query.find("Select").text) == (EVENT_CHANNEL,
                                                                                  NETWORK_CONNECTED), case
        assert len(task.find("t:Triggers", TASK_NS)) == 2, case

        assert texts(task.find("t:Settings", TASK_NS)) == SETTINGS, case
        assert texts(task.find("t:Actions/t:Exec", TASK_NS)) == {
            "Command": program_path(build_dir), "Arguments": arguments}, case
        name = ALL_USERS_TASK if principal is ALL_USERS_PRINCIPAL else f"{ALL_USERS_TASK} ({sid})"
        assert task_xml(build_dir, name) is None, f"{case}: /whatif registered the task"
    # Every user's task runs what the policy names, never one list for all.
    refused = ordnerlink("/schedule", "/allusers", f"{LIST_FOLDER}\\links.txt")
    assert (refused.code, refused.out) == (2, "") and "SyncList" in refused.err


def test_schedule_registers_and_replaces_the_task_and_unschedule_and_uninstall_remove_it(ordnerlink,
                                                                                       build_dir):
    ordnerlink("/unschedule")  # nothing left over from an earlier run
    ordnerlink("/unschedule", "/allusers")
    name = user_task(ordnerlink)
    for attempt, said in (("first", "Der Abgleich ist eingeplant: "),
                          ("again", "Der Abgleich ist eingeplant (die bisherige Aufgabe ist ersetzt): ")):
        scheduled = ordnerlink("/schedule")
        assert (scheduled.code, scheduled.err) == (0, ""), attempt
        assert scheduled.out.startswith(said) and "/sync /policy" in scheduled.out, attempt
        handed = ET.fromstring(ordnerlink("/schedule", "/whatif").out)
        held = task_xml(build_dir, name)
        assert held is not None, attempt
        # What Wine holds of it is what was handed over: the settings (among
        # Wine's own defaults) and the description. Wine 8 holds no trigger,
        # no action and no principal's values; should a later Wine hold
        # them, they are compared too.
        assert SETTINGS.items() <= texts(held.find("t:Settings", TASK_NS)).items(), attempt
        for part in ("t:RegistrationInfo", "t:Triggers", "t:Actions/t:Exec", "t:Principals/t:Principal"):
            if len(held.find(part, TASK_NS)):
                assert ET.tostring(held.find(part, TASK_NS)) == ET.tostring(handed.find(part, TASK_NS)), part

    # The task for every user stands beside the user's own; each goes by
    # its own /unschedule.
    assert ordnerlink("/schedule", "/allusers").code == 0
    assert task_xml(build_dir, ALL_USERS_TASK) is not None
    removed = ordnerlink("/unschedule")
    assert (removed.code, removed.err) == (0, "")
    assert removed.out == (f"Die Aufgabe \u201e{name}\u201c ist entfernt; der Abgleich "
                           "l\u00e4uft nicht mehr von selbst.\n")
    assert task_xml(build_dir, name) is None
    assert task_xml(build_dir, ALL_USERS_TASK) is not None
    again = ordnerlink("/unschedule")
    assert (again.code, again.out, again.err) == (
        0, "Der Abgleich war nicht eingeplant; nichts wurde ge\u00e4ndert.\n", "")
    assert ordnerlink("/unschedule", "/allusers").code == 0
    assert task_xml(build_dir, ALL_USERS_TASK) is None

    # /uninstall takes the task with it, even where Ordnerlink was never installed.
    assert ordnerlink("/schedule").code == 0
    uninstalled = ordnerlink("/uninstall")
    assert uninstalled.code == 0, uninstalled.err
    assert task_xml(build_dir, name) is None


def test_a_task_scheduler_that_does_not_run_is_named_and_nothing_is_registered(ordnerlink, build_dir):
    name = user_task(ordnerlink)
    # Wine starts its Task Scheduler service when it is first asked; a
    # disabled one does not start, as on a Windows where it is disabled.
    service = r"HKLM\System\CurrentControlSet\Services\Schedule"
    start = run("wine", "reg", "query", service, "/v", "Start").stdout.split()[-1]
    run("wine", "reg", "add", service, "/v", "Start", "/t", "REG_DWORD", "/d", "4", "/f")
    end_wine()
    try:
        for args, outcome in ((["/schedule"], "Der Abgleich ist nicht eingeplant."),
                              (["/unschedule"], f"Die Aufgabe \u201e{name}\u201c ist nicht entfernt.")):
            failed = ordnerlink(*args)
            assert (failed.code, failed.out) == (1, ""), args
            assert failed.err == (f"{outcome} Fehlgeschlagen: die Aufgabenplanung von Windows erreichen (Der "
                                  "Dienst \u201eAufgabenplanung\u201c l\u00e4uft nicht, 0x80041315).\n"), args
    finally:
        run("wine", "reg", "add", service, "/v", "Start", "/t", "REG_DWORD", "/d", str(int(start, 16)), "/f")
        end_wine()
    assert task_xml(build_dir, name) is None
