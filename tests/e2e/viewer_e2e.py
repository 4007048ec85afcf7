#!/usr/bin/env python3
"""The real `yomite` on Xvfb and a session bus, driven with xdotool and judged
from what the screen shows.

    dbus-run-session -- python3 viewer_e2e.py BUILD_DIR SCENARIO

Each scenario runs on a desktop of its own (desktop.py). Exit status 0 passes,
77 skips (no X server program), anything else fails.
"""

import os
import re
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Desktop, Picture, Skip, Window, dialog, expect, menu_at,  # noqa: E402
                     judged_until_right, open_menus, place_book, query, run, run_scenario,
                     settled, wait_for)

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SAMPLE = os.path.join(SOURCE, "samples", "yomite-no-hon.txt")
# The default colours: white text on dark blue (stored "7F0000"), green anchors.
BACK = (0x00, 0x00, 0x7F)
LINK = (0x00, 0xFF, 0x00)
# IPAGothic at 18 px: half width 9, ruby 10, so a column of 40 half widths
# is 9 * (40 + 8) = 432 px long and the column pitch 10 + 18 + 2 = 30 px.
COLUMN = 432
PITCH = 30


def sjis(text):
    return text.replace("\n", "\r\n").encode("cp932")


def render(d, args, size):
    """The page yomite-render draws for the same settings, as a Picture."""
    renderer = os.path.join(d.bin, "yomite-render")
    if not os.path.exists(renderer):
        shutil.copy2(os.path.join(d.build, "apps", "yomite-render", "yomite-render"), renderer)
    out = os.path.join(d.root, "render.png")
    run([renderer, "--size", "%dx%d" % size, "-o", out, *args], env=d.env)
    data = run(["convert", out, "-depth", "8", "rgb:-"], env=d.env).stdout
    return Picture(size[0], size[1], data)


def text_area(picture):
    """The part of a viewer window above its horizontal scroll bar."""
    return Picture(picture.width, COLUMN, picture.data[:3 * picture.width * COLUMN])


