"""The zip and the MSI carry nothing of the machine or the moment they were made.

The zip: its three entries in a fixed order, whole, the program the very bytes
of the velmorida.exe the other tests check and run, the chosen time, fixed
modes, no extra fields. The MSI: the chosen time, derived package and product
codes, and the manifest's description for the package and its Start-menu shortcut.
Installing the MSI is packages.sh's test; building them twice, verify_release.sh's.
  release_files.py PACKAGE.zip PACKAGE.msi velmorida.exe EPOCH
"""

import re
import sys
import time
import uuid
import zipfile

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402 (after the version is chosen)

MODES = {"velmorida.exe": 0o100755, "LICENSE.txt": 0o100644, "README.txt": 0o100644}
MODE_SHIFT = 16
DOS_TIME_STEP = 2  # seconds
FILETIME_TICKS_PER_SECOND = 10_000_000
SECONDS_FROM_1601_TO_1970 = 11_644_473_600
NAME_BASED_SHA1 = 5
READ_ONLY_SUMMARY = 0

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def check_zip(path, epoch, program):
    # DOS times have two-second steps and no zone: the chosen time in UTC.
    expected_time = time.gmtime(epoch - epoch % DOS_TIME_STEP)[:6]
    with zipfile.ZipFile(path) as archive:
        entries = archive.infolist()
        names = [entry.filename for entry in entries]
        check(names == list(MODES), f"zip entries {names}, not {list(MODES)}")
        damaged = archive.testzip()
        check(damaged is None, f"zip entry {damaged} is damaged")
        zipped = archive.read("velmorida.exe") if "velmorida.exe" in names else b""
        check(zipped == program, "the zip's velmorida.exe is not the program built")
    for entry in entries:
        check(entry.date_time == expected_time,
              f"{entry.filename}: time {entry.date_time}, not {expected_time}")
        mode = entry.external_attr >> MODE_SHIFT
        check(mode == MODES.get(entry.filename),
              f"{entry.filename}: mode {mode:o}, not {MODES.get(entry.filename, 0):o}")
        check(entry.extra == b"", f"{entry.filename}: extra fields {entry.extra.hex()}")


def first_value(database, sql):
    query = Libmsi.Query.new(database, sql)
    query.execute(None)
    return query.fetch().get_string(1)


def check_msi(path, epoch, description):
    database = Libmsi.Database.new(path, Libmsi.DbFlags.READONLY, None)
    summary = Libmsi.SummaryInfo.new(database, READ_ONLY_SUMMARY)
    expected_filetime = (epoch + SECONDS_FROM_1601_TO_1970) * FILETIME_TICKS_PER_SECOND
    for name, prop in (("created", Libmsi.Property.CREATED_TM),
                       ("last saved", Libmsi.Property.LASTSAVED_TM)):
        filetime = summary.get_filetime(prop)
        check(filetime == expected_filetime,
              f"MSI {name} at {filetime // FILETIME_TICKS_PER_SECOND - SECONDS_FROM_1601_TO_1970}"
              f", not {epoch}")
    product = "SELECT `Value` FROM `Property` WHERE `Property` = 'ProductCode'"
    for name, code in (("package code", summary.get_string(Libmsi.Property.UUID)),
                       ("product code", first_value(database, product))):
        check(uuid.UUID(code).version == NAME_BASED_SHA1, f"MSI {name} {code} is not derived")
    for name, text in (("package", summary.get_string(Libmsi.Property.SUBJECT)),
                       ("shortcut", first_value(database, "SELECT `Description` FROM `Shortcut`"))):
        check(text == description,
              f"MSI {name} description \"{text}\", not the program's \"{description}\"")


def main(zip_path, msi_path, exe_path, epoch):
    with open(exe_path, "rb") as exe:
        program = exe.read()
    check_zip(zip_path, epoch, program)
    found = re.search(rb"<description>([^<]*)</description>", program)
    check(found is not None, "no description in the manifest of velmorida.exe")
    check_msi(msi_path, epoch, found.group(1).decode("utf-8") if found else None)
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        sys.exit(1)
    print(f"PASS: the zip's {len(MODES)} entries and the MSI at {epoch}, with derived codes"
          " and the program's description")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit("usage: release_files.py PACKAGE.zip PACKAGE.msi velmorida.exe EPOCH")
    main(sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]))
