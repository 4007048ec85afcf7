#!/usr/bin/env python3
"""The Windows installer as a user meets it, under Wine on an Xvfb of its own:

    install_wine.py WIN32_BUILD_DIR WINE

yomite-VERSION-setup.exe /S installs for this user alone into
%LOCALAPPDATA%\\Programs\\Yomite, with a Start menu shortcut, an entry in "Apps &
features" and "Open with" for .txt, .zip and .ymx (never a type's default but
.ymx's, which no one else has). A text opened with the "Open with" entry (the
command Explorer runs) starts the installed viewer on it, which keeps its
settings in %APPDATA%\\Yomite; the quiet uninstaller removes every file and key
and keeps the settings. The same for everyone (/AllUsers, Program Files, HKLM),
where a locked text opens through its association (wine start).

WINEPREFIX names a prefix that is ready (CTest's "wine" fixture).
Exit status 0 passes, 77 skips (no installer, Xvfb or wine), anything else fails.
"""

import glob
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from desktop import Skip, WineDesktop, expect, run, run_scenario, wait_for  # noqa: E402

SOURCE = os.path.abspath(os.path.join(HERE, "..", ".."))
UNINSTALL = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Yomite"


class Installation:
    """Where an installation for this user (HKCU, %LOCALAPPDATA%\\Programs) or
    for everyone (HKLM, Program Files) puts things in the prefix."""

    def __init__(self, d, everyone):
        self.d, self.everyone = d, everyone
        prefix = os.environ["WINEPREFIX"]
        users = [u for u in glob.glob(os.path.join(prefix, "drive_c", "users", "*"))
                 if os.path.basename(u) != "Public"]
        expect(len(users) == 1, "the prefix has users %s" % users)
        profile = users[0]
        root = "HKLM" if everyone else "HKCU"
        self.classes = root + "\\Software\\Classes"
        self.uninstall = root + "\\" + UNINSTALL
        self.application = self.classes + "\\Applications\\yomite.exe"
        if everyone:
            self.folder = os.path.join(prefix, "drive_c", "Program Files", "Yomite")
            menu = os.path.join(prefix, "drive_c", "ProgramData", "Microsoft", "Windows",
                                "Start Menu", "Programs")
        else:
            self.folder = os.path.join(profile, "AppData", "Local", "Programs", "Yomite")
            menu = os.path.join(profile, "AppData", "Roaming", "Microsoft", "Windows",
                                "Start Menu", "Programs")
        self.shortcut = os.path.join(menu, "Yomite.lnk")
        self.settings = os.path.join(profile, "AppData", "Roaming", "Yomite", "YOMITE.INI")

    def wine(self, *args, check=True, timeout=120):
        return run([self.d.wine, *args], env=self.d.env, check=check, timeout=timeout)

    def launch(self, *args):
        """Starts a program that outlives the call (its output not awaited)."""
        subprocess.Popen([self.d.wine, *args], env=self.d.env, stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def registry(self):
        """The branches the installer writes, read at once (a query each would
        start Wine each time): {key: {value name: data}}, lower case, the
        default value named ""."""
        keys = {}
        export = os.path.join(self.d.root, "export.reg")
        for branch in [self.classes, self.uninstall.rsplit("\\", 1)[0]]:
            if self.wine("reg", "export", branch, WineDesktop.windows_path(export), "/y",
                         check=False).returncode != 0:
                continue
            with open(export, "rb") as f:
                lines = f.read().decode("utf-16").splitlines()
            values = None
            for line in lines:
                if line.startswith("[") and line.endswith("]"):
                    values = keys.setdefault(line[1:-1].lower(), {})
                    continue
                found = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
                if values is None or not found:
                    continue
                data = found.group(3)
                if len(data) >= 2 and data[0] == data[-1] == '"':
                    data = unescape(data[1:-1])
                values[unescape(found.group(2) or "").lower()] = data
        return keys

    @staticmethod
    def value(registry, key, name=""):
        """A value's data, or None when the key or the value is missing."""
        return registry.get(full_key(key), {}).get(name.lower())

    def install(self, installer):
        expect(not os.path.exists(self.folder), "a Yomite is installed already")
        self.wine(installer, "/S", *(["/AllUsers"] if self.everyone else []))
        for name in ["yomite.exe", "yomiseal.exe", "uninstall.exe", "LICENSE.txt", "README.txt",
                     "installed.txt"]:
            expect(os.path.isfile(os.path.join(self.folder, name)), name + " was not installed")
        expect(os.path.isfile(self.shortcut), "no Start menu shortcut at " + self.shortcut)
        reg = self.registry()
        expect(self.value(reg, self.uninstall, "DisplayName") == "Yomite", "no uninstall entry")
        version = os.path.basename(installer)[len("yomite-"):-len("-setup.exe")]
        expect(self.value(reg, self.uninstall, "DisplayVersion") == version,
               "the uninstall entry's version")
        program, args = command_line(self.value(reg, self.application + "\\shell\\open\\command"))
        expect(program == self.windows_folder() + "\\yomite.exe" and args == ['"%1"'],
               "Applications\\yomite.exe opens with %s %s" % (program, args))
        for extension in [".txt", ".zip", ".ymx"]:
            progid = "Yomite" + extension
            expect(self.value(reg, self.classes + "\\" + extension + "\\OpenWithProgids", progid)
                   is not None, "%s does not offer Yomite" % extension)
            expect(self.value(reg, self.application + "\\SupportedTypes", extension) is not None,
                   "Yomite does not list %s" % extension)
            expect(command_line(self.value(reg, self.classes + "\\" + progid +
                                           "\\shell\\open\\command")) == (program, args),
                   progid + " does not open the installed viewer")
        # The user's default for texts stays; .ymx is Yomite's own type.
        expect(not (self.value(reg, self.classes + "\\.txt") or "").startswith("Yomite"),
               "the installer took .txt over")
        expect(self.value(reg, self.classes + "\\.ymx") == "Yomite.ymx",
               ".ymx is not Yomite's type")
        return reg

    def windows_folder(self):
        drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
        return "C:\\" + os.path.relpath(self.folder, drive_c).replace("/", "\\")

    def uninstall_silently(self, reg):
        # The uninstaller goes on from a copy of itself: wait for the folder to go.
        program, args = command_line(self.value(reg, self.uninstall, "QuietUninstallString"))
        expect("/S" in args, "the quiet uninstall is not silent: %s" % args)
        self.wine(program, *args)
        wait_for("the uninstaller", lambda: not os.path.exists(self.folder), timeout=60)
        expect(not os.path.exists(self.shortcut), "the shortcut is left")
        reg = self.registry()
        for key in [self.uninstall, self.application, self.classes + "\\Yomite.txt",
                    self.classes + "\\Yomite.zip", self.classes + "\\Yomite.ymx",
                    self.classes + "\\.ymx"]:
            expect(full_key(key) not in reg, key + " is left")
        for extension in [".txt", ".zip"]:
            expect(self.value(reg, self.classes + "\\" + extension + "\\OpenWithProgids",
                              "Yomite" + extension) is None, extension + " still offers Yomite")


def read(path):
    if not os.path.isfile(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("cp932", "replace")


def unescape(text):
    return re.sub(r"\\(.)", r"\1", text)


def full_key(key):
    """A key as `reg export` writes it, in lower case."""
    for short, full in [("HKCU\\", "HKEY_CURRENT_USER\\"), ("HKLM\\", "HKEY_LOCAL_MACHINE\\")]:
        if key.startswith(short):
            key = full + key[len(short):]
    return key.lower()


def command_line(text):
    """A registered command line: the quoted program and the words after it."""
    found = re.match(r'^"([^"]+)"((?:\s+\S+)*)$', text or "")
    expect(found is not None, "not a command line: %r" % text)
    return found.group(1), found.group(2).split()


def viewer_on(d, name):
    """The viewer window titled for `name`, once shown."""
    title = "%s - Yomite" % name
    ids = wait_for("a viewer on " + name, lambda: d.windows_named("^%s$" % title), timeout=60)
    return ids[0]


def close(d, window):
    d.x(["xdotool", "windowfocus", "--sync", window], check=False)
    d.x(["xdotool", "key", "Escape"], check=False)
    wait_for("the viewer to close",
             lambda: d.x(["xdotool", "getwindowname", window], check=False).returncode != 0,
             timeout=30)


def install_open_uninstall(d):
    installers = glob.glob(os.path.join(d.build, "package", "yomite-*-setup.exe"))
    if not installers:
        raise Skip("no installer in %s/package (makensis: scripts/bootstrap installs nsis)"
                   % d.build)
    # Wine's menu builder would copy the shortcut to the Linux desktop's menus.
    d.env["WINEDLLOVERRIDES"] = d.env.get("WINEDLLOVERRIDES", "") + ";winemenubuilder.exe=d"

    # For this user, the default.
    mine = Installation(d, everyone=False)
    reg = mine.install(installers[0])
    # A text through "Open with Yomite": the command of its type, as Explorer runs it.
    text = d.file("books/a book.txt", "縦書き\r\n".encode("cp932"))
    program, _ = command_line(mine.value(reg, mine.classes + "\\Yomite.txt\\shell\\open\\command"))
    mine.launch(program, WineDesktop.windows_path(text))
    close(d, viewer_on(d, "a book.txt"))
    # The installed viewer keeps its settings (the history) where Windows
    # programs keep them, not in its folder.
    wait_for("the text in the history in %APPDATA%\\Yomite",
             lambda: "a book.txt" in read(mine.settings), timeout=15)
    expect(not os.path.exists(os.path.join(mine.folder, "YOMITE.INI")),
           "the installed viewer wrote its settings beside itself")
    mine.uninstall_silently(reg)
    expect(os.path.isfile(mine.settings), "the uninstaller removed the user's settings")

    # For everyone. Wine's HKEY_CLASSES_ROOT shows the machine's types only
    # (Windows adds the user's), so this is where a double click is tried: a
    # locked text made by the installed yomiseal opens in the viewer.
    everyone = Installation(d, everyone=True)
    reg = everyone.install(installers[0])
    book = d.file("books/本.txt", "本文\r\n".encode("cp932"))
    locked = os.path.join(d.root, "books", "locked.ymx")
    everyone.wine(os.path.join(everyone.folder, "yomiseal.exe"), WineDesktop.windows_path(book),
                  WineDesktop.windows_path(locked))
    everyone.launch("start", "/unix", locked)
    close(d, viewer_on(d, "locked.ymx"))
    everyone.uninstall_silently(reg)
    expect(os.path.isfile(mine.settings), "the uninstaller removed the user's settings")


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    build, wine = sys.argv[1:3]
    scenarios = {"install_open_uninstall": install_open_uninstall}
    return run_scenario(scenarios, "install_open_uninstall", lambda: WineDesktop(build, wine))


if __name__ == "__main__":
    sys.exit(main())
