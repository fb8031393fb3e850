#!/usr/bin/env python3
"""Packs data/ for the page: one gzip-compressed ustar archive, the same bytes from the same files
(sorted names, no times, owners or modes of this machine), and a small JSON file beside it with
the archive's name and size, which the page's progress bar counts against.

Usage: web_data_pack.py CONTENT_DIR PACK.tar.gz MANIFEST.json (CONTENT_DIR holds data/)."""
import gzip
import io
import json
import os
import sys
import tarfile


def pack(content_dir):
    archive = io.BytesIO()
    with tarfile.open(fileobj=archive, mode="w", format=tarfile.USTAR_FORMAT) as tar:
        paths = []
        for root, _, files in os.walk(os.path.join(content_dir, "data")):
            paths += [os.path.join(root, name) for name in files]
        for path in sorted(paths):
            name = os.path.relpath(path, content_dir).replace(os.sep, "/")
            info = tarfile.TarInfo(name)
            info.size = os.path.getsize(path)
            info.mode = 0o644
            with open(path, "rb") as file:
                tar.addfile(info, file)
    compressed = io.BytesIO()
    with gzip.GzipFile(fileobj=compressed, mode="wb", compresslevel=9, mtime=0, filename="") as out:
        out.write(archive.getvalue())
    return compressed.getvalue()


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    content_dir, pack_path, manifest_path = sys.argv[1:]
    data = pack(content_dir)
    os.makedirs(os.path.dirname(pack_path), exist_ok=True)
    with open(pack_path, "wb") as file:
        file.write(data)
    manifest = {"pack": os.path.basename(pack_path), "bytes": len(data)}
    with open(manifest_path, "w") as file:
        json.dump(manifest, file)
        file.write("\n")


if __name__ == "__main__":
    main()
