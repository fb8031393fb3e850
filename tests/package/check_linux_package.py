#!/usr/bin/python3
"""Packs the build with cpack (the Debian package and the tarball, as scripts/package-linux does)
and checks what a player gets: the game in bin/, every file of the build's data/ under
share/skimlark/data, a valid desktop entry and the icons, and nothing else (no tools, tests or
benchmarks); the Debian package depends on the libraries the game needs.

Usage: check_linux_package.py BUILD_DIR WORK_DIR
"""
import configparser
import os
import shutil
import stat
import subprocess
import sys
import tarfile

ICONS = ["share/icons/hicolor/48x48/apps/skimlark.png",
         "share/icons/hicolor/256x256/apps/skimlark.png"]
DESKTOP = "share/applications/skimlark.desktop"
# What the game links or SDL2 loads; a Debian package without them would start nowhere.
REQUIRED_DEPENDS = ["libsdl2-2.0-0", "libpng16-16", "libjpeg62-turbo", "libgl1", "libegl1"]


class Failure(Exception):
    pass


def expected_files(build_dir):
    """Paths relative to the install prefix, with the size each must have (None: any)."""
    files = {"bin/skimlark": None, DESKTOP: None}
    data = os.path.join(build_dir, "data")
    for root, _, names in os.walk(data):
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, data).replace(os.sep, "/")
            files["share/skimlark/data/" + relative] = os.path.getsize(path)
    for icon in ICONS:
        files[icon] = os.path.getsize(os.path.join(build_dir, "icons", icon[len("share/icons/"):]))
    return files


def check_tree(label, members, expected):
    """members: relative path -> (size, mode) of every regular file in the package."""
    missing = sorted(set(expected) - set(members))
    extra = sorted(set(members) - set(expected))
    if missing:
        raise Failure("%s lacks %d files, the first %s" % (label, len(missing), missing[:3]))
    if extra:
        raise Failure("%s holds files the game does not need: %s" % (label, extra[:5]))
    for path, size in expected.items():
        if size is not None and members[path][0] != size:
            raise Failure("%s: %s has %d bytes, the build's has %d"
                          % (label, path, members[path][0], size))
    if not members["bin/skimlark"][1] & stat.S_IXUSR:
        raise Failure("%s: bin/skimlark is not executable" % label)
    print("%s: %d files in place (game, %d data files, desktop entry, %d icons)"
          % (label, len(members), len(expected) - 2 - len(ICONS), len(ICONS)))


def deb_members(deb):
    """Regular files of a .deb from `dpkg-deb -c`, relative to /usr."""
    listing = subprocess.run(["dpkg-deb", "-c", deb], check=True, capture_output=True,
                             text=True).stdout
    members = {}
    for line in listing.splitlines():
        fields = line.split(None, 5)
        mode, size, path = fields[0], int(fields[2]), fields[5]
        if mode.startswith("-"):
            if not path.startswith("./usr/"):
                raise Failure("the Debian package installs %s outside /usr" % path)
            members[path[len("./usr/"):]] = (size, stat.S_IXUSR if mode[3] == "x" else 0)
    return members


def tar_members(tarball, top):
    members = {}
    with tarfile.open(tarball) as archive:
        for member in archive.getmembers():
            if not member.name.startswith(top + "/"):
                raise Failure("%s lies outside the tarball's folder %s" % (member.name, top))
            if member.isfile():
                members[member.name[len(top) + 1:]] = (member.size, member.mode & stat.S_IXUSR)
    return members


def check_depends(deb):
    depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], check=True,
                             capture_output=True, text=True).stdout
    names = [alternative.split()[0] for entry in depends.split(",")
             for alternative in entry.split("|") if alternative.strip()]
    missing = [name for name in REQUIRED_DEPENDS if name not in names]
    if missing:
        raise Failure("the Debian package does not depend on %s (Depends: %s)"
                      % (", ".join(missing), depends.strip()))
    print("Depends: %s" % depends.strip())


def check_desktop_entry(path):
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path)
    section = entry["Desktop Entry"]
    wanted = {"Type": "Application", "Name": "Skimlark", "Exec": "skimlark", "Icon": "skimlark",
              "Terminal": "false"}
    for key, value in wanted.items():
        if section.get(key) != value:
            raise Failure("desktop entry: %s=%s, wanted %s" % (key, section.get(key), value))
    if "Game" not in section.get("Categories", "").split(";"):
        raise Failure("desktop entry: not in the Game category")
    validator = shutil.which("desktop-file-validate")
    if validator is None:
        print("desktop-file-validate not found: the desktop entry's format is not checked")
        return
    result = subprocess.run([validator, path], capture_output=True, text=True)
    if result.returncode != 0 or result.stdout.strip():
        raise Failure("desktop-file-validate: %s" % (result.stdout + result.stderr).strip())
    print("desktop-file-validate: no complaint")


def main():
    build_dir, work_dir = sys.argv[1:3]
    shutil.rmtree(work_dir, ignore_errors=True)
    os.makedirs(work_dir)
    subprocess.run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"),
                    "-B", work_dir], check=True, stdout=subprocess.DEVNULL)
    debs = [name for name in os.listdir(work_dir) if name.endswith(".deb")]
    tarballs = [name for name in os.listdir(work_dir) if name.endswith(".tar.gz")]
    if len(debs) != 1 or len(tarballs) != 1:
        raise Failure("cpack made %s, wanted one .deb and one .tar.gz" % (debs + tarballs))
    deb = os.path.join(work_dir, debs[0])
    tarball = os.path.join(work_dir, tarballs[0])

    expected = expected_files(build_dir)
    check_tree(debs[0], deb_members(deb), expected)
    check_depends(deb)
    top = tarballs[0][:-len(".tar.gz")]
    check_tree(tarballs[0], tar_members(tarball, top), expected)

    unpacked = os.path.join(work_dir, "unpacked")
    with tarfile.open(tarball) as archive:
        archive.extractall(unpacked)
    check_desktop_entry(os.path.join(unpacked, top, DESKTOP))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, subprocess.CalledProcessError) as failure:
        print("check_linux_package: %s" % failure)
        sys.exit(1)
