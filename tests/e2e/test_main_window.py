"""The program as a user meets it: type a source and a target, press
"Erstellen", read the message boxes, close the window."""
import time

from conftest import (CLOSE_BUTTON, CREATE_BUTTON, DESKTOP_INI, INCOMPLETE, MAIN_TITLE, answer_message_box,
                      dos_attributes, fill, message_box_body_drawn, message_boxes, run, wait_until, window_text)

def test_typed_paths_become_a_folder_link(app, work_folder):
    app.screenshot("main-window")
    fill(app, r"\\srv\share\docs", r"C:\e2e\Links\Docs")
    app.click(*CREATE_BUTTON)

    folder = work_folder / "Links" / "Docs"
    wait_until((folder / "target.lnk").exists)
    assert sorted(p.name for p in folder.iterdir()) == ["desktop.ini", "target.lnk"]
    assert (folder / "desktop.ini").read_bytes() == DESKTOP_INI
    assert dos_attributes(folder) == 0x4
    assert dos_attributes(folder / "desktop.ini") == 0x6
    assert dos_attributes(folder / "target.lnk") == 0x2
    link = run("lnkinfo", str(folder / "target.lnk")).stdout
    assert r"\\srv\share" in link and "docs" in link
    # Success is silent and leaves both lines as they were.
    assert [w for w in app.windows() if w[0] != MAIN_TITLE] == []
    texts = [w for w in app.windows() if w[0] == MAIN_TITLE][0]
    assert r"\\srv\share\docs" in texts and r"C:\e2e\Links\Docs" in texts

    # Pressing it again repeats the creation on the same folder, asking nothing.
    (folder / "target.lnk").unlink()
    app.click(*CREATE_BUTTON)
    wait_until((folder / "target.lnk").exists)
    assert (folder / "target.lnk").exists()
    assert [w for w in app.windows() if w[0] != MAIN_TITLE] == []


def test_missing_source_or_target_is_reported(app, work_folder):
    app.click(*CREATE_BUTTON)
    boxes = message_boxes(app, INCOMPLETE)
    assert len(boxes) == 1 and "Kein Quellpfad angegeben !" in boxes[0]
    assert message_box_body_drawn(app, INCOMPLETE), "the box's body is black on the screen"
    app.screenshot("missing-source")
    answer_message_box(app, INCOMPLETE)

    fill(app, r"C:\e2e\quelle", "")
    app.click(*CREATE_BUTTON)
    boxes = message_boxes(app, INCOMPLETE)
    assert len(boxes) == 1 and "Kein Zielpfad angegeben !" in boxes[0]
    answer_message_box(app, INCOMPLETE)
    assert list(work_folder.iterdir()) == []


def test_enter_and_escape_do_not_act_on_the_window(app, work_folder):
    fill(app, r"\\srv\share", r"C:\e2e\Enter")
    app.key("Return")
    app.key("Escape")
    time.sleep(1)
    assert not (work_folder / "Enter").exists()
    assert app.process.poll() is None


def test_a_folder_with_content_is_only_linked_after_asking(app, work_folder):
    target = work_folder / "Fotos"
    target.mkdir()
    (target / "urlaub.jpg").write_bytes(b"jpeg")
    fill(app, r"\\srv\fotos", r"C:\e2e\Fotos")
    app.click(*CREATE_BUTTON)
    question = app.wait_for_windows(lambda w: w[0] == "Ordner ist nicht leer")
    assert question and any("Fotos" in text for text in question[0])
    app.screenshot("folder-not-empty")
    answer_message_box(app, "Ordner ist nicht leer")  # No is the default answer
    assert sorted(p.name for p in target.iterdir()) == ["urlaub.jpg"]

    app.click(*CREATE_BUTTON)
    answer_message_box(app, "Ordner ist nicht leer", keys=("shift+Tab", "Return"))  # Yes
    wait_until((target / "target.lnk").exists)
    assert sorted(p.name for p in target.iterdir()) == ["desktop.ini", "target.lnk", "urlaub.jpg"]


def test_schliessen_ends_the_program(app):
    app.click(*CLOSE_BUTTON)
    assert app.wait_exit() == 0


def test_the_close_box_ends_the_program(app):
    run("xdotool", "windowactivate", "--sync", app.window, check=False)
    app.key("alt+F4")  # the window manager's close, as its close box sends it
    assert app.wait_exit() == 0


def test_the_system_menu_close_ends_the_program(app):
    # What the system menu's Close command sends to the window.
    window_text(app.build_dir, "--close", MAIN_TITLE)
    assert app.wait_exit() == 0


SOURCE_BROWSE = (452, 37)
TARGET_BROWSE = (452, 61)


def browse_and_confirm(app, button, screenshot=None):
    """Presses a line's browse button and confirms the folder the browser opened at."""
    app.click(*button)
    browser = app.wait_for_windows(lambda w: "W\u00e4hlen Sie ein Verzeichnis :" in w)
    assert browser, "the folder browser did not open with the line's title"
    if screenshot:
        app.screenshot(screenshot)
    answer_message_box(app, browser[0][0])


def test_both_lines_browse_for_folders_and_the_link_is_made(app, work_folder):
    (work_folder / "quelle").mkdir()
    (work_folder / "ziel").mkdir()
    fill(app, r"C:\e2e\quelle", r"C:\e2e\ziel")
    browse_and_confirm(app, SOURCE_BROWSE, screenshot="folder-browser")
    browse_and_confirm(app, TARGET_BROWSE)
    texts = [w for w in app.windows() if w[0] == MAIN_TITLE][0]
    # The chosen folders come back with a trailing "\" in the browser's letter case.
    source = [t for t in texts if t.lower() == "c:\\e2e\\quelle\\"]
    target = [t for t in texts if t.lower() == "c:\\e2e\\ziel\\"]
    assert source and target, texts

    app.click(*CREATE_BUTTON)
    link = work_folder / "ziel" / "target.lnk"
    wait_until(link.exists)
    assert (work_folder / "ziel" / "desktop.ini").read_bytes() == DESKTOP_INI
    # The link holds the source in its recorded form, without the trailing "\".
    assert f": {source[0][:-1]}\n" in run("lnkinfo", str(link)).stdout


def test_the_keyboard_alone_is_enough(app, work_folder):
    # The window opens with the cursor in the source line; Tab reaches each
    # line's field before its browse button, then "Erstellen".
    run("xdotool", "windowactivate", "--sync", app.window, check=False)
    app.type(r"\\srv\tasten")
    app.key("Tab", "Tab")
    app.type(r"C:\e2e\Tasten")
    app.key("Tab", "Tab", "space")
    link = work_folder / "Tasten" / "target.lnk"
    wait_until(link.exists)
    assert r"\\srv\tasten" in run("lnkinfo", str(link)).stdout


def test_the_programs_start_without_the_dlls_they_load_at_first_use(build_dir):
    # Each DLL of the import table is loaded before the program's first line;
    # the file dialogs, the sockets and the masked drawing load at their first
    # use instead.
    for program in ("ordnerlink.exe", "ordnerlink.com"):
        headers = run("x86_64-w64-mingw32-objdump", "-p", str(build_dir / "app" / program)).stdout
        imported = {line.split()[-1].lower() for line in headers.splitlines() if "DLL Name:" in line}
        later = {"comdlg32.dll", "ws2_32.dll", "msimg32.dll"}
        assert "user32.dll" in imported and not imported & later, (program, imported)
