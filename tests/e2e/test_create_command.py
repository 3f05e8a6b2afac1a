"""The Create command with unusual input, on real folders: what it refuses,
what it asks, how it reports a failure, and where the cursor waits after a
box."""
from conftest import (CREATE_BUTTON, INCOMPLETE, MAIN_TITLE, SOURCE_FIELD, TARGET_FIELD,
                      answer_message_box, fill, message_boxes, replace_line, run, wait_until)

NOT_CREATED = "Ordnerverknüpfung nicht erstellt"
NOT_EMPTY = "Ordner ist nicht leer"
REPLACE = "Ordnerverknüpfung ersetzen"


def main_window_texts(app):
    return next(w for w in app.windows() if w[0] == MAIN_TITLE)


def box_text(app, title):
    """The texts of the box titled title, one string; fails when none opens."""
    boxes = message_boxes(app, title)
    assert boxes, f"no box titled {title!r}"
    return "\n".join(boxes[0][1:])


def test_blank_input_is_missing_input_and_the_cursor_waits_in_its_line(app, work_folder):
    replace_line(app, SOURCE_FIELD, "   ")
    app.click(*CREATE_BUTTON)
    assert "Kein Quellpfad angegeben !" in box_text(app, INCOMPLETE)
    answer_message_box(app, INCOMPLETE)
    app.type("Q")
    assert "   Q" in main_window_texts(app)

    replace_line(app, SOURCE_FIELD, r"\\srv\share")
    replace_line(app, TARGET_FIELD, "  ")
    app.click(*CREATE_BUTTON)
    assert "Kein Zielpfad angegeben !" in box_text(app, INCOMPLETE)
    answer_message_box(app, INCOMPLETE)
    app.type("Z")
    assert "  Z" in main_window_texts(app)
    assert list(work_folder.iterdir()) == []


def test_typed_paths_are_read_as_the_user_means_them(app, work_folder):
    (work_folder / "daten").mkdir()
    # Quotes as Explorer's "copy as path" gives them, a ".." and a trailing "/".
    fill(app, '  "C:\\e2e\\daten"  ', r"C:\e2e\a\..\ziel/")
    app.click(*CREATE_BUTTON)
    link = work_folder / "ziel" / "target.lnk"
    assert wait_until(link.exists)
    assert ": C:\\e2e\\daten\n" in run("lnkinfo", str(link)).stdout
    assert sorted(p.name for p in work_folder.iterdir()) == ["daten", "ziel"]
    # A complete link is never reported as a failure.
    assert [w for w in app.windows() if w[0] != MAIN_TITLE] == []


def test_what_must_never_become_a_folder_link_is_refused_before_any_change(app, work_folder):
    (work_folder / "gleich").mkdir()
    (work_folder / "mit-ini" / "desktop.ini").mkdir(parents=True)
    cases = [
        (r"C:\e2e\gleich", r"c:\e2e\GLEICH\\", "Quelle und Ziel sind derselbe Ordner"),
        (r"\\srv\a", r"vorhanden\ziel", "ist kein vollständiger Pfad"),
        (r"\\srv\a", "C:\\", "ein ganzes Laufwerk"),
        (r"\\srv\a", r"C:\windows", "ist ein Ordner des Systems"),
        (r"\\srv\a", r"C:\users\Public", "ist ein Ordner des Systems"),
        (r"\\srv\a", r"C:\e2e\mit-ini", "einen Unterordner „desktop.ini“"),
        (r"\\srv\a", r"C:\e2e\neu\tief\a<b", "„a<b“ ist nicht erlaubt"),
    ]
    for source, target, reason in cases:
        replace_line(app, SOURCE_FIELD, source)
        replace_line(app, TARGET_FIELD, target)
        app.click(*CREATE_BUTTON)
        assert reason in box_text(app, NOT_CREATED), target
        answer_message_box(app, NOT_CREATED)
    assert sorted(p.name for p in work_folder.iterdir()) == ["gleich", "mit-ini"]
    assert [p.name for p in (work_folder / "gleich").iterdir()] == []
    assert run("getfattr", "-n", "user.DOSATTRIB", str(work_folder / "gleich"), check=False).returncode != 0


def test_a_desktop_ini_of_the_users_own_is_replaced_only_after_asking(app, work_folder):
    folder = work_folder / "Symbol"
    folder.mkdir()
    own_ini = b"[.ShellClassInfo]\r\nIconResource=C:\\icons\\ordner.ico,0\r\n"
    (folder / "desktop.ini").write_bytes(own_ini)
    fill(app, r"\\srv\a", r"C:\e2e\Symbol")
    app.click(*CREATE_BUTTON)
    assert "desktop.ini" in box_text(app, NOT_EMPTY)
    answer_message_box(app, NOT_EMPTY)  # No is the default answer
    assert [p.name for p in folder.iterdir()] == ["desktop.ini"]
    assert (folder / "desktop.ini").read_bytes() == own_ini


def test_a_link_pointing_elsewhere_is_replaced_only_after_asking(app, work_folder):
    fill(app, r"\\srv\alt", r"C:\e2e\Link")
    app.click(*CREATE_BUTTON)
    link = work_folder / "Link" / "target.lnk"
    assert wait_until(link.exists)
    # The same source again asks nothing.
    app.click(*CREATE_BUTTON)
    assert not app.wait_for_windows(lambda w: w[0] != MAIN_TITLE, timeout=3)
    old_link = link.read_bytes()

    replace_line(app, SOURCE_FIELD, r"\\srv\neu")
    app.click(*CREATE_BUTTON)
    text = box_text(app, REPLACE)
    assert "ist bereits eine Ordnerverknüpfung auf „\\\\srv\\alt“" in text
    assert "Soll er stattdessen auf „\\\\srv\\neu“ zeigen?" in text
    answer_message_box(app, REPLACE)  # No is the default answer
    assert link.read_bytes() == old_link

    app.click(*CREATE_BUTTON)
    answer_message_box(app, REPLACE, keys=("shift+Tab", "Return"))  # Yes
    assert wait_until(lambda: r"\\srv\neu" in run("lnkinfo", str(link)).stdout)


def test_a_failure_names_its_cause_and_what_is_left(app, work_folder):
    fill(app, r"\\srv\share", r"Q:\nirgends\Ziel")  # no drive Q: in the prefix
    app.click(*CREATE_BUTTON)
    text = box_text(app, NOT_CREATED)
    assert "Die Ordnerverknüpfung „Q:\\nirgends\\Ziel“ konnte nicht erstellt werden." in text
    assert "Fehlgeschlagen: Ordner anlegen" in text
    cause = text.split("Ursache: ", 1)[1].split("\n", 1)[0]
    # Windows says the path is not found; Wine says the file is not.
    assert cause in ("Pfad nicht gefunden", "Datei nicht gefunden", "Das Laufwerk gibt es nicht"), text
    assert "Auf dem Datenträger ist nichts davon geblieben." in text
    answer_message_box(app, NOT_CREATED)

    # A path too long for the screen is shortened in its middle.
    long_target = "Q:\\" + "\\".join(f"verzeichnis{n:02}" for n in range(12))
    replace_line(app, TARGET_FIELD, long_target)
    app.click(*CREATE_BUTTON)
    text = box_text(app, NOT_CREATED)
    assert "„Q:\\verzeichnis00\\verzeichnis01\\ver...nis09\\verzeichnis10\\verzeichnis11“" in text
    assert long_target not in text
    app.screenshot("failure-long-path")
    answer_message_box(app, NOT_CREATED)
