#!/usr/bin/python3
"""Packs the build with cpack (the Debian package and the tarball, as scripts/package-linux does)
and checks what a player gets: the game in games/, every file of the build's data/ under
share/games/skimlark/data, the desktop entry, the metainfo, the icons, the manual page, the
copyright file and the changelog, and nothing else (no tools, tests or benchmarks); the licence at
the tarball's top; the Debian package's version and dependencies, and lintian with no error or
warning; the desktop entry and the metainfo valid to their own validators; and the game of both
trees finding its data when started from another folder.

Usage: check_linux_package.py BUILD_DIR WORK_DIR SOURCE_DIR VERSION APP_ID
"""
import configparser
import gzip
import os
import re
import shutil
import stat
import subprocess
import sys
import tarfile
import xml.etree.ElementTree as ElementTree

GAME = "games/skimlark"
DATA = "share/games/skimlark/data/"
ICON_SIZES = [16, 32, 48, 256]
MANUAL = "share/man/man6/skimlark.6.gz"
COPYRIGHT = "share/doc/skimlark/copyright"
CHANGELOG = "share/doc/skimlark/changelog.gz"
# What the game links or SDL2 loads; a Debian package without them would start nowhere.
REQUIRED_DEPENDS = ["libsdl2-2.0-0", "libpng16-16", "libjpeg62-turbo", "libopengl0", "libgl1",
                    "libegl1", "libx11-6", "libxext6", "libxrender1", "libxrandr2", "libx11-xcb1",
                    "libxcb1", "libxcb-present0"]
# What the game says when it has found its data and then cannot open a window.
FOUND_DATA = "skimlark: cannot open a window"


class Failure(Exception):
    pass


def icon_path(size):
    return "share/icons/hicolor/%dx%d/apps/skimlark.png" % (size, size)


def expected_files(build_dir, app_id):
    """Paths relative to the install prefix, with the size each must have (None: any)."""
    files = {GAME: None, MANUAL: None, COPYRIGHT: None, CHANGELOG: None,
             "share/applications/%s.desktop" % app_id: None,
             "share/metainfo/%s.metainfo.xml" % app_id: None}
    data = os.path.join(build_dir, "data")
    for root, _, names in os.walk(data):
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, data).replace(os.sep, "/")
            files[DATA + relative] = os.path.getsize(path)
    for size in ICON_SIZES:
        files[icon_path(size)] = os.path.getsize(
            os.path.join(build_dir, "icons", icon_path(size)[len("share/icons/"):]))
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
    if not members[GAME][1] & stat.S_IXUSR:
        raise Failure("%s: %s is not executable" % (label, GAME))
    data_files = sum(1 for path in members if path.startswith(DATA))
    print("%s: %d files in place (game, %d data files, %d icons, desktop entry, metainfo, manual, "
          "copyright, changelog)" % (label, len(members), data_files, len(ICON_SIZES)))


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


def check_control(deb, version):
    def field(name):
        return subprocess.run(["dpkg-deb", "-f", deb, name], check=True, capture_output=True,
                              text=True).stdout.strip()

    if field("Version") != version:
        raise Failure("the Debian package's version is %s, the project's %s"
                      % (field("Version"), version))
    if field("Section") != "games":
        raise Failure("the Debian package's section is %s, not games" % field("Section"))
    depends = field("Depends")
    names = [alternative.split()[0] for entry in depends.split(",")
             for alternative in entry.split("|") if alternative.strip()]
    missing = [name for name in REQUIRED_DEPENDS if name not in names]
    if missing:
        raise Failure("the Debian package does not depend on %s (Depends: %s)"
                      % (", ".join(missing), depends))
    print("Version: %s, Section: games, Depends: %s" % (version, depends))


def check_lintian(deb):
    """Debian's own checker: informational tags may stay, errors and warnings may not."""
    if shutil.which("lintian") is None:
        raise Failure("lintian not found (scripts/install-deps test installs it)")
    result = subprocess.run(["lintian", "--display-info", "--fail-on", "none", deb],
                            capture_output=True, text=True)
    tags = [line for line in result.stdout.splitlines() if re.match(r"[A-Z]: ", line)]
    faults = [line for line in tags if line[0] in "EW"]
    if result.returncode != 0 or faults:
        raise Failure("lintian: %s" % ("\n".join(faults) or result.stderr.strip()))
    print("lintian: no error or warning (%d informational tags)" % len(tags))


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
    result = subprocess.run(["desktop-file-validate", path], capture_output=True, text=True)
    if result.returncode != 0 or result.stdout.strip():
        raise Failure("desktop-file-validate: %s" % (result.stdout + result.stderr).strip())
    print("desktop-file-validate: no complaint")


def check_metainfo(tree, app_id, version, source_dir):
    path = os.path.join(tree, "share/metainfo/%s.metainfo.xml" % app_id)
    if shutil.which("appstreamcli") is None:
        raise Failure("appstreamcli not found (scripts/install-deps test installs it)")
    result = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", path],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise Failure("appstreamcli validate: %s" % result.stdout.strip())
    component = ElementTree.parse(path).getroot()
    if component.findtext("id") != app_id:
        raise Failure("metainfo: id %s, wanted %s" % (component.findtext("id"), app_id))
    launchable = component.findtext("launchable[@type='desktop-id']")
    if launchable != app_id + ".desktop":
        raise Failure("metainfo: launches %s, not the installed desktop entry" % launchable)
    releases = [release.get("version") for release in component.iter("release")]
    if releases[:1] != [version]:
        raise Failure("metainfo: latest release %s, the project's is %s" % (releases[:1], version))
    rating = component.find("content_rating")
    if rating is None or rating.get("type") != "oars-1.1":
        raise Failure("metainfo: no oars-1.1 content rating")
    rated = [attribute.get("id") for attribute in rating if attribute.text != "none"]
    if rated:
        raise Failure("metainfo: content rated for %s" % rated)
    # The screenshots are the README's own pictures.
    readme = open(os.path.join(source_dir, "README.md"), encoding="utf-8").read()
    images = [image.text.strip() for image in component.iter("image")]
    for image in images:
        name = "docs/" + image.rsplit("/", 1)[-1]
        if not os.path.isfile(os.path.join(source_dir, name)) or name not in readme:
            raise Failure("metainfo: screenshot %s is none of the README's pictures" % image)
    if not images:
        raise Failure("metainfo: no screenshots")
    print("appstreamcli validate --no-net --pedantic: %s (%d screenshots from docs/)"
          % (result.stdout.strip().splitlines()[-1].lstrip("\u2714 "), len(images)))


