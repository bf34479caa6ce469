#!/usr/bin/env python3
"""make_zip.py ZIP DIR NAME...: stores DIR/NAME under NAME in ZIP, deflated, with fixed times so
that the same inputs give the same archive."""

import pathlib
import sys
import zipfile


def main():
    archive, folder, names = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3:]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for name in names:
            entry = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            out.writestr(entry, (folder / name).read_bytes())


if __name__ == "__main__":
    main()
