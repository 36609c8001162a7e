"""Packs files into a zip that is the same bytes wherever and whenever it is made.

Each entry carries the given time and a fixed mode (the program's executable),
in the order given, and nothing of the machine: no owner, no access time, no
time zone. It does not read the files' own times or permissions.
  make_zip.py ZIP EPOCH FOLDER NAME...
"""

import sys
import time
import zipfile

# A zip's times are DOS times: from 1980, in two-second steps.
DOS_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC
COMPRESSION_LEVEL = 9
UNIX = 3  # the "made by" system, so that unzip on Linux sets the modes
PROGRAM_MODE = 0o100755
FILE_MODE = 0o100644
MODE_SHIFT = 16  # a Unix mode sits in the high half of the external attributes


def main(zip_path, epoch, folder, names):
    # The zip's times are written as they read in UTC, whatever the zone here.
    date_time = time.gmtime(max(int(epoch), DOS_EPOCH))[:6]
    with zipfile.ZipFile(zip_path, "w") as archive:
        for name in names:
            entry = zipfile.ZipInfo(name, date_time)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = UNIX
            mode = PROGRAM_MODE if name.lower().endswith(".exe") else FILE_MODE
            entry.external_attr = mode << MODE_SHIFT
            with open(f"{folder}/{name}", "rb") as content:
                archive.writestr(entry, content.read(), compresslevel=COMPRESSION_LEVEL)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit("usage: make_zip.py ZIP EPOCH FOLDER NAME...")
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
