#!/usr/bin/env python3
"""The Windows viewer, yomite.exe, under Wine on an Xvfb of its own, driven
with xdotool and judged from what the screen shows.

    yomite_wine.py WIN32_BUILD_DIR WINE SCENARIO [LINUX_BUILD_DIR]

WINEPREFIX names a prefix that is ready (CTest's "wine" fixture keeps one warm
for the run). Each scenario runs on a desktop of its own (tests/e2e/desktop.py,
WineDesktop). The fonts are not the Linux build's, so pages are judged by their
shape (which columns hold ink and how far they run, against the page the Linux
yomite-render draws when a Linux build is named; how far a key moves them),
not pixel for pixel.
Exit status 0 passes, 77 skips (no Xvfb or wine), anything else fails.
"""

import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from desktop import (Picture, WineDesktop, dialog, expect, menu_at, open_menus,  # noqa: E402
                     judged_until_right, place_book, run, run_scenario, settled,
                     wait_for)

SOURCE = os.path.abspath(os.path.join(HERE, "..", ".."))
SAMPLE = WineDesktop.windows_path(os.path.join(SOURCE, "samples", "yomite-no-hon.txt"))
TITLE = "yomite-no-hon.txt - Yomite"
# The default colours: white text on dark blue (stored "7F0000").
BACK = (0x00, 0x00, 0x7F)
GREEN = (0x00, 0xFF, 0x00)
# The default face stands in as IPAGothic at 18 px, as on Linux: half width
# 9, ruby 10, so a column of 40 half widths is 9 * (40 + 8) = 432 px long
# and the column pitch 10 + 18 + 2 = 30 px; 10 half widths fewer make a
# column 90 px shorter.
HALF_WIDTH = 9
COLUMN = 432
PITCH = 30
CHAR, RUBY = 18, 10  # px across a column's text and its readings
# The page numbers stand in the last rows of the page, below the columns' ends.
FOOT = 30


def crop(picture, box):
    x0, y0, x1, y1 = box
    w = picture.width
    return Picture(x1 - x0, y1 - y0, b"".join(
        picture.data[3 * (y * w + x0):3 * (y * w + x1)] for y in range(y0, y1)))


