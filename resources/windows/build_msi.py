"""Builds a Windows Installer package with wixl, the same bytes from the same files.

wixl would stamp it with the clock's time and a random package code: here its
files carry the given time, and so does its summary information, with a
package code derived from the files. What the package installs is wixl's alone.
  build_msi.py MSI EPOCH FOLDER WIXL ARGUMENT...   (wixl runs in a copy of FOLDER)
"""

import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import uuid

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402 (after the version is chosen)

# Package codes are name-based UUIDs in a namespace of this program's own.
PACKAGE_CODES = uuid.uuid5(uuid.NAMESPACE_DNS, "packages.velmorida.invalid")
# A FILETIME counts 100 ns from 1601; Unix time counts seconds from 1970.
FILETIME_TICKS_PER_SECOND = 10_000_000
SECONDS_FROM_1601_TO_1970 = 11_644_473_600
# Summary information opened for as many changes as wanted.
ANY_NUMBER_OF_UPDATES = 0xFFFFFFFF


def staged_copy(folder, epoch, into):
    """Copies FOLDER's files into INTO with the time EPOCH; their digest."""
    digest = hashlib.sha256()
    for name in sorted(os.listdir(folder)):
        source = os.path.join(folder, name)
        if not os.path.isfile(source):
            continue
        with open(source, "rb") as content:
            data = content.read()
        digest.update(name.encode() + b"\0" + len(data).to_bytes(8, "little") + data)
        copy = os.path.join(into, name)
        shutil.copyfile(source, copy)
        os.utime(copy, (epoch, epoch))
    return digest.hexdigest()


def stamp(msi, epoch, package_code):
    """Writes EPOCH and PACKAGE_CODE into MSI's summary information."""
    database = Libmsi.Database.new(msi, Libmsi.DbFlags.TRANSACT, None)
    summary = Libmsi.SummaryInfo.new(database, ANY_NUMBER_OF_UPDATES)
    filetime = (epoch + SECONDS_FROM_1601_TO_1970) * FILETIME_TICKS_PER_SECOND
    summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    summary.set_string(Libmsi.Property.UUID, "{%s}" % str(package_code).upper())
    summary.save(database)
    database.commit()


def main(msi, epoch, folder, wixl_command):
    epoch = int(epoch)
    with tempfile.TemporaryDirectory() as work:
        digest = staged_copy(folder, epoch, work)
        built = os.path.join(work, "package.msi")
        subprocess.run(wixl_command + ["-o", built], cwd=work, check=True)
        stamp(built, epoch, uuid.uuid5(PACKAGE_CODES, digest))
        shutil.copyfile(built, msi)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit("usage: build_msi.py MSI EPOCH FOLDER WIXL ARGUMENT...")
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
