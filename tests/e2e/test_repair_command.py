"""/repair on real folders under Wine: a folder of folder links, each damaged
in its own way, put back in order and then read byte for byte; what cannot
be repaired is refused and left as it was; /whatif changes nothing."""
import struct

from test_command_mode import (DESKTOP_INI, HIDDEN, READ_ONLY, SYSTEM, dos_attributes, make_link_by_hand,
                               ordnerlink, set_dos_attributes, snapshot, windows_path)
from windows_links import WIN10_UNC_SHARE

__all__ = ["ordnerlink"]  # the fixture, used by name

SHELL_LINK_CLASS = bytes.fromhex("0114020000000000c000000000000046")
HAS_LINK_INFO, HAS_RELATIVE_PATH, IS_UNICODE = 0x02, 0x08, 0x80
DIRECTORY = 0x10


def link_file(flags, body, attributes=DIRECTORY):
    """A shell link as a program other than Windows' shell may write one:
    the header, the records in body, the terminal block."""
    header = struct.pack("<I16sIIQQQIiIHHII", 0x4C, SHELL_LINK_CLASS, flags, attributes, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                         0)
    return header + body + bytes(4)


def last_item_offset(lnk):
    """Where the last item of the link's ID list starts."""
    at, last = 0x4C + 2, None
    while (size := struct.unpack_from("<H", lnk, at)[0]) != 0:
        last, at = at, at + size
    return last


def share_in_local_base_path(share):
    """LinkInfo that names a share as a local base path, with no network block."""
    volume = struct.pack("<IIII", 0x11, 3, 0, 0x10) + b"\0"
    base = share.encode("ascii") + b"\0"
    start = 0x1C + len(volume)
    info_size = start + len(base) + 1
    info = struct.pack("<IIIIIII", info_size, 0x1C, 1, 0x1C, start, 0, start + len(base))
    return link_file(HAS_LINK_INFO | IS_UNICODE, info + volume + base + b"\0")


def target_only_in_relative_path(relative):
    return link_file(HAS_RELATIVE_PATH | IS_UNICODE,
                     struct.pack("<H", len(relative)) + relative.encode("utf-16-le"))


CHANGES = {
    "folder": "Ordner als Systemordner markiert",
    "ini written": "desktop.ini neu geschrieben",
    "ini hidden": "desktop.ini als versteckte Systemdatei markiert",
    "lnk hidden": "target.lnk versteckt",
    "file item": "target.lnk neu geschrieben (sie zeichnet den Ordner als Datei auf)",
    "no directory attribute": "target.lnk neu geschrieben (sie zeichnet den Ordner ohne das Attribut "
                              "\u201eVerzeichnis\u201c auf)",
    "share as local path": "target.lnk neu geschrieben (sie nennt die Freigabe nur als lokalen Basispfad)",
    "relative path": "target.lnk neu geschrieben (sie nennt ihr Ziel nur als relativen Pfad)",
}

# Each damaged link: its folder's name and the changes /repair reports for it,
# in the order it makes them.
DAMAGED = {
    "Attribut weg": ["folder"],
    "desktop.ini fehlt": ["ini written"],
    "desktop.ini sichtbar": ["ini hidden"],
    "desktop.ini umgeschrieben": ["ini hidden"],
    "desktop.ini ohne Klasse": ["ini written"],
    "target.lnk sichtbar": ["lnk hidden"],
    "Ohne Verzeichnisattribut": ["no directory attribute"],
    "Ordner als Datei": ["file item"],
    "Freigabe als lokaler Pfad": ["share as local path", "ini written"],
    "Nur relativer Pfad": ["relative path", "ini hidden"],
}
WHOLE = ["Heil", "Von Windows"]
# Links /repair /all refuses and leaves as they are, and why.
REFUSED = {
    "Ohne target.lnk": "der Ordner enth\u00e4lt keine target.lnk, die Quelle ist unbekannt. "
                       "Nichts wurde ge\u00e4ndert.",
    # A user's folder that was once a link: marked again, notiz.txt would vanish.
    "Eigene Datei ohne Attribut": "der Ordner ist kein Systemordner mehr und enth\u00e4lt andere Eintr\u00e4ge "
                                  "(\u201enotiz.txt\u201c); als Ordnerverkn\u00fcpfung verschw\u00e4nden sie im "
                                  "Explorer hinter der Quelle. Nichts wurde ge\u00e4ndert. Einzeln mit /repair ZIEL "
                                  "/force wird sie trotzdem repariert.",
}
REWRITTEN_INI = ("\ufeff[.ShellClassInfo]\r\nIconResource=C:\\Windows\\system32\\shell32.dll,4\r\n"
                 "clsid2 = {0afaced1-e828-11d1-9187-b532f1e9575d}\r\n").encode("utf-16-le")
