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
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Desktop, Picture, Skip, dialog, expect, place_book, query,  # noqa: E402
                     run, run_scenario, settled, wait_for)

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
    # The window as the standard gives it: without the strip of an extension.
    with open(d.settings, "w") as f:
        f.write("[Place]\nStatus=0\n")
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
    w.key("shift+ctrl+Left")
    w.key("1")  # the slowest speed: 50 ms a pixel step, the short sample lasts
    time.sleep(0.4)
    first = w.picture()
    time.sleep(0.4)
    expect(w.picture().differs(first) > 0, "the automatic scroll does not move")
    w.key("Escape")  # taken by the scroll: it stops, the window stays
    time.sleep(0.3)
    stopped = w.picture()
    time.sleep(0.4)
    expect(w.picture().differs(stopped) == 0, "Esc did not stop the automatic scroll")
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
    time.sleep(1.5)
    expect(program not in read(log), "a link to a program was handed to the desktop")
    expect(not os.path.exists(os.path.join(d.root, "ran")), "the program ran")

    w.click(*anchor_point(2))
    note = wait_for("the note window", lambda: d.windows_named("Yomite 注釈"), timeout=10)
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
    time.sleep(0.5)
    expect(len(ink_slots(w.picture(), w.picture().width)) > 5, "the locked text is not shown")
    w.key("F5")  # the reload tries the remembered password first
    time.sleep(1.5)
    expect(not d.windows_named("Yomite パスワード入力"), "asked for the password again")
    expect(len(ink_slots(w.picture(), w.picture().width)) > 5, "the text is gone after a reload")


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


def menu_key(d, *keys):
    """Keys typed into the open context menu (a popup the pointer does not own)."""
    time.sleep(0.5)
    d.x(["xdotool", "key", "--delay", "80", *keys])


def context_menu_opens_at_the_pointer(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    before = d.picture()
    w.click(300, 200, 3)
    time.sleep(0.8)
    after = d.picture()
    d.save_screenshot("menu")
    # The menu covers the dark page below and right of the pointer.
    box = (300, 200, 560, 430)
    page = before.count(BACK, box)
    expect(page > 40000, "no page under the pointer")
    expect(after.count(BACK, box) < page // 20, "no menu at the pointer")
    d.x(["xdotool", "key", "Escape"])
    time.sleep(0.5)
    expect(d.picture().count(BACK, box) == page, "Esc did not close the menu")
    # The Menu key opens it at the window's corner; its mnemonics work.
    w.key("Menu")
    menu_key(d, "w")
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
    time.sleep(0.5)
    shot = w.picture()
    ref = render(d, ["-W30", SAMPLE], (shot.width, COLUMN - 90))
    area = Picture(shot.width, COLUMN - 90, shot.data[:3 * shot.width * (COLUMN - 90)])
    expect(area.differs(ref) == 0, "the page at 30 is not the rendered one")


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
    expect("Justify=0" in read(d.settings), "justification off was not written")
    ref = render(d, [SAMPLE], (before.width, COLUMN))
    expect(text_area(w.picture()).differs(ref) == 0, "the page is not the one drawn unjustified")


def colour_in_one_viewer_repaints_another(d):
    first = d.start(SAMPLE)
    a = d.wait_ready(first)
    second = d.start(SAMPLE, "/X0", "/Y600")
    b = d.wait_ready(second)
    b.click(300, 200, 3)
    menu_key(d, "b")  # 背景色(&B)...
    dialog(d, "色の選択")
    d.x(["xdotool", "key", "Right", "space"])  # the next colour of the palette
    time.sleep(0.3)
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
    time.sleep(0.5)
    w.key("e")
    dialog(d, "起動できません")
    d.save_screenshot("editor-failed")
    d.x(["xdotool", "key", "Return"])


def history_entry_of_an_empty_viewer_opens_where_it_stood(d):
    with open(d.settings, "w") as f:
        f.write('[History]\n01F="%s"\n01M=0\n' % SAMPLE)
    empty = d.start()
    e = d.wait_ready(empty)
    d.x(["xdotool", "windowmove", "--sync", e.id, "240", "160"])
    time.sleep(0.3)
    x, y, _, _ = e.geometry()
    e.click(100, 100, 3)
    menu_key(d, "h", "1")  # 履歴(&H), then its first entry
    expect(empty.wait(15) == 0, "the empty viewer stayed")
    ids = wait_for("the sample's viewer",
                   lambda: d.windows_named("^yomite-no-hon.txt - Yomite$"), timeout=15)
    from desktop import Window
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
    menu_key(d, "y")  # しおり一覧(&Y)...
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
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 7)
    wait_for("page 7", lambda: page_of(d, viewer) == 7)
    page, pages, percent = ask(d, viewer, PAGE)[1].split(" ")
    status = ask(d, viewer, STATUS)[1]
    expect(status == "7 / %s (%s %%)" % ("{:,}".format(int(pages)), percent), "the strip says " + status)
    # The strip lies under the page: the page keeps its size, the window grows.
    _, _, width, height = w.geometry()
    shot = w.picture()
    below = (0, height - 12, width, height - 4)
    expect(len(shot.ink_columns(shot.pixel(width - 2, height - 8), below)) > 10, "no text in the strip")
    d.save_screenshot("strip")
    w.click(300, 200, 3)
    menu_key(d, "i")  # 位置を表示(&I): hidden
    wait_for("the window without the strip", lambda: w.geometry()[3] < height, timeout=10)
    expect(text_area(w.picture()).differs(text_area(shot)) == 0, "hiding the strip changed the page")
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
    history_entry_of_an_empty_viewer_opens_where_it_stood,
    archive_opens_and_leaves_nothing_behind,
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
