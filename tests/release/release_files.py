"""The zip and the MSI carry nothing of the machine or the moment they were made.

The zip: its three entries in a fixed order, the chosen time, fixed modes and
no extra fields. The MSI: the chosen time, derived package and product codes,
and the program's description, the one in its manifest, for the package and
its Start-menu shortcut.
Installing them is packages.sh's test; building them twice, verify_release.sh's.
  release_files.py PACKAGE.zip PACKAGE.msi EPOCH
"""

import re
import sys
import time
import uuid
import zipfile

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402 (after the version is chosen)

ENTRIES = ["velmorida.exe", "LICENSE.txt", "README.txt"]
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


def check_zip(path, epoch):
    # DOS times have two-second steps and no zone: the chosen time in UTC.
    expected_time = time.gmtime(epoch - epoch % DOS_TIME_STEP)[:6]
    with zipfile.ZipFile(path) as archive:
        entries = archive.infolist()
    names = [entry.filename for entry in entries]
    check(names == ENTRIES, f"zip entries {names}, not {ENTRIES}")
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


def product_code(database):
    return first_value(database,
                       "SELECT `Value` FROM `Property` WHERE `Property` = 'ProductCode'")


def program_description(zip_path):
    """The description in the manifest of the zip's velmorida.exe."""
    with zipfile.ZipFile(zip_path) as archive:
        program = archive.read("velmorida.exe")
    found = re.search(rb"<description>([^<]*)</description>", program)
    check(found is not None, "no description in the manifest of velmorida.exe")
    return found.group(1).decode("utf-8") if found else None


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
    for name, code in (("package code", summary.get_string(Libmsi.Property.UUID)),
                       ("product code", product_code(database))):
        check(uuid.UUID(code).version == NAME_BASED_SHA1, f"MSI {name} {code} is not derived")
    for name, text in (("package", summary.get_string(Libmsi.Property.SUBJECT)),
                       ("shortcut", first_value(database, "SELECT `Description` FROM `Shortcut`"))):
        check(text == description,
              f"MSI {name} description \"{text}\", not the program's \"{description}\"")


def main(zip_path, msi_path, epoch):
    check_zip(zip_path, epoch)
    check_msi(msi_path, epoch, program_description(zip_path))
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        sys.exit(1)
    print(f"PASS: the zip's {len(ENTRIES)} entries and the MSI at {epoch}, with derived codes"
          " and the program's description")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: release_files.py PACKAGE.zip PACKAGE.msi EPOCH")
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]))