SHARE = "\\\\srv\\projekte\\docs"


def damage(ordnerlink, links, source_folder):
    """Every link of DAMAGED and WHOLE as it is found before the repair, with
    the source each keeps."""
    sources = {}

    def create(name, source):
        made = ordnerlink("/create", source, windows_path(links / name))
        assert made.code == 0, made.err
        sources[name] = source
        return links / name

    for name in ("Attribut weg", "desktop.ini fehlt", "desktop.ini sichtbar",
                 "desktop.ini umgeschrieben", "desktop.ini ohne Klasse", "target.lnk sichtbar",
                 "Eigene Datei ohne Attribut", "Heil"):
        create(name, SHARE)
    set_dos_attributes(links / "Attribut weg", 0)
    (links / "desktop.ini fehlt" / "desktop.ini").unlink()
    set_dos_attributes(links / "desktop.ini sichtbar" / "desktop.ini", 0)
    # A tool that rewrote it in its own form, keeping the class, and left it visible.
    (links / "desktop.ini umgeschrieben" / "desktop.ini").write_bytes(REWRITTEN_INI)
    set_dos_attributes(links / "desktop.ini umgeschrieben" / "desktop.ini", 0)
    # A tool that replaced it with its own, which no longer names the class.
    (links / "desktop.ini ohne Klasse" / "desktop.ini").write_bytes(b"[.ShellClassInfo]\r\nIconResource=x.ico,0\r\n")
    set_dos_attributes(links / "target.lnk sichtbar" / "target.lnk", 0)
    own = links / "Eigene Datei ohne Attribut"
    (own / "notiz.txt").write_bytes(b"meine Notiz\r\n")
    set_dos_attributes(own / "desktop.ini", 0)
    set_dos_attributes(own, 0)

    no_directory = create("Ohne Verzeichnisattribut", str(windows_path(source_folder)))
    lnk = bytearray((no_directory / "target.lnk").read_bytes())
    lnk[0x18:0x1C] = bytes(4)
    (no_directory / "target.lnk").write_bytes(bytes(lnk))

    as_file = create("Ordner als Datei", str(windows_path(source_folder)))
    lnk = bytearray((as_file / "target.lnk").read_bytes())
    lnk[last_item_offset(lnk) + 2] &= ~0x01  # the folder item's type becomes a file item's
    (as_file / "target.lnk").write_bytes(bytes(lnk))

    make_link_by_hand(links / "Freigabe als lokaler Pfad", share_in_local_base_path(SHARE), ini=None)
    sources["Freigabe als lokaler Pfad"] = SHARE
    make_link_by_hand(links / "Nur relativer Pfad", target_only_in_relative_path("..\\..\\Quelle"))
    sources["Nur relativer Pfad"] = windows_path(source_folder)
    # Windows' own network location: Read-only, its files not hidden.
    make_link_by_hand(links / "Von Windows", WIN10_UNC_SHARE, folder_attributes=READ_ONLY)
    sources["Von Windows"] = "\\\\127.0.0.1\\test\\test.txt"
    return sources


def tree(folder):
    return {path.name: snapshot(path) for path in folder.iterdir()}