def text_area(picture):
    """The page inside the window's sunken edge and above its horizontal
    scroll bar: down to the last row that shows the background."""
    back = bytes(BACK)
    edge = next((k for k in range(min(picture.width, picture.height) // 2)
                 if bytes(picture.pixel(k, k)) == back), None)
    if edge is None:
        return Picture(0, 0, b"")  # not painted yet (a new size, say)
    width = picture.width

    def shows_background(y):
        row = picture.data[3 * (y * width + edge):3 * ((y + 1) * width - edge)]
        return any(row[i:i + 3] == back for i in range(0, len(row), 3))
    bottom = picture.height - edge
    while bottom > edge and not shows_background(bottom - 1):
        bottom -= 1
    return crop(picture, (edge, edge, width - edge, bottom))


def ink_runs(area):
    """Runs (first x, last x) of pixel columns that hold ink, right to left."""
    runs = []
    for x in sorted(area.ink_columns(BACK), reverse=True):
        if runs and runs[-1][0] - x <= 1:
            runs[-1][0] = x
        else:
            runs.append([x, x])
    return [(a, b) for a, b in runs]


def ink_rows(area, box):
    """How many rows of `box` hold ink."""
    x0, y0, x1, y1 = box
    back = bytes(BACK) * (x1 - x0)
    return sum(1 for y in range(y0, y1)
               if area.data[3 * (y * area.width + x0):3 * (y * area.width + x1)] != back)


def vertical_page(area, what):
    """Checks that `area` shows columns: many narrow runs of ink, the first at
    the right edge, and tall ones among them."""
    runs = ink_runs(area)
    expect(len(runs) >= 10, "%s: %d runs of ink, not columns of text" % (what, len(runs)))
    expect(all(first - last < 40 for last, first in runs),
           "%s: ink wider than a column: %s" % (what, runs))
    expect(runs[0][1] > area.width - 60, "%s: the first column is not at the right" % what)
    tall = [r for r in runs if ink_rows(area, (r[0], 0, r[1] + 1, area.height)) > area.height // 2]
    expect(len(tall) >= 5, "%s: only %d columns run down most of the page" % (what, len(tall)))
    return runs


def ink_slots(area, pitch=PITCH):
    """Column slots (counted from the right edge) that hold ink, each with the
    first and last row of its ink."""
    slots = {}
    for last, first in ink_runs(area):
        for x in (last, first):
            slot = (area.width - 1 - x) // pitch
            box = (area.width - (slot + 1) * pitch, 0, area.width - slot * pitch, area.height)
            slots[slot] = ink_extent(area, box)
    return slots


def ink_extent(area, box):
    """(first, last) row of `box` that holds ink."""
    x0, y0, x1, y1 = box
    x0 = max(x0, 0)
    back = bytes(BACK) * (x1 - x0)
    rows = [y for y in range(y0, y1)
            if area.data[3 * (y * area.width + x0):3 * (y * area.width + x1)] != back]
    return (rows[0], rows[-1]) if rows else None


def linux_page(d, area, args, what, linux_path=None):
    """The page the Linux build draws for the same settings at the size of
    `area`, or None without a Linux build beside this one."""
    renderer = os.path.join(d.linux_build or "", "apps", "yomite-render", "yomite-render")
    if not os.path.exists(renderer):
        print("note: no Linux yomite-render to compare %s with" % what)
        return None
    out = os.path.join(d.root, "linux-page.png")
    linux_path = linux_path or os.path.join(SOURCE, "samples", "yomite-no-hon.txt")
    run([renderer, "--size", "%dx%d" % (area.width, area.height), "-o", out, *args, linux_path],
        env=d.env)
    return Picture(area.width, area.height, run(["convert", out, "-depth", "8", "rgb:-"]).stdout)


def like_the_linux_page(d, area, args, what, linux_path=None, look_again=None):
    """The same columns hold ink as in the page the Linux build draws for the
    same settings, each starting and ending within a pixel or two of it: both
    builds set the stand-in face at the same em with the same advances (see
    glyphs_stand_where_linux_puts_them for the glyphs' places); the rest is
    how each rasterizes the glyphs' ink (GDI hints the outlines). With
    `look_again` (window, area), a page still to be laid out anew is looked
    at again until it agrees."""
    linux = linux_page(d, area, args, what, linux_path)
    if linux is None:
        return
    # Without the foot, where the page numbers are, and without a column the
    # window's left edge cuts.
    body = area.height - FOOT
    whole = area.width // PITCH
    theirs = {s: e for s, e in ink_slots(crop(linux, (0, 0, area.width, body))).items()
              if s < whole}

    def differences(page):
        mine = {s: e for s, e in ink_slots(crop(page, (0, 0, area.width, body))).items()
                if s < whole}
        if sorted(mine) != sorted(theirs):
            return "%s: ink in columns %s, the Linux page in %s" % (what, sorted(mine), sorted(theirs))
        for slot, (top, bottom) in sorted(mine.items()):
            t, b = theirs[slot]
            if abs(top - t) > 1 or abs(bottom - b) > 2:
                return "%s: column %d runs %d..%d, on Linux %d..%d" % (what, slot, top, bottom, t, b)
        return None

    fault = differences(area)
    if fault and look_again:
        fault = judged_until_right(*look_again, differences)
    expect(not fault, fault)


# A page of one full-width block between marks of every width: the block is
# the same glyph on both builds, so the rows of its ink are where each build
# puts it. Full columns (spread), hanging marks, a short column, and readings
# wider than their bases, which book composition makes room for (一二: kanji
# for a base whose strokes are too thin to be taken for a block).
BLOCK_UNIT = "■、■■「■」■ー■■…■■―■a-a■・■？■！■■"
BLOCKS_TEXT = "\r\n".join([BLOCK_UNIT * 5 + "。", "■■■■■", "■" * 39 + "。、」",
                            "■一二《■■■■■》■" * 6, ""])
# Pixels of ink a block leaves in a row of its column (about 14 at 18 px),
# and rows of them it leaves in a run; a bracket's stroke may cross as
# many pixels, in a row or three.
BLOCK_INK, BLOCK_ROWS = 12, 8
# Book composition's slots: half-size readings, a quarter em between slots.
BOOK_RUBY, BOOK_PITCH = 9, 31


def block_rows(area, pitch, ruby_height):
    """Per column slot, the runs of rows (first, last) where a block's ink
    crosses the column's text: one run per block."""
    back = bytes(BACK)
    out = {}
    for slot in range(area.width // pitch):
        x1 = area.width - slot * pitch - ruby_height
        x0 = x1 - CHAR
        runs = []
        for y in range(area.height - FOOT):
            row = area.data[3 * (y * area.width + x0):3 * (y * area.width + x1)]
            if sum(row[i:i + 3] != back for i in range(0, len(row), 3)) < BLOCK_INK:
                continue
            if runs and runs[-1][1] == y - 1:
                runs[-1][1] = y
            else:
                runs.append([y, y])
        runs = [r for r in runs if r[1] - r[0] + 1 >= BLOCK_ROWS]
        if runs:
            out[slot] = runs
    return out


def glyphs_stand_where_linux_puts_them(d):
    path = d.file("blocks.txt", BLOCKS_TEXT.encode("cp932"))
    # -T2: the bracket markup, for the readings.
    for options, pitch, ruby in ((["-T2"], PITCH, RUBY), (["-T2", "-N1"], BOOK_PITCH, BOOK_RUBY)):
        what = "the blocks" + (" set as a book" if len(options) > 1 else "")
        viewer = d.start(WineDesktop.windows_path(path), *options)
        w = d.wait_ready(viewer)
        area = settled(w, text_area)
        linux = linux_page(d, area, options, what, path)
        if linux is None:
            return
        mine, theirs = block_rows(area, pitch, ruby), block_rows(linux, pitch, ruby)
        expect(sum(len(r) for r in theirs.values()) > 100, "%s: too few blocks" % what)
        expect(sorted(mine) == sorted(theirs), "%s: blocks in columns %s, the Linux page in %s"
               % (what, sorted(mine), sorted(theirs)))
        for slot in theirs:
            expect(len(mine[slot]) == len(theirs[slot]) and all(
                abs(a - c) <= 1 and abs(b - e) <= 1
                for (a, b), (c, e) in zip(mine[slot], theirs[slot])),
                   "%s: column %d's blocks at %s, on Linux %s" % (what, slot, mine[slot],
                                                                 theirs[slot]))
        w.key("Escape")
        expect(viewer.wait(20) == 0, "the viewer did not end cleanly")


def shifted_right(before, after, dx):
    """Does `after` show `before` moved dx pixels to the right?"""
    width = before.width
    moved = b"".join(after.data[3 * (y * width + dx):3 * (y + 1) * width]
                     for y in range(before.height))
    kept = b"".join(before.data[3 * y * width:3 * (y * width + width - dx)]
                    for y in range(before.height))
    return moved == kept


def changed(a, b):
    """Do two pictures differ (in size or in any pixel)?"""
    return (a.width, a.height) != (b.width, b.height) or a.data != b.data


def settings_text(d):
    # CP932 and UTF-8 may both be in it: compared as bytes read one to one.
    if not os.path.exists(d.settings):
        return ""
    with open(d.settings, "rb") as f:
        return f.read().decode("latin-1")


# --- scenarios ------------------------------------------------------------------


def sample_opens_vertical(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    expect(w.title() == TITLE, "title: " + w.title())
    _, _, width, height = w.geometry()
    # Sized to its page: wider than high, about 3/2 of the column's length.
    expect(abs(width - 3 * height // 2) < 60, "window %dx%d" % (width, height))
    area = settled(w, text_area)
    d.save_screenshot("wine-sample")
    # Sized to its page: the column's length above the scroll bar, and as
    # many whole columns as fit 3/2 of the window's height.
    expect(area.height == COLUMN, "page %d px high in a %d px window" % (area.height, height))
    expect(area.width % PITCH == 0, "page %d px wide" % area.width)
    vertical_page(area, "the sample")
    expect(len(ink_slots(area)) > 10, "no columns of text")
    like_the_linux_page(d, area, [], "the sample")


def left_scrolls_one_column(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    before = settled(w, text_area)
    vertical_page(before, "the sample")
    w.key("Left")
    wait_for("the columns to move", lambda: changed(text_area(w.picture()), before))
    after = settled(w, text_area)
    # Forward in vertical writing: the page moved right by one column pitch,
    # which is the distance between the starts of two body columns.
    shifts = [dx for dx in range(1, 2 * PITCH) if shifted_right(before, after, dx)]
    expect(shifts == [PITCH], "Left moved the page by %s px, not one column" % shifts)
    w.key("Right")
    wait_for("Right to come back", lambda: not changed(text_area(w.picture()), before),
             timeout=15)


def context_menu_opens(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    x, y, _, _ = w.geometry()
    w.click(300, 200, 3)
    menu_at(d, viewer, x + 300, y + 200, BACK, "the menu at the pointer")
    d.save_screenshot("wine-menu")
    d.x(["xdotool", "key", "Escape"])
    wait_for("Esc to close the menu", lambda: not open_menus(d, viewer))
    # The Menu key opens it at the window's corner; its mnemonics work.
    w.key("Menu")
    menu_at(d, viewer, x, y, BACK, "the menu at the window's corner")
    d.x(["xdotool", "key", "w"])
    dialog(d, "Yomite 文字数設定")
    d.x(["xdotool", "key", "Escape"])
    wait_for("the dialog to close", lambda: not d.windows_named("^Yomite 文字数設定$"))


def width_dialog_lays_the_page_out_again(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    _, _, width, height = w.geometry()
    before = settled(w, text_area)
    w.key("w")
    dialog(d, "Yomite 文字数設定")
    # The number is selected when the dialog opens: typing replaces it.
    d.x(["xdotool", "type", "--delay", "50", "30"])
    d.x(["xdotool", "key", "Return"])
    # 30 half widths instead of 40: the page is 90 px shorter.
    wait_for("the shorter window", lambda: w.geometry()[3] == height - 10 * HALF_WIDTH,
             timeout=15)
    after = settled(w, text_area)
    expect(after.height == before.height - 10 * HALF_WIDTH,
           "page %d px high, was %d" % (after.height, before.height))
    vertical_page(after, "the page at 30")
    like_the_linux_page(d, after, ["-W30"], "the page at 30")


def font_dialog_ok_keeps_the_face_drawn(d):
    """The default face is not installed under Wine: the dialog opens on the
    family standing in for it at the size drawn, so OK alone changes nothing."""
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    before = settled(w, text_area)
    w.key("f")
    dialog(d, "フォントの指定")
    d.save_screenshot("wine-font-dialog")
    d.x(["xdotool", "key", "Return"])
    wait_for("the dialog to close", lambda: not d.windows_named("^フォントの指定$"))
    # OK lays the page out again: a loaded machine may show it half drawn.
    fault = judged_until_right(
        w, text_area, lambda after: changed(before, after) and "OK without a change changed the page")
    expect(not fault, fault)


def escape_closes_and_history_records_the_file(d):
    viewer = d.start(SAMPLE, "-J45")  # line 44: page 3 at 20 columns a page
    w = d.wait_ready(viewer)
    w.key("m")
    w.key("Escape")
    expect(viewer.wait(20) == 0, "the viewer did not end cleanly")
    settings = settings_text(d)
    expect('01F="%s"' % SAMPLE in settings, "history lacks the file:\n" + settings)
    expect("01M=3" in settings, "history lacks the mark's page:\n" + settings)


def second_viewer_sends_yomite_init(d):
    first = d.start(SAMPLE)
    a = d.wait_ready(first)
    expect(a.picture().count(BACK) > 1000, "not the default background")
    with open(d.settings, "w") as f:
        f.write("[Color]\nBack=00FF00\n")  # green, blue first
    # Below the first, both in sight: Wine's screen is 1024x768 whatever the X
    # server's size (the prefix's desktop was started without a display), so
    # the second page is a shorter one.
    second = d.start(SAMPLE, "-W16", "/X0", "/Y480")
    b = d.wait_ready(second)
    d.save_screenshot("wine-two")
    expect(b.picture().count(GREEN) > 1000, "the second viewer did not read the settings")
    expect(a.picture().count(GREEN) == 0, "the first viewer changed before any notice")
    # A change in the settings dialog writes the settings and broadcasts
    # "Yomite-Init": the first viewer reads them again and repaints.
    b.key("s")
    dialog(d, "Yomite 設定")
    d.x(["xdotool", "key", "alt+j"])
    d.x(["xdotool", "key", "Return"])
    wait_for("Justify=0 in the settings", lambda: "Justify=0" in settings_text(d), timeout=15)
    wait_for("the first viewer to take the green background",
             lambda: a.picture().count(GREEN) > 1000, timeout=15)


def set_dpi(d, dpi):
    """The prefix's DPI, which each Windows program reads when it starts."""
    run([d.wine, "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
         "REG_DWORD", "/d", str(dpi), "/f"], env=d.env)


def mixed_blocks(area):
    """How many 2x2 blocks of pixels are not of one colour: none in a page
    stretched to twice its size, many where text is drawn at that size."""
    n = 0
    for y in range(0, area.height - 1, 2):
        for x in range(0, area.width - 1, 2):
            if len({area.pixel(x, y), area.pixel(x + 1, y), area.pixel(x, y + 1),
                    area.pixel(x + 1, y + 1)}) > 1:
                n += 1
    return n


def page_at_200_percent_is_the_page_drawn_larger(d):
    """At 192 dpi the window is twice as large and shows the page of 96 dpi:
    the same columns, each starting and ending where it did, twice as far from
    the edge, drawn by fonts of twice the pixels rather than stretched."""
    first = d.start(SAMPLE)
    w = d.wait_ready(first)
    standard = settled(w, text_area)
    w.key("Escape")
    wait_for("the first viewer to close", lambda: first.poll() is not None, timeout=15)
    set_dpi(d, 192)
    try:
        w = d.wait_ready(d.start(SAMPLE))
    finally:
        set_dpi(d, 96)
    large = settled(w, text_area)
    d.save_screenshot("wine-200-percent")
    expect(abs(large.width - 2 * standard.width) <= 2 and
           abs(large.height - 2 * standard.height) <= 2,
           "page %dx%d at 200 %%, %dx%d at 100 %%"
           % (large.width, large.height, standard.width, standard.height))
    vertical_page(large, "the sample at 200 %")
    at_100, at_200 = ink_slots(standard), ink_slots(large, 2 * PITCH)
    expect(sorted(at_200) == sorted(at_100),
           "columns %s at 200 %%, %s at 100 %%" % (sorted(at_200), sorted(at_100)))
    for slot, (top, bottom) in at_100.items():
        top2, bottom2 = at_200[slot]
        expect(abs(top2 - 2 * top) <= 4 and abs(bottom2 - 2 * bottom) <= 6,
               "column %d runs %d..%d at 200 %%, %d..%d at 100 %%"
               % (slot, top2, bottom2, top, bottom))
    mixed = mixed_blocks(large)
    expect(mixed > large.width * large.height // 200,
           "only %d blocks of 2x2 pixels show an edge: a stretched picture" % mixed)
    # A column forward is twice the pixels too.
    w.key("Left")
    wait_for("the columns to move", lambda: changed(text_area(w.picture()), large))
    after = settled(w, text_area)
    shifts = [dx for dx in range(1, 3 * PITCH) if shifted_right(large, after, dx)]
    expect(shifts == [2 * PITCH], "Left moved the page by %s px at 200 %%" % shifts)


# --- the window's extensions ---


def fit_to_window_follows_a_resize(d):
    with open(d.settings, "w") as f:
        f.write("[Window]\nFitToWindow=1\n")
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    _, _, width, height = w.geometry()
    # Narrower, and 10 half widths shorter: columns of 30 (an odd length is
    # broken differently by the two builds' faces).
    smaller = (width * 2 // 3, height - 10 * HALF_WIDTH)
    d.x(["xdotool", "windowsize", w.id, str(smaller[0]), str(smaller[1])])
    wait_for("the smaller window", lambda: w.geometry()[2:] == smaller, timeout=15)
    area = wait_for("the page of the smaller window",
                    lambda: (lambda a: a if a.height and a.width < smaller[0] else None)(
                        settled(w, text_area)), timeout=15)
    d.save_screenshot("wine-fit")
    # The columns end inside the window, as on Linux at that column length
    # and page; the page numbers stand at its foot.
    chars, pages = area.height // HALF_WIDTH - 8, area.width // PITCH
    vertical_page(area, "the fitted page")
    # A load of the machine may hold the relayout for the final size back
    # past two agreeing looks: the page is looked at until it agrees.
    like_the_linux_page(d, area, ["-W%d" % chars, "-H%d" % pages], "the fitted page",
                        look_again=(w, text_area))
    expect(ink_rows(area, (0, area.height - FOOT, area.width, area.height)) > 3,
           "no page number at the foot")


def f11_fills_the_screen(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    size = w.geometry()[2:]
    w.key("F11")
    # The monitor is the X server's screen.
    root = run(["xwininfo", "-root"], env=d.env).stdout.decode()
    screen = (int(root.split("Width:")[1].split()[0]), int(root.split("Height:")[1].split()[0]))
    wait_for("the full screen", lambda: w.geometry()[2:] == screen, timeout=15)
    shot = settled(w, lambda picture: picture)
    d.save_screenshot("wine-full-screen")
    expect(shot.count(BACK) > screen[0] * screen[1] // 2, "the page does not fill the screen")
    vertical_page(crop(shot, (0, 0, shot.width, shot.height - 40)), "the full screen")
    w.key("F11")
    wait_for("the window again", lambda: w.geometry()[2:] == size, timeout=15)


DARK_BACK = (0x1E, 0x1E, 0x1E)
DARK_TEXT = (0xE0, 0xE0, 0xE0)


def dark_page(w):
    picture = w.picture()
    return picture.count(DARK_BACK) > 150000 and picture.count(DARK_TEXT, tolerance=8) > 500


def colour_sets_and_the_dark_desktop(d):
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    w.key("Menu")
    wait_for("the menu", lambda: open_menus(d, viewer), timeout=15)
    d.x(["xdotool", "key", "--delay", "300", "k", "n"])  # 配色(&K), 夜(&N)
    wait_for("the dark set: light text on a dark background", lambda: dark_page(w), timeout=15)
    d.save_screenshot("wine-dark")
    expect("Back=1E1E1E" in settings_text(d), "not stored:\n" + settings_text(d))
    w.key("Escape")
    expect(viewer.wait(20) == 0, "the viewer did not end cleanly")
    # Following the desktop: the apps' light-theme value says dark.
    with open(d.settings, "w") as f:
        f.write("[Color]\nFollowDesktop=1\n")
    key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"
    run([d.wine, "reg", "add", key, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d", "0",
         "/f"], env=d.env)
    try:
        w = d.wait_ready(d.start(SAMPLE))
    finally:
        run([d.wine, "reg", "delete", key, "/v", "AppsUseLightTheme", "/f"], env=d.env)
    wait_for("the dark desktop's page", lambda: dark_page(w), timeout=15)


def ruby_hidden_and_inline(d):
    with open(d.settings, "w") as f:
        f.write("[Font]\nRubyMode=1\n")
    viewer = d.start(SAMPLE)
    w = d.wait_ready(viewer)
    area = settled(w, text_area)
    vertical_page(area, "the page without readings")
    like_the_linux_page(d, area, ["-U1"], "the page without readings")
    w.key("Menu")
    wait_for("the menu", lambda: open_menus(d, viewer), timeout=15)
    d.x(["xdotool", "key", "--delay", "300", "r", "i"])  # ルビ(&R), ルビを括弧で本文に(&I)
    wait_for("the page with readings inline", lambda: changed(text_area(w.picture()), area),
             timeout=15)
    inline = settled(w, text_area)
    d.save_screenshot("wine-ruby-inline")
    like_the_linux_page(d, inline, ["-U2"], "the page with readings inline")
    expect("RubyMode=2" in settings_text(d), "the mode was not written")


# --- the reader's place, bookmarks and search (extensions) ---

# The queries of viewer/reader_queries.h, asked through "Yomite-Command".
TOP_LINE, PLACE, PAGE, FIND, BOOKMARKS, STATUS, MATCH = 50, 51, 52, 54, 58, 59, 60
BOOK_TITLE = "book.txt - Yomite"


def ask(d, code, text=None):
    """(result, text) of a query to the viewer titled BOOK_TITLE, as another
    Windows program gets it (tests/wine/yomite_query.cc)."""
    helper = os.path.join(d.bin, "yomite_query.exe")
    if not os.path.exists(helper):
        shutil.copy2(os.path.join(d.build, "tests", "wine", "yomite_query.exe"), helper)
    args = [d.wine, helper, BOOK_TITLE, str(code)] + ([text] if text is not None else [])
    out = run(args, env=d.env, check=False).stdout.decode("utf-8", "replace").rstrip("\r\n")
    result, _, answer = out.partition("\t")
    return (int(result) if result.lstrip("-").isdigit() else None), answer


def page_of(d):
    return ask(d, PAGE)[0]


def anchor(d):
    logical, offset, words = ask(d, PLACE)[1].split(",", 2)
    return int(logical), int(offset), words


def place_book_files(d):
    """The book for the Windows viewer (its path on Z:) and for the Linux renderer."""
    path = d.file("book.txt", place_book().replace("\n", "\r\n").encode("cp932"))
    return WineDesktop.windows_path(path), path


def jump_to_page(d, w, page):
    w.key("p")
    dialog(d, "ページ移動")
    d.x(["xdotool", "type", "--delay", "50", str(page)])  # the number is selected
    d.x(["xdotool", "key", "Return"])


def reading_place_survives_close_and_relayout(d):
    book, linux_book = place_book_files(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 30)
    wait_for("page 30", lambda: page_of(d) == 30, timeout=15)
    before = anchor(d)
    w.key("Escape")
    expect(viewer.wait(20) == 0, "the viewer did not end cleanly")
    expect("01P=%d,%d," % before[:2] in settings_text(d), "no place in the history")

    viewer = d.start(book)
    w = d.wait_ready(viewer)
    expect(page_of(d) == 30, "reopened on page %s, not 30" % page_of(d))
    expect(anchor(d) == before, "reopened at %s, not %s" % (anchor(d), before))
    area = settled(w, text_area)
    d.save_screenshot("wine-resumed")
    like_the_linux_page(d, area, ["--page", "30"], "page 30", linux_book)

    w.key("w")
    dialog(d, "Yomite 文字数設定")
    d.x(["xdotool", "type", "--delay", "50", "30"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the narrower columns", lambda: anchor(d) != before, timeout=15)
    after = anchor(d)
    expect(after[0] == before[0] and after[1] <= before[1] < after[1] + 40,
           "after the width change the top is %s, the place %s" % (after, before))
    size = w.geometry()[2:]
    w.key("bracketright")
    wait_for("the larger font", lambda: w.geometry()[2:] != size, timeout=15)
    larger = anchor(d)
    expect(larger[0] == before[0] and larger[1] <= before[1] < larger[1] + 40,
           "after the font change the top is %s, the place %s" % (larger, before))


def bookmarks_are_listed_and_jump(d):
    book, _ = place_book_files(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 5)
    wait_for("page 5", lambda: page_of(d) == 5, timeout=15)
    w.key("b")
    dialog(d, "Yomite しおり")
    d.x(["xdotool", "key", "Return"])
    wait_for("the first bookmark", lambda: ask(d, BOOKMARKS)[0] == 1, timeout=15)
    first_line = ask(d, TOP_LINE)[0]
    jump_to_page(d, w, 12)
    wait_for("page 12", lambda: page_of(d) == 12, timeout=15)
    w.key("ctrl+b")
    dialog(d, "Yomite しおり")
    d.x(["xdotool", "type", "--delay", "50", "second"])
    d.x(["xdotool", "key", "Return"])
    wait_for("the second bookmark", lambda: ask(d, BOOKMARKS)[0] == 2, timeout=15)
    w.key("Escape")
    expect(viewer.wait(20) == 0, "the viewer did not end cleanly")

    viewer = d.start(book)
    w = d.wait_ready(viewer)
    count, rows = ask(d, BOOKMARKS)
    expect(count == 2 and "second" in rows, "after reopening: %s bookmarks: %r" % (count, rows))
    w.key("Menu")
    wait_for("the menu", lambda: open_menus(d, viewer), timeout=15)
    d.x(["xdotool", "key", "y"])  # しおり一覧(&Y)...
    dialog(d, "Yomite しおり一覧")
    d.save_screenshot("wine-bookmarks")
    d.x(["xdotool", "key", "Return"])
    wait_for("the jump to the first bookmark", lambda: ask(d, TOP_LINE)[0] == first_line, timeout=15)
    expect(page_of(d) == 5, "the bookmark's page is %s" % page_of(d))


def search_finds_highlights_and_goes_on(d):
    book, linux_book = place_book_files(d)
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    w.key("slash")
    find = dialog(d, "Yomite 検索")
    d.x(["xdotool", "type", "--delay", "80", "mark"])
    wait_for("the first match", lambda: ask(d, MATCH)[0] == 2, timeout=15)
    k, line, page = ask(d, MATCH)[1].split(" ")
    expect(k == "1/2" and int(page) > 1, "the first match: %s on page %s" % (k, page))
    expect(page_of(d) > 1, "the view stayed on page %s" % page_of(d))
    inverted = (0xFF, 0xFF, 0x80)
    wait_for("the highlighted match", lambda: w.picture().count(inverted) > 30, timeout=15)
    d.save_screenshot("wine-search")
    d.x(["xdotool", "windowfocus", "--sync", find], check=False)
    d.x(["xdotool", "key", "F3"])
    wait_for("the next match", lambda: ask(d, MATCH)[1].startswith("2/2 "), timeout=15)
    expect(int(ask(d, MATCH)[1].split(" ")[1]) > int(line), "F3 went back")
    d.x(["xdotool", "key", "ctrl+a"])
    d.x(["xdotool", "type", "--delay", "80", "treasure"])
    wait_for("the word across the break", lambda: ask(d, MATCH)[0] == 1, timeout=15)
    cut = int(ask(d, MATCH)[1].split(" ")[1])
    renderer = os.path.join(d.linux_build or "", "apps", "yomite-render", "yomite-render")
    if os.path.exists(renderer):
        lines = run([renderer, "--dump-lines", linux_book], env=d.env).stdout.decode().splitlines()
        expect("ＴＲＥＡＳＵＲＥ" not in lines[cut], "the match is not cut by a break: " + lines[cut])
    # Another program searches too: the text comes as its window's title.
    expect(ask(d, FIND, "ＭＡＲＫ")[0] == 2, "the query found %s" % (ask(d, MATCH),))
    d.x(["xdotool", "windowfocus", "--sync", find], check=False)
    d.x(["xdotool", "key", "Escape"])
    wait_for("the find window to close", lambda: not d.windows_named("^Yomite 検索$"), timeout=15)
    expect(viewer.poll() is None, "Esc in the find window closed the viewer")


def the_place_is_shown(d):
    book, _ = place_book_files(d)
    with open(d.settings, "w") as f:
        f.write("[Place]\nStatus=1\n")  # off unless the user shows it
    viewer = d.start(book)
    w = d.wait_ready(viewer)
    jump_to_page(d, w, 7)
    wait_for("page 7", lambda: page_of(d) == 7, timeout=15)
    _, pages, percent = ask(d, PAGE)[1].split(" ")
    status = ask(d, STATUS)[1]
    expect(status == "7 / %s (%s %%)" % ("{:,}".format(int(pages)), percent), "the strip says " + status)
    _, _, width, height = w.geometry()
    area = settled(w, text_area)
    d.save_screenshot("wine-strip")
    # The strip is under the scroll bar: the window shrinks by it, the page stays.
    w.key("Menu")
    wait_for("the menu", lambda: open_menus(d, viewer), timeout=15)
    d.x(["xdotool", "key", "i"])  # 位置を表示(&I)
    wait_for("the window without the strip", lambda: w.geometry()[3] < height, timeout=15)
    # The frame shrinks first; the page is drawn again after it.
    wait_for("the same page without the strip",
             lambda: not changed(text_area(w.picture()), area), timeout=15)
    wait_for("Status=0 in the settings", lambda: "Status=0" in settings_text(d), timeout=15)


SCENARIOS = {f.__name__: f for f in [
    sample_opens_vertical,
    glyphs_stand_where_linux_puts_them,
    left_scrolls_one_column,
    context_menu_opens,
    width_dialog_lays_the_page_out_again,
    font_dialog_ok_keeps_the_face_drawn,
    escape_closes_and_history_records_the_file,
    second_viewer_sends_yomite_init,
    page_at_200_percent_is_the_page_drawn_larger,
    fit_to_window_follows_a_resize,
    f11_fills_the_screen,
    colour_sets_and_the_dark_desktop,
    ruby_hidden_and_inline,
    reading_place_survives_close_and_relayout,
    bookmarks_are_listed_and_jump,
    search_finds_highlights_and_goes_on,
    the_place_is_shown,
]}


def main():
    if sys.argv[1:] == ["--list"]:
        print(";".join(SCENARIOS))
        return 0
    build, wine, name = sys.argv[1], sys.argv[2], sys.argv[3]
    linux_build = sys.argv[4] if len(sys.argv) > 4 else None

    def prepare(d):
        d.linux_build = linux_build
    return run_scenario(SCENARIOS, name, lambda: WineDesktop(build, wine), prepare)


if __name__ == "__main__":
    sys.exit(main())
