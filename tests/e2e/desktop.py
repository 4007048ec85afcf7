"""A desktop of its own for one end-to-end test: an X server (Xvfb), a home
folder (so the settings file in its configuration directory belongs to this
test alone), and the real `yomite` copied into a folder of its own. The session
bus is the one `dbus-run-session` started around the test.

Pictures are taken as a person sees them: `import` reads the X server's
pixels; they come back as RGB rows.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time


class Skip(Exception):
    """The machine cannot run this test (no X server program)."""


def run(args, env=None, check=True, timeout=30, input=None):
    return subprocess.run(args, env=env, check=check, timeout=timeout, input=input,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def wait_for(what, condition, timeout=10.0, step=0.05):
    """Polls `condition` until it gives something true; fails after `timeout` s."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(step)


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def settled(w, area, timeout=15):
    """`area` of the window's picture once two looks in a row agree (a smooth
    scroll has ended)."""
    last = [area(w.picture())]

    def same():
        now = area(w.picture())
        before = last[0]
        last[0] = now
        agree = now.height > 0 and (now.width, now.height) == (before.width, before.height) \
            and now.data == before.data
        return now if agree else None
    return wait_for("the picture to settle", same, timeout=timeout, step=0.15)


def judged_until_right(w, area, judge, timeout=15):
    """Judges the settled `area` of the window until `judge` finds no fault
    in it, and gives the last fault (None once right): a relayout a loaded
    machine held back past two agreeing looks is waited for."""
    fault = judge(settled(w, area))
    end = time.monotonic() + timeout
    while fault and time.monotonic() < end:
        time.sleep(0.3)
        fault = judge(settled(w, area))
    return fault


def dialog(d, title, timeout=15):
    """The dialog titled `title` once it is shown and drawn, with the
    keyboard's focus."""
    ids = wait_for("the dialog " + title, lambda: d.windows_named("^" + re.escape(title) + "$"),
                   timeout=timeout)
    d.x(["xdotool", "windowfocus", "--sync", ids[0]], check=False)
    settled(Window(d, ids[0]), lambda picture: picture, timeout=timeout)
    return ids[0]


def open_menus(d, process):
    """The process's popup menus: its shown windows that are larger than a
    speck and have no title of their own (GTK names a popup after the
    program, Wine gives it none), each a Window."""
    menus = []
    for wid in d.windows_of(process.pid):
        w = Window(d, wid)
        x, y, width, height = w.geometry()
        if w.title() in ("", "yomite") and min(width, height) > 40 and x >= 0 and y >= 0:
            menus.append(w)
    return menus


def menu_at(d, process, x, y, background, what):
    """The menu whose top-left corner is at screen point (x, y), once shown:
    found by its own window and where it stands, whatever face draws it; its
    own picture shows the menu, not the page (`background`) under it."""
    def found():
        for m in open_menus(d, process):
            mx, my, mw, mh = m.geometry()
            if abs(mx - x) <= 4 and abs(my - y) <= 4 and mh > mw:  # a column of items
                return m
        return None
    menu = wait_for(what, found, timeout=15)
    picture = menu.picture()
    expect(picture.count(background) < picture.width * picture.height // 20,
           "%s: the window shows the page, not a menu" % what)
    return menu


def run_scenario(scenarios, name, make_desktop, prepare=None):
    """Runs one scenario on a desktop of its own: 0 passed, 77 skipped, 1 failed."""
    try:
        with make_desktop() as d:
            if prepare:
                prepare(d)
            scenarios[name](d)
    except Skip as why:
        print("skipped:", why)
        return 77
    except AssertionError as failure:
        print("FAILED:", failure)
        return 1
    print("passed:", name)
    return 0


def full_width(text):
    """ASCII letters and digits in their full-width forms."""
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in text)