def ink_slots(picture, width):
    """Slots (counted from the right edge) that hold something besides the background."""
    slots = set()
    for x in picture.ink_columns(BACK, (0, 0, width, COLUMN)):
        slots.add((width - 1 - x) // PITCH)
    return slots


# --- scenarios ------------------------------------------------------------------


def sample_opens_vertical(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    expect(w.title() == "yomite-no-hon.txt - Yomite", "title: " + w.title())
    x, y, width, height = w.geometry()
    # Sized to its page: the column's length plus the scroll bar, and as many
    # whole columns as fit 3/2 of that.
    expect(COLUMN < height < COLUMN + 40, "height %d" % height)
    expect(width % PITCH == 0 and abs(width - 3 * height // 2) < PITCH, "width %d" % width)
    shot = settled(w, lambda picture: picture)
    d.save_screenshot("sample")
    ref = render(d, [SAMPLE], (width, COLUMN))
    differ = text_area(shot).differs(ref)
    expect(differ == 0, "the window differs from the rendered page in %d pixels" % differ)
    expect(len(ink_slots(shot, width)) > 10, "no columns of text")


def left_scrolls_forward(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    before = text_area(w.picture())
    w.key("Left")
    wait_for("the columns to move", lambda: text_area(w.picture()).differs(before) > 0)
    after = settled(w, text_area)
    width = before.width
    # Forward in vertical writing: the picture moved right by one column.
    moved = Picture(width - PITCH, COLUMN, b"".join(
        after.data[3 * (y * width + PITCH):3 * (y + 1) * width] for y in range(COLUMN)))
    kept = Picture(width - PITCH, COLUMN, b"".join(
        before.data[3 * y * width:3 * (y * width + width - PITCH)] for y in range(COLUMN)))
    expect(moved.differs(kept) == 0, "Left did not move the columns one place to the right")
    expect(after.differs(before) > 0, "nothing moved")
    w.key("Right")
    wait_for("Right to come back", lambda: text_area(w.picture()).differs(before) == 0)


def ctrl_end_shows_the_last_column(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    width = w.geometry()[2]
    w.key("ctrl+End")
    try:
        wait_for("only the last column", lambda: ink_slots(w.picture(), width) == {0}, timeout=5)
    except AssertionError:
        slots = sorted(ink_slots(w.picture(), width))
        raise AssertionError("after Ctrl+End ink in slots %s, not only the first" % slots)
    w.key("ctrl+Home")
    wait_for("Ctrl+Home to come back", lambda: len(ink_slots(w.picture(), width)) > 10, timeout=5)


def automatic_scroll_runs_until_escape(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    first = w.picture()
    w.key("shift+ctrl+Left")
    w.key("1")  # the slowest speed: 50 ms a pixel step, the short sample lasts
    wait_for("the automatic scroll to move", lambda: w.picture().differs(first) > 0)
    moving = w.picture()
    wait_for("the automatic scroll to move on", lambda: w.picture().differs(moving) > 0)
    w.key("Escape")  # taken by the scroll: it stops, the window stays
    # Stopped: two looks in a row agree, where a step came every 50 ms.
    settled(w, lambda picture: picture)
    expect(viewer.poll() is None, "Esc closed the viewer instead of stopping the scroll")
    w.key("Escape")
    expect(viewer.wait(10) == 0, "the second Esc did not close the viewer")


LINKS_TEXT = """｛リンク http://example.org/yomite｝ウェブの頁を開く｛/リンク｝
｛リンク {program}｝動かしてはいけない｛/リンク｝
｛脚注 注の本文はここに出る。｝注のある言葉｛/脚注｝
"""


def stub_handler(d):
    """A desktop whose handler for every link kind writes what it was given."""
    log = os.path.join(d.root, "opened.txt")
    stub = d.file("bin/stub-open", "#!/bin/sh\necho \"$@\" >> '%s'\n" % log)
    os.chmod(stub, 0o755)
    kinds = ["x-scheme-handler/http", "x-scheme-handler/https", "text/plain",
             "application/x-shellscript", "application/x-executable"]
    d.file("home/.local/share/applications/stub-open.desktop",
           "[Desktop Entry]\nType=Application\nName=Stub\nExec=%s %%u\nMimeType=%s;\n"
           % (stub, ";".join(kinds)))
    d.file("home/.config/mimeapps.list", "[Default Applications]\n" +
           "".join("%s=stub-open.desktop\n" % k for k in kinds))
    return log


def read(path):
    return open(path, encoding="utf-8").read() if os.path.exists(path) else ""


def links_and_footnotes(d):
    log = stub_handler(d)
    program = d.file("bin/danger.sh", "#!/bin/sh\ntouch '%s/ran'\n" % d.root)
    os.chmod(program, 0o755)
    text = d.file("links.txt", sjis(LINKS_TEXT.replace("{program}", program)))
    viewer = d.start(text)
    w = d.wait_ready(viewer)
    shot = w.picture()
    width = shot.width
    # Anchors are drawn in the link colour, one line per column from the right.
    for slot in range(3):
        box = (width - (slot + 1) * PITCH, 0, width - slot * PITCH, COLUMN)
        expect(shot.count(LINK, box, tolerance=40) > 20, "no anchor in column %d" % slot)

    def anchor_point(slot):
        return width - slot * PITCH - 10 - 9, 10 + 18 * 2 + 9

    w.click(*anchor_point(0))
    wait_for("the http link handed to the desktop",
             lambda: "http://example.org/yomite" in read(log), timeout=10)
    w.click(*anchor_point(1))
    # The note's click comes after the program link's: once its window shows,
    # the viewer has taken the link's click too.
    w.click(*anchor_point(2))
    note = wait_for("the note window", lambda: d.windows_named("Yomite 注釈"), timeout=10)
    expect(program not in read(log), "a link to a program was handed to the desktop")
    expect(not os.path.exists(os.path.join(d.root, "ran")), "the program ran")
    d.save_screenshot("note")
    d.x(["xdotool", "windowfocus", "--sync", note[0]], check=False)
    d.x(["xdotool", "key", "Return"])
    wait_for("the note window to close", lambda: not d.windows_named("Yomite 注釈"), timeout=10)


def locked_text_asks_once(d):
    source = d.file("secret-source.txt", sjis("秘密の本文です。\n二行目。\n" * 20))
    locked = os.path.join(d.root, "secret.txt")
    out = run([os.path.join(d.build, "apps", "yomiseal", "yomiseal"), "-P8", source, locked],
              env=d.env).stdout.decode()
    password = re.search(r"\b([0-9A-F]{8})\b", out).group(1)
    viewer = d.start(locked)
    prompt = wait_for("the password prompt", lambda: d.windows_named("Yomite パスワード入力"),
                      timeout=15)
    d.save_screenshot("password")
    d.x(["xdotool", "windowfocus", "--sync", prompt[0]], check=False)
    d.x(["xdotool", "type", "--delay", "30", password])
    d.x(["xdotool", "key", "Return"])
    w = d.wait_ready(viewer)
    wait_for("the locked text", lambda: len(ink_slots(w.picture(), w.picture().width)) > 5)
    w.key("F5")  # the reload tries the remembered password first
    # A bus call is answered from the viewer's loop, after the key it had.
    d.command(viewer.pid, 1)
    expect(not d.windows_named("Yomite パスワード入力"), "asked for the password again")
    wait_for("the text after a reload",
             lambda: len(ink_slots(w.picture(), w.picture().width)) > 5)


def escape_closes_and_history_keeps_the_mark(d):
    viewer = d.start(SAMPLE, "-J45")  # line 44: page 3 at 20 columns a page
    w = d.wait_ready(viewer)
    w.key("m")
    w.key("Escape")
    expect(viewer.wait(10) == 0, "the viewer did not end cleanly")
    settings = read(d.settings)
    expect('01F="%s"' % SAMPLE in settings, "history lacks the file:\n" + settings)
    expect("01M=3" in settings, "history lacks the mark's page:\n" + settings)


def settings_change_reaches_the_other_viewer(d):
    first = d.start(SAMPLE)
    a = d.wait_ready(first)
    expect(a.picture().count(BACK) > 1000, "not the default background")
    with open(d.settings, "w") as f:
        f.write("[Color]\nBack=00FF00\n")  # green, blue first
    second = d.start(SAMPLE, "/X0", "/Y600")  # below the first: both in sight
    b = d.wait_ready(second)
    # The second viewer writes its settings (as the dot-count menu item does);
    # the notice makes the first one read them and repaint.
    d.command(second.pid, 101)
    green = (0x00, 0xFF, 0x00)
    wait_for("the first viewer to take the green background",
             lambda: a.picture().count(green) > 1000, timeout=10)
    expect(b.picture().count(green) > 1000, "the writer itself did not repaint")


def bus_query_and_command(d):
    viewer = d.start(SAMPLE)
    d.wait_ready(viewer)
    answer = d.command(viewer.pid, 1)
    expect(answer == "(1, '%s')" % SAMPLE, "file-name query answered " + answer)
    answer = d.command(viewer.pid, 2)
    expect(answer.startswith("(0,"), "query 2 answered " + answer)
    d.command(viewer.pid, 137)
    expect(viewer.wait(10) == 0, "command 137 did not close the viewer")

    empty = d.start()
    d.wait_ready(empty)
    answer = d.command(empty.pid, 1)
    expect(answer == "(1, '')", "an empty viewer answered " + answer)


def dropped_files_start_viewers(d):
    other = os.path.join(SOURCE, "samples", "sen-wo-hiku.txt")
    utf8 = os.path.join(SOURCE, "samples", "yomite-no-hon.utf8.txt")
    dropper = os.path.join(d.build, "tests", "e2e", "xdnd_drop")
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    run([dropper, w.id, "100", "100", other, utf8], env=d.env)
    for title in ["sen-wo-hiku.txt - Yomite", "yomite-no-hon.utf8.txt - Yomite"]:
        wait_for(title, lambda: d.windows_named("^" + re.escape(title) + "$"), timeout=15)
    expect(viewer.poll() is None, "a viewer showing a file closed after a drop")

    empty = d.start()
    e = d.wait_ready(empty)
    run([dropper, e.id, "50", "50", other], env=d.env)
    expect(empty.wait(15) == 0, "the empty viewer did not make way for the dropped file")
    wait_for("three viewers of the dropped file",
             lambda: len(d.windows_named("^sen-wo-hiku.txt - Yomite$")) == 2, timeout=15)


# --- commands, the menu and the dialogs ---


def menu_key(d, viewer, *keys):
    """Keys typed into the viewer's context menu (a popup the pointer does not
    own) once it is shown."""
    wait_for("the menu", lambda: open_menus(d, viewer))
    d.x(["xdotool", "key", "--delay", "80", *keys])


def context_menu_opens_at_the_pointer(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    x, y, _, _ = w.geometry()
    w.click(300, 200, 3)
    menu_at(d, viewer, x + 300, y + 200, BACK, "the menu at the pointer")
    d.save_screenshot("menu")
    d.x(["xdotool", "key", "Escape"])
    wait_for("Esc to close the menu", lambda: not open_menus(d, viewer))
    # The Menu key opens it at the window's corner; its mnemonics work.
    w.key("Menu")
    menu_at(d, viewer, x, y, BACK, "the menu at the window's corner")
    d.x(["xdotool", "key", "w"])
    dialog(d, "Yomite 文字数設定")
    d.x(["xdotool", "key", "Escape"])


def width_dialog_lays_the_page_out_again(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    _, _, width, height = w.geometry()
    w.key("w")
    dialog(d, "Yomite 文字数設定")
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", "30"])
    d.x(["xdotool", "key", "Return"])
    # 30 half widths: a column of 9 * (30 + 8) = 342 px.
    wait_for("the shorter page", lambda: w.geometry()[3] == height - 90, timeout=10)
    ref = render(d, ["-W30", SAMPLE], (w.picture().width, COLUMN - 90))

    def page_at_30():
        shot = w.picture()
        return Picture(shot.width, COLUMN - 90, shot.data[:3 * shot.width * (COLUMN - 90)])
    wait_for("the page at 30 to be the rendered one", lambda: page_at_30().differs(ref) == 0)


def font_chooser_switches_the_writing_direction(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    w.key("f")
    dialog(d, "フォントの選択")
    d.x(["xdotool", "key", "alt+v"])  # 縦書き off
    d.x(["xdotool", "key", "Return"])
    # Rows: the vertical bar shows at the right and the window is as wide as
    # a row (432 px) and its bar.
    wait_for("horizontal writing", lambda: w.geometry()[2] < 480, timeout=10)
    d.save_screenshot("horizontal")
    w.key("f")
    dialog(d, "フォントの選択")
    d.x(["xdotool", "key", "alt+v"])
    d.x(["xdotool", "key", "Return"])
    wait_for("vertical writing again", lambda: w.geometry()[2] > 600, timeout=10)


def settings_justification_changes_the_page(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    before = w.picture()
    w.key("s")
    dialog(d, "Yomite 設定")
    d.x(["xdotool", "key", "alt+j"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the page without justification", lambda: w.picture().differs(before) > 0, timeout=10)
    # The page may be drawn again before the settings file is written.
    wait_for("justification off written", lambda: "Justify=0" in read(d.settings), timeout=10)
    ref = render(d, [SAMPLE], (before.width, COLUMN))
    expect(text_area(w.picture()).differs(ref) == 0, "the page is not the one drawn unjustified")


def colour_in_one_viewer_repaints_another(d):
    first = d.start(SAMPLE)
    a = d.wait_ready(first)
    second = d.start(SAMPLE, "/X0", "/Y600")
    b = d.wait_ready(second)
    b.click(300, 200, 3)
    menu_key(d, second, "b")  # 背景色(&B)...
    chooser = dialog(d, "色の選択")
    before = Window(d, chooser).picture()
    d.x(["xdotool", "key", "Right", "space"])  # the next colour of the palette
    wait_for("the next colour chosen", lambda: Window(d, chooser).picture().differs(before) > 0)
    d.x(["xdotool", "key", "Return"])
    wait_for("the other viewer's new background", lambda: a.picture().count(BACK) < 1000,
             timeout=10)
    expect(a.picture().pixel(5, 5) == b.picture().pixel(5, 5), "the two backgrounds differ")


def editor_gets_the_file_or_says_it_cannot(d):
    log = os.path.join(d.root, "edited.txt")
    editor = d.file("bin/my editor", "#!/bin/sh\nprintf '%%s\\n' \"$@\" > '%s'\n" % log)
    os.chmod(editor, 0o755)
    book = d.file("a book 罪と罰.txt", sjis("本文\n"))
    with open(d.settings, "w") as f:
        f.write('[Tool]\nEditor=*"%s" --new\n' % editor)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    w.key("e")
    wait_for("the editor", lambda: read(log), timeout=10)
    expect(read(log) == "--new\n%s\n" % book, "the editor got " + repr(read(log)))
    w.key("s")
    dialog(d, "Yomite 設定")
    d.x(["xdotool", "key", "alt+e", "ctrl+a"])
    d.x(["xdotool", "type", "/no/such/editor"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the settings dialog to close", lambda: not d.windows_named("^Yomite 設定$"))
    w.key("e")
    dialog(d, "起動できません")
    d.save_screenshot("editor-failed")
    d.x(["xdotool", "key", "Return"])


def a_file_that_cannot_be_shown_is_said(d):
    history = '[History]\n01F="%s"\n01M=0\n' % SAMPLE
    folder = d.mkdir("a folder.txt")
    for name, why in (("/no/such/book.txt", "見つかりません"), (folder, "フォルダーです")):
        with open(d.settings, "w") as f:
            f.write(history)
        viewer = d.start(name)
        box = wait_for("the message " + why, lambda: d.windows_named(why), timeout=15)
        d.save_screenshot("refused")
        d.x(["xdotool", "windowfocus", "--sync", box[0]], check=False)
        d.x(["xdotool", "key", "Return"])
        expect(viewer.wait(10) == 1, "the viewer did not end with 1")
        expect(read(d.settings) == history, "the history changed:\n" + read(d.settings))


def history_entry_of_an_empty_viewer_opens_where_it_stood(d):
    with open(d.settings, "w") as f:
        f.write('[History]\n01F="%s"\n01M=0\n' % SAMPLE)
    empty = d.start()
    e = d.wait_ready(empty)
    d.x(["xdotool", "windowmove", "--sync", e.id, "240", "160"])
    wait_for("the window moved", lambda: e.geometry()[:2] == (240, 160))
    x, y, _, _ = e.geometry()
    e.click(100, 100, 3)
    menu_key(d, empty, "h", "1")  # 履歴(&H), then its first entry
    expect(empty.wait(15) == 0, "the empty viewer stayed")
    ids = wait_for("the sample's viewer",
                   lambda: d.windows_named("^yomite-no-hon.txt - Yomite$"), timeout=15)
    nx, ny, _, _ = Window(d, ids[0]).geometry()
    expect((nx, ny) == (x, y), "opened at (%d, %d), not at (%d, %d)" % (nx, ny, x, y))


def archive_opens_and_leaves_nothing_behind(d):
    novel = os.path.join(SOURCE, "..", "shared", "testdata", "aozora", "tsumito_batsu.zip")
    if not os.path.exists(novel):
        raise Skip("needs ../shared/testdata/aozora/tsumito_batsu.zip beside the project")
    novel = os.path.realpath(novel)
    viewer = d.start(novel)
    w = d.wait_ready(viewer)
    expect(w.title() == "tsumito_batsu.zip - Yomite", "title: " + w.title())
    expect(len(ink_slots(w.picture(), w.picture().width)) > 10, "the novel is not shown")
    unpacked = [f for _, _, files in os.walk(d.env["TMPDIR"]) for f in files]
    expect("tsumito_batsu.txt" in unpacked, "no unpacked text while it is shown")
    w.key("Escape")
    expect(viewer.wait(10) == 0, "the viewer did not end cleanly")
    left = [f for _, _, files in os.walk(d.env["TMPDIR"]) for f in files]
    expect("tsumito_batsu.txt" not in left, "the unpacked text was left behind")
    expect('01F="%s"' % novel in read(d.settings), "the history does not keep the archive")


def archive_with_a_long_entry_name_opens(d):
    """An entry name longer than a Linux file name may be (fine on Windows)
    is shortened for the unpacked copy: the text is shown, not the archive's
    bytes, and the title and the file-name query name the archive."""
    archive = os.path.join(d.root, "long.zip")
    with zipfile.ZipFile(archive, "w") as z:
        z.write(SAMPLE, "漢" * 100 + ".txt")  # 304 bytes of UTF-8
    viewer = d.start(archive)
    w = d.wait_ready(viewer)
    expect(w.title() == "long.zip - Yomite", "title: " + w.title())
    answer = d.command(viewer.pid, 1)
    expect(answer == "(1, '%s')" % archive, "file-name query answered " + answer)
    shot = settled(w, lambda picture: picture)
    ref = render(d, [SAMPLE], (shot.width, COLUMN))
    differ = text_area(shot).differs(ref)
    expect(differ == 0, "the window differs from the sample's page in %d pixels" % differ)


# --- the window's extensions ---


def dump_lines(d, args):
    """yomite-render's display lines for the sample: (flags, text) each."""
    renderer = os.path.join(d.build, "apps", "yomite-render", "yomite-render")
    out = run([renderer, "--dump-lines", *args, SAMPLE], env=d.env).stdout.decode()
    return [tuple(line.split("\t", 2)[1:]) for line in out.splitlines()]


def place_of(lines, index):
    """(logical line, offset) of the first character of display line `index`."""
    paragraph = offset = 0
    for flags, text in lines[:index]:
        offset += len(text)
        if "P" in flags:
            paragraph, offset = paragraph + 1, 0
    return paragraph, offset


def line_of(lines, place):
    for index in range(len(lines)):
        paragraph, offset = place_of(lines, index)
        if (paragraph, offset + len(lines[index][1])) > place or \
                (paragraph == place[0] and "P" in lines[index][0]):
            return index
    return None


def area_of(picture, height):
    return Picture(picture.width, height, picture.data[:3 * picture.width * height])


def maximize_offered(d, w):
    """Whether the window's frame hints offer maximize (its function and button)."""
    hints = d.x(["xprop", "-id", w.id, "_MOTIF_WM_HINTS"]).stdout.decode()
    _, functions, decorations = [int(n, 16) for n in hints.split("=")[1].split(",")[:3]]
    return bool(functions & 0x10) and bool(decorations & 0x40)


def maximize_button(d, w):
    """Clicks openbox's maximize button, left of the close button on the
    title bar. (xdotool gives a framed window's place one frame too far
    down and right.)"""
    x, y, width, _ = w.geometry()
    extents = d.x(["xprop", "-id", w.id, "_NET_FRAME_EXTENTS"]).stdout.decode()
    left, _, top, _ = [int(n) for n in extents.split("=")[1].split(",")]
    d.x(["xdotool", "mousemove", str(x - left + width - 27), str(y - top - top // 2), "click",
         "1"])


def fit_to_window_follows_the_window(d):
    d.start_window_manager()
    viewer = d.start(SAMPLE, "-J21")  # page 2: the place to keep
    w = d.wait_ready(viewer)
    _, _, width, height = w.geometry()
    bar = height - COLUMN
    # Off (the default): the window asks for a frame without maximize.
    expect(not maximize_offered(d, w), "maximize offered while fit to window is off")
    w.key("Menu")
    menu_key(d, viewer, "g")  # ウィンドウに合わせて組む(&G)
    wait_for("the setting written", lambda: "FitToWindow=1" in read(d.settings), timeout=10)
    wait_for("maximize offered", lambda: maximize_offered(d, w), timeout=10)
    # The user halves the window: the columns end inside it, the place is kept.
    d.x(["xdotool", "windowsize", "--sync", w.id, str(width // 2), str(height // 2)])
    wait_for("the half window", lambda: w.geometry()[2:] == (width // 2, height // 2))
    client = height // 2 - bar
    chars, pages = client // 9 - 8, (width // 2) // PITCH
    before = dump_lines(d, [])
    after = dump_lines(d, ["-W%d" % chars, "-H%d" % pages])
    top = line_of(after, place_of(before, 20))
    expect(top is not None, "the first character shown is not in the new layout")
    ref = render(d, ["-W%d" % chars, "-H%d" % pages, "-J%d" % (top + 1), SAMPLE],
                 (width // 2, client))

    def judge(shot):
        differ = shot.differs(ref)
        return differ and "the half window differs from its page (feet, page numbers, place) " \
            "in %d pixels" % differ
    fault = judged_until_right(w, lambda picture: area_of(picture, client), judge)
    d.save_screenshot("fit-half")
    expect(not fault, fault)
    # Maximized, the page fills the screen's work area.
    maximize_button(d, w)
    wait_for("the maximized window", lambda: w.geometry()[2] > 1200, timeout=10)
    _, _, big_width, big_height = w.geometry()
    shot = settled(w, lambda picture: area_of(picture, big_height - bar))
    expect(len(ink_slots(shot, big_width)) > 30, "the maximized page has few columns")


def f11_fills_the_screen(d):
    d.start_window_manager()
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    _, _, width, height = w.geometry()
    bar = height - COLUMN
    w.key("F11")
    wait_for("the full screen", lambda: w.geometry()[2:] == (1600, 1200), timeout=10)
    client = 1200 - bar
    ref = render(d, ["-W%d" % (client // 9 - 8), "-H%d" % (1600 // PITCH), SAMPLE], (1600, client))

    def judge(shot):
        differ = shot.differs(ref)
        return differ and "the full screen differs from its page in %d pixels" % differ
    fault = judged_until_right(w, lambda picture: area_of(picture, client), judge)
    d.save_screenshot("full-screen")
    expect(not fault, fault)
    w.key("F11")
    wait_for("the window again", lambda: w.geometry()[2:] == (width, height), timeout=10)
    expect("FitToWindow" not in read(d.settings), "full screen wrote a setting")


# The dark set: light text on a dark background, links in light blue
# (as RRGGBB options), stored blue first.
DARK_OPTIONS = ["-B1E1E1E", "-CE0E0E0", "-L66C8FF"]
DARK_BACK = (0x1E, 0x1E, 0x1E)


def dark_colour_set(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    width = w.geometry()[2]
    w.key("Menu")
    menu_key(d, viewer, "k", "n")  # 配色(&K), 夜(&N)
    wait_for("the dark page", lambda: text_area(w.picture()).count(DARK_BACK) > 100000, timeout=10)
    shot = settled(w, text_area)
    d.save_screenshot("dark")
    ref = render(d, DARK_OPTIONS + [SAMPLE], (width, COLUMN))
    expect(shot.differs(ref) == 0, "the dark page is not the one drawn in its colours")
    settings = read(d.settings)
    expect("Fore=E0E0E0" in settings and "Back=1E1E1E" in settings, "not stored:\n" + settings)


def start_portal(d, scheme):
    portal = subprocess.Popen([os.path.join(d.build, "tests", "e2e", "test_portal"), str(scheme)],
                              env=d.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    d.processes.append(portal)
    expect(portal.stdout.readline().strip() == b"ready", "the test portal did not start")
    return portal


def follow_the_desktop(d):
    portal = start_portal(d, 0)  # light
    with open(d.settings, "w") as f:
        f.write("[Color]\nFollowDesktop=1\n")
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    white = (0xFF, 0xFF, 0xFF)
    expect(text_area(w.picture()).count(white) > 100000, "not the light set on a light desktop")
    portal.stdin.write(b"1\n")  # the desktop turns dark
    portal.stdin.flush()
    expect(portal.stdout.readline().strip() == b"changed 1", "the portal did not say so")
    wait_for("the dark page", lambda: text_area(w.picture()).count(DARK_BACK) > 100000, timeout=10)
    d.save_screenshot("desktop-dark")
    ref = render(d, DARK_OPTIONS + [SAMPLE], (w.geometry()[2], COLUMN))
    expect(settled(w, text_area).differs(ref) == 0, "the page is not the dark set's")
    wait_for("the dark set stored", lambda: "Back=1E1E1E" in read(d.settings), timeout=10)


def ruby_hidden_and_inline(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    width = w.geometry()[2]
    before = text_area(w.picture())
    w.key("Menu")
    menu_key(d, viewer, "r", "h")  # ルビ(&R), ルビを隠す(&H)
    wait_for("the page without readings", lambda: text_area(w.picture()).differs(before) > 0,
             timeout=10)
    ref = render(d, ["-U1", SAMPLE], (width, COLUMN))
    expect(settled(w, text_area).differs(ref) == 0, "the page is not the one without readings")
    expect("RubyMode=1" in read(d.settings), "the mode was not written")
    w.key("Menu")
    menu_key(d, viewer, "r", "i")  # ルビを括弧で本文に(&I)
    ref = render(d, ["-U2", SAMPLE], (width, COLUMN))
    wait_for("the page with readings inline",
             lambda: text_area(w.picture()).differs(ref) == 0, timeout=10)
    d.save_screenshot("ruby-inline")


def find_picture(big, small):
    """Where `small` lies pixel for pixel inside `big` (x, y), or None."""
    first = small.data[:3 * small.width]
    for y in range(big.height - small.height + 1):
        row = big.data[3 * y * big.width:3 * (y + 1) * big.width]
        at = row.find(first)
        while at >= 0:
            if at % 3 == 0:
                x = at // 3
                if all(big.data[3 * ((y + k) * big.width + x):3 * ((y + k) * big.width + x +
                                                                    small.width)] ==
                       small.data[3 * k * small.width:3 * (k + 1) * small.width]
                       for k in range(small.height)):
                    return x, y
            at = row.find(first, at + 1)
    return None


def wayland_first_frame_is_the_page(d):
    """The viewer on weston's headless compositor (no X server, no input at
    all): its first frame is yomite-render's page, and GDK says nothing."""
    if not shutil.which("weston") or not shutil.which("weston-screenshooter"):
        raise Skip("weston is not installed (scripts/bootstrap installs it)")
    runtime = d.mkdir("runtime")
    os.chmod(runtime, 0o700)
    env = dict(d.env, XDG_RUNTIME_DIR=runtime)
    env.pop("DISPLAY", None)
    weston = subprocess.Popen(["weston", "--backend=headless-backend.so", "--use-pixman",
                               "--socket=wayland-yomite", "--debug", "--width=1024",
                               "--height=768", "--idle-time=0"], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    d.processes.append(weston)
    wait_for("weston", lambda: os.path.exists(os.path.join(runtime, "wayland-yomite")))
    env.update({"WAYLAND_DISPLAY": "wayland-yomite", "GDK_BACKEND": "wayland"})
    viewer = subprocess.Popen([d.program, SAMPLE], env=env, cwd=d.root, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    d.processes.append(viewer)
    wait_for("the viewer on the bus", lambda: d.on_bus(viewer.pid), timeout=15)
    ref = render(d, [SAMPLE], (660, COLUMN))
    shots = d.mkdir("shots")

    def page_on_screen():
        for name in os.listdir(shots):
            os.remove(os.path.join(shots, name))
        subprocess.run(["weston-screenshooter"], env=env, cwd=shots, timeout=20,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        names = os.listdir(shots)
        if not names:
            return None
        path = os.path.join(shots, names[0])
        size = run(["identify", "-format", "%w %h", path], env=d.env).stdout.decode().split()
        data = run(["convert", path, "-depth", "8", "rgb:-"], env=d.env).stdout
        return find_picture(Picture(int(size[0]), int(size[1]), data), ref)
    wait_for("the page on the screen", page_on_screen, timeout=15, step=0.5)
    viewer.terminate()
    err = viewer.communicate(timeout=10)[1].decode()
    expect("CRITICAL" not in err and "WARNING" not in err, "GDK said:\n" + err)


# --- the reader's place, bookmarks and search (extensions) ---

# The queries of viewer/reader_queries.h.
TOP_LINE, PLACE, PAGE, BOOKMARKS, STATUS, MATCH = 50, 51, 52, 58, 59, 60


def ask(d, viewer, code):
    return query(d.command(viewer.pid, code))


def page_of(d, viewer):
    return ask(d, viewer, PAGE)[0]


def anchor(d, viewer):
    """(logical line, offset, words) of the first character shown."""
    logical, offset, words = ask(d, viewer, PLACE)[1].split(",", 2)
    return int(logical), int(offset), words


def place_book_file(d):
    return d.file("book.txt", sjis(place_book()))


def jump_to_page(d, w, page):
    w.key("p")
    dialog(d, "ページ移動")
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", str(page)])
    d.x(["xdotool", "key", "Return"])


def text_holds(shown, words, logical, offset):
    """The place (logical, offset, words) is in the column at the top:
    the top column starts at or before it in its logical line, and no more
    than a column's characters before."""
    return shown[0] == logical and shown[1] <= offset < shown[1] + 40


def reading_place_survives_close_and_relayout(d):
    book = place_book_file(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 30)
    wait_for("page 30", lambda: page_of(d, viewer) == 30)
    before = anchor(d, viewer)
    w.key("Escape")
    expect(viewer.wait(10) == 0, "the viewer did not end cleanly")
    expect("01P=%d,%d," % before[:2] in read(d.settings), "no place in the history:\n" + read(d.settings))

    viewer = d.start(book)
    w = d.wait_ready(viewer)
    expect(page_of(d, viewer) == 30, "reopened on page %d, not 30" % page_of(d, viewer))
    expect(anchor(d, viewer) == before, "reopened at %s, not %s" % (anchor(d, viewer), before))
    shot = settled(w, text_area)
    d.save_screenshot("resumed")
    ref = render(d, ["--page", "30", book], (shot.width, COLUMN))
    expect(shot.differs(ref) == 0, "page 30 is not the page drawn for it")

    # Narrower columns, then a larger font: the first words stay in sight.
    w.key("w")
    dialog(d, "Yomite 文字数設定")
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", "30"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the narrower columns", lambda: anchor(d, viewer) != before, timeout=10)
    after = anchor(d, viewer)
    expect(text_holds(after, *before[2:], before[0], before[1]),
           "after the width change the top is %s, the place %s" % (after, before))
    size = w.geometry()[2:]
    w.key("bracketright")
    wait_for("the larger font", lambda: w.geometry()[2:] != size, timeout=10)
    larger = anchor(d, viewer)
    expect(text_holds(larger, *before[2:], before[0], before[1]),
           "after the font change the top is %s, the place %s" % (larger, before))
    d.save_screenshot("relayout")


def bookmarks_are_listed_and_jump(d):
    book = place_book_file(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 5)
    wait_for("page 5", lambda: page_of(d, viewer) == 5)
    w.key("b")
    dialog(d, "Yomite しおり")
    d.save_screenshot("bookmark-prompt")
    d.x(["xdotool", "key", "Return"])  # the first words there as its name
    wait_for("the first bookmark", lambda: ask(d, viewer, BOOKMARKS)[0] == 1)
    first_line = ask(d, viewer, TOP_LINE)[0]
    jump_to_page(d, w, 12)
    wait_for("page 12", lambda: page_of(d, viewer) == 12)
    w.key("ctrl+b")  # letters act whatever modifier is held
    dialog(d, "Yomite しおり")
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", "second"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the second bookmark", lambda: ask(d, viewer, BOOKMARKS)[0] == 2)
    w.key("Escape")
    expect(viewer.wait(10) == 0, "the viewer did not end cleanly")

    viewer = d.start(book)
    w = d.wait_ready(viewer)
    count, rows = ask(d, viewer, BOOKMARKS)
    expect(count == 2 and "second" in rows, "after reopening: %d bookmarks: %r" % (count, rows))
    w.click(300, 200, 3)
    menu_key(d, viewer, "y")  # しおり一覧(&Y)...
    dialog(d, "Yomite しおり一覧")
    d.save_screenshot("bookmarks")
    # The first row (book order: page 5's) is chosen; Enter jumps there.
    d.x(["xdotool", "key", "Return"])
    wait_for("the jump to the first bookmark",
             lambda: ask(d, viewer, TOP_LINE)[0] == first_line, timeout=10)
    expect(page_of(d, viewer) == 5, "the bookmark's page is %d" % page_of(d, viewer))


def search_finds_highlights_and_goes_on(d):
    book = place_book_file(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    w.key("slash")
    find = dialog(d, "Yomite 検索")
    d.x(["xdotool", "type", "--delay", "60", "mark"])  # the text holds ＭＡＲＫ
    wait_for("the first match", lambda: ask(d, viewer, MATCH)[0] == 2, timeout=10)
    k, line, page = ask(d, viewer, MATCH)[1].split(" ")
    expect(k == "1/2" and int(page) > 1, "the first match: %s on page %s" % (k, page))
    expect(page_of(d, viewer) > 1, "the view stayed on page %d" % page_of(d, viewer))
    # The current match is drawn inverted: the background turns light.
    inverted = (0xFF, 0xFF, 0x80)
    wait_for("the highlighted match", lambda: w.picture().count(inverted) > 30, timeout=10)
    d.save_screenshot("search")
    d.x(["xdotool", "windowfocus", "--sync", find], check=False)
    d.x(["xdotool", "key", "F3"])
    wait_for("the next match", lambda: ask(d, viewer, MATCH)[1].startswith("2/2 "), timeout=10)
    expect(int(ask(d, viewer, MATCH)[1].split(" ")[1]) > int(line), "F3 went back")
    # A word a column break cuts is found as one.
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", "--delay", "60", "treasure"])
    wait_for("the word across the break", lambda: ask(d, viewer, MATCH)[0] == 1, timeout=10)
    cut = int(ask(d, viewer, MATCH)[1].split(" ")[1])
    renderer = os.path.join(d.build, "apps", "yomite-render", "yomite-render")
    lines = run([renderer, "--dump-lines", book], env=d.env).stdout.decode().splitlines()
    expect(lines[cut].split("\t")[2].endswith("ＴＲＥ") or "ＴＲＥＡＳＵＲＥ" not in lines[cut],
           "the match is not cut by a break: " + lines[cut])
    d.x(["xdotool", "key", "Escape"])
    wait_for("the find window to close", lambda: not d.windows_named("^Yomite 検索$"), timeout=10)
    expect(viewer.poll() is None, "Esc in the find window closed the viewer")
    expect(page_of(d, viewer) > 1, "closing the find window left the place")


def the_place_is_shown(d):
    book = place_book_file(d)
    with open(d.settings, "w") as f:
        f.write("[Place]\nStatus=1\n")  # off unless the user shows it
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 7)
    wait_for("page 7", lambda: page_of(d, viewer) == 7)
    page, pages, percent = ask(d, viewer, PAGE)[1].split(" ")
    status = ask(d, viewer, STATUS)[1]
    expect(status == "7 / %s (%s %%)" % ("{:,}".format(int(pages)), percent), "the strip says " + status)
    # The strip lies under the page: the page keeps its size, the window grows.
    _, _, width, height = w.geometry()
    shot = settled(w, lambda picture: picture)
    below = (0, height - 12, width, height - 4)
    expect(len(shot.ink_columns(shot.pixel(width - 2, height - 8), below)) > 10, "no text in the strip")
    d.save_screenshot("strip")
    w.click(300, 200, 3)
    menu_key(d, viewer, "i")  # 位置を表示(&I): hidden
    wait_for("the window without the strip", lambda: w.geometry()[3] < height, timeout=10)
    wait_for("the same page without the strip",
             lambda: text_area(w.picture()).differs(text_area(shot)) == 0, timeout=10)
    wait_for("Status=0 in the settings", lambda: "Status=0" in read(d.settings), timeout=10)


SCENARIOS = {f.__name__: f for f in [
    sample_opens_vertical,
    left_scrolls_forward,
    ctrl_end_shows_the_last_column,
    automatic_scroll_runs_until_escape,
    links_and_footnotes,
    locked_text_asks_once,
    escape_closes_and_history_keeps_the_mark,
    settings_change_reaches_the_other_viewer,
    bus_query_and_command,
    dropped_files_start_viewers,
    context_menu_opens_at_the_pointer,
    width_dialog_lays_the_page_out_again,
    font_chooser_switches_the_writing_direction,
    settings_justification_changes_the_page,
    colour_in_one_viewer_repaints_another,
    editor_gets_the_file_or_says_it_cannot,
    a_file_that_cannot_be_shown_is_said,
    history_entry_of_an_empty_viewer_opens_where_it_stood,
    archive_opens_and_leaves_nothing_behind,
    archive_with_a_long_entry_name_opens,
    fit_to_window_follows_the_window,
    f11_fills_the_screen,
    dark_colour_set,
    follow_the_desktop,
    ruby_hidden_and_inline,
    wayland_first_frame_is_the_page,
    reading_place_survives_close_and_relayout,
    bookmarks_are_listed_and_jump,
    search_finds_highlights_and_goes_on,
    the_place_is_shown,
]}


def main():
    if sys.argv[1:] == ["--list"]:
        print(";".join(SCENARIOS))
        return 0
    build, name = sys.argv[1], sys.argv[2]
    return run_scenario(SCENARIOS, name, lambda: Desktop(build))


if __name__ == "__main__":
    sys.exit(main())
