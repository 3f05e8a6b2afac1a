"""Adds up the GoogleTest XML reports of the given build folders and prints
'N passed, M failed'. A test program that ran but left no report (it crashed)
counts as one failed test. Exits non-zero when anything failed or nothing ran."""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for build in sys.argv[1:]:
    build = pathlib.Path(build)
    reports = {p.stem: p for p in (build / "test-results").glob("*.xml")}
    for name, path in sorted(reports.items()):
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError:
            failed += 1
            continue
        for case in root.iter("testcase"):
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
            elif case.find("skipped") is not None or case.get("result") == "skipped":
                skipped += 1
            else:
                passed += 1
    # Test programs that ctest started but that wrote no report.
    log = build / "Testing/Temporary/LastTest.log"
    if log.exists():
        for line in log.read_text(errors="replace").splitlines():
            started = re.match(r"^\d+/\d+ Test: (\S+)", line)
            if started and started.group(1) not in reports:
                failed += 1

line = f"{passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed or passed == 0 else 0)