def place_book(paragraphs=400):
    """A book long enough for 40 pages and more at the default settings:
    paragraph k begins with its number in full-width digits; "ＭＡＲＫ" is in
    paragraphs 150 and 300; "ＴＲＥＡＳＵＲＥ" stands in paragraph 200 right at
    the end of its first column (twenty full-width characters a column), so a
    column break cuts it. Text (str) with LF line ends."""
    lines = []
    for k in range(paragraphs):
        if k == 200:
            lines.append("　" + "宝" * 16 + "ＴＲＥＡＳＵＲＥを見つけた。")
            continue
        text = "　第%s段。" % full_width(str(k)) + "名前はまだ無い。どこで生れたか頓と見当がつかぬ。" * (k % 3 + 1)
        if k in (150, 300):
            text += "ここにＭＡＲＫがある。"
        lines.append(text)
    return "\n".join(lines) + "\n"


def query(answer):
    """(result, text) of a viewer's answer as gdbus prints it: "(12, 'text')"."""
    m = re.match(r"^\((-?\d+), '(.*)'\)$", answer, re.S)
    if not m:
        raise AssertionError("not an answer: " + answer)
    return int(m.group(1)), m.group(2)


class Picture:
    """RGB pixels of a window or the screen, rows top down."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def count(self, colour, box=None, tolerance=0):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        n = 0
        for y in range(y0, y1):
            row = self.data[3 * (y * self.width + x0):3 * (y * self.width + x1)]
            for i in range(0, len(row), 3):
                if all(abs(row[i + k] - colour[k]) <= tolerance for k in range(3)):
                    n += 1
        return n

    def ink_columns(self, background, box=None):
        """x positions (within box) holding any pixel unlike the background."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        out = []
        for x in range(x0, x1):
            for y in range(y0, y1):
                if self.pixel(x, y) != background:
                    out.append(x)
                    break
        return out

    def differs(self, other, box=None):
        """Pixels that differ between two pictures of the same size, within box."""
        assert (self.width, self.height) == (other.width, other.height)
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        n = 0
        for y in range(y0, y1):
            a = self.data[3 * (y * self.width + x0):3 * (y * self.width + x1)]
            b = other.data[3 * (y * other.width + x0):3 * (y * other.width + x1)]
            if a != b:
                n += sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
        return n


class Window:
    def __init__(self, desktop, wid):
        self.desktop, self.id = desktop, wid

    def geometry(self):
        """(x, y, width, height) of the window on the screen."""
        out = self.desktop.x(["xdotool", "getwindowgeometry", "--shell", self.id]).stdout.decode()
        g = dict(line.split("=", 1) for line in out.split())
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def title(self):
        return self.desktop.x(["xdotool", "getwindowname", self.id]).stdout.decode().strip()

    def picture(self):
        return self.desktop.picture(self.id)

    def key(self, *keys):
        self.desktop.x(["xdotool", "windowfocus", "--sync", self.id], check=False)
        self.desktop.x(["xdotool", "key", "--clearmodifiers", "--delay", "30", *keys])

    def type(self, text):
        self.desktop.x(["xdotool", "windowfocus", "--sync", self.id], check=False)
        self.desktop.x(["xdotool", "type", "--delay", "30", text])

    def click(self, x, y, button=1):
        """A click at window point (x, y)."""
        self.desktop.x(["xdotool", "mousemove", "--window", self.id, str(x), str(y),
                        "click", str(button)])

    def exists(self):
        return self.desktop.x(["xdotool", "getwindowname", self.id], check=False).returncode == 0