def test_repair_puts_back_each_damaged_part(ordnerlink, work_folder):
    links = work_folder / "Links"
    source_folder = work_folder / "Quelle"
    source_folder.mkdir()
    sources = damage(ordnerlink, links, source_folder)
    no_lnk = links / "Ohne target.lnk"
    make_link_by_hand(no_lnk, None, folder_attributes=0)
    reference = work_folder / "Referenz"
    assert ordnerlink("/create", SHARE, windows_path(reference)).code == 0

    def lines(out):
        return {line.split("\u201c")[0].split("\u201e")[1]: line for line in out.splitlines()}

    # What /whatif names is exactly what the repair then does, and it changes nothing.
    before = tree(links)
    dry = ordnerlink("/repair", "/all", windows_path(links), "/whatif")
    assert tree(links) == before
    repaired = ordnerlink("/repair", "/all", windows_path(links))
    assert (dry.code, repaired.code) == (1, 1)
    for result, verb in ((dry, "w\u00fcrde repariert"), (repaired, "repariert")):
        shown = lines(result.out)
        for name, changes in DAMAGED.items():
            assert shown.pop(windows_path(links / name)) == (
                f"Ordnerverkn\u00fcpfung \u201e{windows_path(links / name)}\u201c {verb}: "
                + "; ".join(CHANGES[change] for change in changes) + "."), result.out
        assert sorted(shown) == sorted(windows_path(links / name) for name in WHOLE)
        assert all(line.endswith("ist in Ordnung.") for line in shown.values())
        assert result.err.splitlines() == [
            f"Ordnerverkn\u00fcpfung \u201e{windows_path(links / name)}\u201c l\u00e4sst sich nicht reparieren: "
            + why for name, why in sorted(REFUSED.items())]

    after = tree(links)
    for name in DAMAGED:
        folder = links / name
        assert dos_attributes(folder) == SYSTEM, name
        assert (folder / "desktop.ini").read_bytes() == (
            REWRITTEN_INI if name == "desktop.ini umgeschrieben" else DESKTOP_INI), name
        assert dos_attributes(folder / "desktop.ini") == HIDDEN | SYSTEM, name
        assert dos_attributes(folder / "target.lnk") == HIDDEN, name
        assert ordnerlink("/show", windows_path(folder)).out == sources[name] + "\n", name
        lnk = (folder / "target.lnk").read_bytes()
        assert struct.unpack_from("<I", lnk, 0x18)[0] & DIRECTORY, name
        if name in ("Ohne Verzeichnisattribut", "Ordner als Datei"):
            assert lnk[last_item_offset(lnk) + 2] == 0x31, name
    # A share written anew is byte for byte what /create writes for it.
    assert ((links / "Freigabe als lokaler Pfad" / "target.lnk").read_bytes()
            == (reference / "target.lnk").read_bytes())
    for untouched in ("Heil", "Von Windows", *REFUSED):
        assert after[untouched] == before[untouched], untouched

    # A second run finds nothing to do.
    again = ordnerlink("/repair", "/all", windows_path(links))
    assert again.code == 1 and tree(links) == after
    assert all(line.endswith("ist in Ordnung.") for line in again.out.splitlines())
    (links / "Von Windows").chmod(0o755)


# A single /repair: its exit code and where its message goes.
SINGLE = {
    "Heil": (0, "ist in Ordnung."),
    "Ohne target.lnk": (1, "keine target.lnk, die Quelle ist unbekannt"),
    "Kaputte target.lnk": (1, "seine target.lnk nennt keine lesbare Quelle"),
    "Gew\u00f6hnlich": (1, "ist keine Ordnerverkn\u00fcpfung"),
    "Ge\u00f6ffnet": (1, "enth\u00e4lt andere Eintr\u00e4ge (\u201enotiz.txt\u201c); als Ordnerverkn\u00fcpfung "
                      "verschw\u00e4nden sie im Explorer hinter der Quelle. Nichts wurde ge\u00e4ndert. Mit /force "
                      "wird sie trotzdem repariert."),
}


def test_repair_of_one_folder(ordnerlink, work_folder):
    assert ordnerlink("/create", SHARE, windows_path(work_folder / "Heil")).code == 0
    make_link_by_hand(work_folder / "Ohne target.lnk", None)
    make_link_by_hand(work_folder / "Kaputte target.lnk", WIN10_UNC_SHARE[:300])
    (work_folder / "Gew\u00f6hnlich").mkdir()
    (work_folder / "Gew\u00f6hnlich" / "notiz.txt").write_bytes(b"x")
    # A link the user opened (its folder unmarked) and keeps a file in.
    opened = work_folder / "Ge\u00f6ffnet"
    assert ordnerlink("/create", SHARE, windows_path(opened)).code == 0
    set_dos_attributes(opened, 0)
    (opened / "notiz.txt").write_bytes(b"meins")
    before = tree(work_folder)
    for name, (code, text) in SINGLE.items():
        result = ordnerlink("/repair", windows_path(work_folder / name))
        assert result.code == code and text in (result.out if code == 0 else result.err), (name, result.err)
    assert tree(work_folder) == before

    # Only the user who names it and says /force makes it a link again.
    forced = ordnerlink("/repair", windows_path(opened), "/force")
    assert (forced.code, forced.out) == (0, f"Ordnerverkn\u00fcpfung \u201e{windows_path(opened)}\u201c repariert: "
                                            "Ordner als Systemordner markiert.\n")
    assert dos_attributes(opened) == SYSTEM and (opened / "notiz.txt").read_bytes() == b"meins"