def unfold_dep5(text):
    """A field's continuation lines as plain text: the leading space gone, "." a blank line."""
    return "\n".join("" if line == " ." else line[1:] for line in text.splitlines())


def check_licence(tree, source_dir, tarball_top=None):
    licence = open(os.path.join(source_dir, "LICENSE"), encoding="utf-8").read()
    holder = re.search(r"^Copyright \(c\) (.+)$", licence, re.M).group(1)
    permission = licence[licence.index(holder) + len(holder):].strip()
    copyright_file = open(os.path.join(tree, COPYRIGHT), encoding="utf-8").read()
    if not copyright_file.startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"):
        raise Failure("%s is not in Debian's machine-readable format" % COPYRIGHT)
    match = re.search(r"^Files: \*\nCopyright: (.+)\nLicense: Expat\n((?: .*\n?)+)",
                      copyright_file, re.M)
    if match is None or match.group(1) != holder:
        raise Failure("%s: no Expat licence paragraph for all files by %s" % (COPYRIGHT, holder))
    if unfold_dep5(match.group(2)).strip() != permission:
        raise Failure("%s: the licence text differs from LICENSE" % COPYRIGHT)
    if tarball_top is not None:
        if open(os.path.join(tarball_top, "LICENSE"), encoding="utf-8").read() != licence:
            raise Failure("the tarball's LICENSE differs from the repository's")


def check_documents(tree, version):
    """The changelog and the manual page: gzip without a time stamp, and this version."""
    for name in (CHANGELOG, MANUAL):
        header = open(os.path.join(tree, name), "rb").read(10)
        if header[4:8] != b"\0\0\0\0":
            raise Failure("%s carries a time stamp in its gzip header" % name)
    changelog = gzip.open(os.path.join(tree, CHANGELOG), "rt", encoding="utf-8").read()
    if not changelog.startswith("skimlark (%s) " % version):
        raise Failure("the changelog's latest entry is not %s: %s"
                      % (version, changelog.splitlines()[0]))
    manual = gzip.open(os.path.join(tree, MANUAL), "rt", encoding="utf-8").read()
    if not re.search(r'^\.TH SKIMLARK 6 "[0-9-]+" "Skimlark %s"' % re.escape(version), manual,
                     re.M):
        raise Failure("the manual page's title line does not name section 6 and %s" % version)
    sections = re.findall(r"^\.SH (.+)$", manual, re.M)
    for wanted in ("NAME", "SYNOPSIS", "DESCRIPTION", "KEYS", "GAME PAD", "FILES",
                   "EXIT STATUS"):
        if wanted not in sections:
            raise Failure("the manual page has no %s section (it has %s)" % (wanted, sections))
    if "/usr/share/games/skimlark/data" not in manual:
        raise Failure("the manual page does not say where the installed data is")
    result = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z",
                             os.path.join(tree, MANUAL)], capture_output=True, text=True)
    if result.returncode != 0 or result.stderr.strip():
        raise Failure("man --warnings: %s" % result.stderr.strip())
    print("changelog and manual page: version %s, no warning from man" % version)


def check_game_finds_data(label, game):
    """Started in / with no display, the game gets past finding its data and stops at the
    window: the message it gives says which."""
    environment = {key: value for key, value in os.environ.items()
                   if key not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = subprocess.run([game], cwd="/", env=environment, capture_output=True, text=True,
                            timeout=60)
    lines = result.stderr.splitlines()
    if result.returncode != 1 or not any(line.startswith(FOUND_DATA) for line in lines):
        raise Failure("%s, started in /: exit code %d, %s" % (label, result.returncode,
                                                               result.stderr.strip()))
    print("%s finds its data from /" % label)


def main():
    build_dir, work_dir, source_dir, version, app_id = sys.argv[1:6]
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

    expected = expected_files(build_dir, app_id)
    check_tree(debs[0], deb_members(deb), expected)
    check_control(deb, version)
    check_lintian(deb)
    top = tarballs[0][:-len(".tar.gz")]
    check_tree(tarballs[0], tar_members(tarball, top), dict(expected, LICENSE=None))

    deb_tree = os.path.join(work_dir, "deb")
    subprocess.run(["dpkg-deb", "-x", deb, deb_tree], check=True)
    installed = os.path.join(deb_tree, "usr")
    unpacked = os.path.join(work_dir, "unpacked")
    with tarfile.open(tarball) as archive:
        archive.extractall(unpacked)
    tarball_tree = os.path.join(unpacked, top)

    check_desktop_entry(os.path.join(installed, "share/applications/%s.desktop" % app_id))
    check_metainfo(installed, app_id, version, source_dir)
    check_licence(installed, source_dir, tarball_tree)
    check_documents(installed, version)
    check_game_finds_data("the Debian package's game", os.path.join(installed, GAME))
    check_game_finds_data("the tarball's game", os.path.join(tarball_tree, GAME))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        print("check_linux_package: %s" % failure)
        sys.exit(1)