class Desktop:
    PROGRAM = "yomite"

    def __init__(self, build_dir):
        if not shutil.which("Xvfb"):
            raise Skip("Xvfb is not installed (scripts/bootstrap installs it)")
        self.build = build_dir
        self.root = tempfile.mkdtemp(prefix="yomite-e2e-")
        self.home = self.mkdir("home")
        self.bin = self.mkdir("bin")
        self.program = os.path.join(self.bin, self.PROGRAM)
        shutil.copy2(os.path.join(build_dir, "apps", "yomite", self.PROGRAM), self.program)
        self.settings = self.settings_file()
        os.makedirs(os.path.dirname(self.settings), exist_ok=True)
        self.processes = []
        self.display = self.start_x()
        self.env = dict(os.environ)
        for key in ["WAYLAND_DISPLAY", "GDK_SCALE", "GDK_DPI_SCALE"]:
            self.env.pop(key, None)
        self.env.update({
            "DISPLAY": self.display,
            "GDK_BACKEND": "x11",
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.mkdir("home/.config"),
            "XDG_DATA_HOME": self.mkdir("home/.local/share"),
            "XDG_CACHE_HOME": self.mkdir("home/.cache"),
            "XDG_DATA_DIRS": self.mkdir("home/.local/share") + ":/usr/local/share:/usr/share",
            "TMPDIR": self.mkdir("tmp"),
            "NO_AT_BRIDGE": "1",
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })

    # --- the desktop ---

    def settings_file(self):
        return os.path.join(self.root, "home", ".config", "yomite", "YOMITE.INI")

    def mkdir(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def file(self, name, data):
        path = os.path.join(self.root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return path

    def start_x(self):
        # Xvfb picks a free display itself and writes its number to the pipe,
        # so tests that start at the same moment never share a server.
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1600x1200x24",
                                 "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.processes.append(xvfb)
        with os.fdopen(read, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start (exit status %s)" % xvfb.poll())
        return ":" + number.decode()

    def start_window_manager(self):
        """openbox on this display, for scenarios that size, maximize or fill
        the screen as a user would; returns once it manages windows."""
        if not shutil.which("openbox"):
            raise Skip("openbox is not installed (scripts/bootstrap installs it)")
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(wm)
        wait_for("openbox", lambda: b"_NET_SUPPORTING_WM_CHECK" in self.x(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout and
            b"not found" not in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                       check=False).stdout)
        # openbox names itself before it has finished starting, and a window
        # mapped in between may never be managed (seen 1 run in 10). A desktop
        # switch is answered only from its event loop: once it is, it runs.
        # (xdotool refuses the switch until the desktops are counted, so it is
        # asked again until it is done.)
        for desktop in ("1", "0"):
            wait_for("openbox on desktop " + desktop, lambda: self.x(
                ["xdotool", "set_desktop", desktop], check=False).returncode == 0 and self.x(
                ["xdotool", "get_desktop"], check=False).stdout.strip() == desktop.encode())

    def x(self, args, check=True):
        return run(args, env=self.env, check=check)

    def picture(self, wid="root"):
        args = ["import", "-window", wid, "-depth", "8"]
        size = run(["xwininfo", "-root"] if wid == "root" else ["xwininfo", "-id", wid],
                   env=self.env).stdout.decode()
        w = int(size.split("Width:")[1].split()[0])
        h = int(size.split("Height:")[1].split()[0])
        data = run(args + ["rgb:-"], env=self.env).stdout
        assert len(data) == 3 * w * h, "picture of %s: %d bytes for %dx%d" % (wid, len(data), w, h)
        return Picture(w, h, data)

    def save_screenshot(self, name):
        """Leaves a PNG for a person to look at when YOMITE_E2E_SHOTS names a folder."""
        folder = os.environ.get("YOMITE_E2E_SHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            run(["import", "-window", "root", os.path.join(folder, name + ".png")], env=self.env)

    # --- viewers ---

    def command_of(self, args):
        """The argument vector that starts the viewer with `args`."""
        return [self.program, *args]

    def start(self, *args, cwd=None):
        """Starts a viewer; returns its process."""
        p = subprocess.Popen(self.command_of(args), env=self.env, cwd=cwd or self.root,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.processes.append(p)
        return p

    def windows_of(self, pid, name=None):
        args = ["xdotool", "search", "--onlyvisible", "--pid", str(pid)]
        if name:
            args += ["--name", name]
        out = self.x(args, check=False).stdout.decode().split()
        return out

    def window_of(self, process, name=None, timeout=15):
        ids = wait_for("a window of %d" % process.pid,
                       lambda: self.windows_of(process.pid, name), timeout=timeout)
        return Window(self, ids[0])

    def windows_named(self, name):
        return self.x(["xdotool", "search", "--onlyvisible", "--name", name],
                      check=False).stdout.decode().split()

    def bus_name(self, pid):
        return "io.github.yomite.Viewer.instance%d" % pid

    def command(self, pid, number):
        """The viewer's Command method: its answer as gdbus prints it."""
        out = run(["gdbus", "call", "--session", "--dest", self.bus_name(pid),
                   "--object-path", "/io/github/yomite/Viewer",
                   "--method", "io.github.yomite.Viewer.Command", str(number)],
                  env=self.env, timeout=30)
        return out.stdout.decode().strip()

    def call(self, pid, method, *args):
        """Another method of the viewer's (Find, AddBookmark) with string arguments."""
        out = run(["gdbus", "call", "--session", "--dest", self.bus_name(pid),
                   "--object-path", "/io/github/yomite/Viewer",
                   "--method", "io.github.yomite.Viewer." + method, *args],
                  env=self.env, timeout=30)
        return out.stdout.decode().strip()

    def on_bus(self, pid):
        out = run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                   "--object-path", "/org/freedesktop/DBus",
                   "--method", "org.freedesktop.DBus.NameHasOwner", self.bus_name(pid)],
                  env=self.env, check=False)
        return b"true" in out.stdout

    def wait_ready(self, process, timeout=15):
        """The viewer's window is shown, it answers on the bus, and its first
        frame (painted from the loop right after) stays as it is."""
        window = self.window_of(process, timeout=timeout)
        wait_for("viewer %d on the bus" % process.pid, lambda: self.on_bus(process.pid),
                 timeout=timeout)
        settled(window, lambda picture: picture, timeout=timeout)
        return window

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class WineDesktop(Desktop):
    """The same desktop for the Windows viewer: `yomite.exe` copied into the
    folder of its own (its YOMITE.INI lives beside it) and started under Wine in
    the prefix the caller names with WINEPREFIX (CTest's "wine" fixture keeps
    one warm for the whole run). There is no session bus: a viewer is ready
    when its window is shown and its first picture stays as it is.

    The viewer runs in the Japanese locale the README asks of its users, the
    one the prefix's fixture compiled into WINEPREFIX/locale (so no locale of
    the machine's is needed); without it, in C.UTF-8."""

    PROGRAM = "yomite.exe"

    def __init__(self, build_dir, wine):
        if not wine or not shutil.which(wine):
            raise Skip("wine is not installed (scripts/bootstrap installs it)")
        if not os.environ.get("WINEPREFIX"):
            raise Skip("WINEPREFIX names no prefix (CTest's wine fixture makes one)")
        self.wine = shutil.which(wine)
        super().__init__(build_dir)
        locales = os.path.join(os.environ["WINEPREFIX"], "locale")
        if os.path.isdir(os.path.join(locales, "ja_JP.UTF-8")):
            self.env.update({"LOCPATH": locales, "LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8"})
        else:
            print("note: no Japanese locale in %s (localedef); the viewer runs in C.UTF-8"
                  % locales)

    def settings_file(self):
        return os.path.join(self.bin, "YOMITE.INI")

    def command_of(self, args):
        return [self.wine, self.program, *args]

    @staticmethod
    def windows_path(path):
        """A Linux path as the Windows program sees it: on Wine's Z: drive."""
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def window_of(self, process, name="Yomite", timeout=30):
        """The shown window of `process` whose title ends with `name`. (xdotool
        takes --pid and --name as either one, so the name is checked here.)
        Starting a Windows program is slow on a busy machine: a longer wait."""
        def found():
            return [wid for wid in self.windows_of(process.pid)
                    if Window(self, wid).title().endswith(name)]
        ids = wait_for("a window of %d" % process.pid, found, timeout=timeout)
        return Window(self, ids[0])

    def wait_ready(self, process, timeout=30):
        window = self.window_of(process, timeout=timeout)
        last = [None]

        def painted():
            # The first frame: a picture with more than one colour that two
            # looks in a row agree on.
            now = window.picture()
            same = last[0] is not None and now.differs(last[0]) == 0
            last[0] = now
            return same and now.data != bytes(now.pixel(0, 0)) * (now.width * now.height)
        wait_for("the first frame of %d" % process.pid, painted, timeout=timeout, step=0.2)
        return window
