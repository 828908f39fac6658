#!/usr/bin/env python3
"""Adds up the results of the test runs of ./run-tests.

    test_summary.py [--broken N] NAME=CTEST_JUNIT[:GTEST_XML] ...

CTEST_JUNIT is the report of `ctest --output-junit`. Where one ctest entry
runs a whole GoogleTest executable (the Windows tests under Wine), GTEST_XML
is that executable's --gtest_output report and its cases are counted one by
one instead of the single entry. A missing report counts as one failure, as
does each of the N broken steps (a build that failed). Prints one line per
run and ends with "tests: N passed, M failed"; exits 1 when anything failed.
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_cases(path):
    """(passed, failed, skipped) of a GoogleTest XML report."""
    passed = failed = skipped = 0
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.find("failure") is not None:
            failed += 1
        elif case.get("status") == "notrun" or case.get("result") in ("skipped", "suppressed"):
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def ctest_entries(junit, gtest_xml):
    """(passed, failed, skipped) of a ctest JUnit report, expanding the entry that wrote gtest_xml."""
    passed = failed = skipped = 0
    expand = os.path.splitext(os.path.basename(gtest_xml))[0] if gtest_xml else None
    for case in ET.parse(junit).getroot().iter("testcase"):
        status = case.get("status")
        if status == "notrun":
            # Skipped on purpose (GTEST_SKIP and the like) or not runnable at all.
            note = case.find("skipped")
            message = note.get("message", "") if note is not None else ""
            status = "disabled" if "SKIP_" in message else "fail"
        if expand and case.get("name") == expand and os.path.exists(gtest_xml):
            p, f, s = gtest_cases(gtest_xml)
            # An executable that failed with every case passing crashed or leaked an error.
            if status == "fail" and f == 0:
                f = 1
            passed, failed, skipped = passed + p, failed + f, skipped + s
        elif status == "run":
            passed += 1
        elif status == "disabled":
            skipped += 1
        else:
            failed += 1
    return passed, failed, skipped


def main(argv):
    broken = 0
    if len(argv) >= 2 and argv[0] == "--broken":
        broken = int(argv[1])
        argv = argv[2:]
    total_passed, total_failed = 0, broken
    for arg in argv:
        name, _, paths = arg.partition("=")
        junit, _, gtest_xml = paths.partition(":")
        if os.path.exists(junit):
            p, f, s = ctest_entries(junit, gtest_xml)
        else:
            p, f, s = 0, 1, 0
        line = f"{name}: {p} passed, {f} failed"
        if s:
            line += f", {s} skipped"
        if not os.path.exists(junit):
            line += " (no test report: the run did not happen)"
        print(line)
        total_passed += p
        total_failed += f
    if broken:
        print(f"broken steps: {broken}")
    print(f"tests: {total_passed} passed, {total_failed} failed")
    return 1 if total_failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
