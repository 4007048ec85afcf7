#!/usr/bin/env python3
"""yomiseal.exe under Wine against the Linux yomiseal: the same bytes for the
same seed (also from sources in the other encodings, converted alike), the
refusal of a destination that is the source under any of its names, and
messages a console shows whole.

    yomiseal_wine.py WIN32_BUILD_DIR LINUX_BUILD_DIR WINE

Exit status 0 passes, 77 skips (no Linux build to compare with).
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SEED_VARIABLE = "YOMISEAL_TEST_SEED"


class Skip(Exception):
    pass


def run(args, env, cwd):
    return subprocess.run(args, env=env, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=120)


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def sources(folder):
    """Texts that exercise the writer: CR LF, a bare CR, control bytes, NUL, a form feed."""
    sample = open(os.path.join(SOURCE, "samples", "yomite-no-hon.txt"), "rb").read()
    text = sample.decode("cp932")
    texts = {
        "sample.txt": sample,
        "controls.txt": b"a\tb\x1bc\rd\r\ne\x00f\x0cg\n" * 50 + "最後の行".encode("cp932"),
        "empty.txt": b"",
        "long-line.txt": b"x" * 40000 + b"\n",
        # converted to Shift_JIS alike by both builds
        "utf8.txt": text.encode("utf-8") + "〜波線\r\n".encode("utf-8"),
        "utf16.txt": b"\xff\xfe" + text.encode("utf-16-le"),
        "euc.txt": text.encode("euc_jp"),
        "jis.txt": text.encode("iso2022_jp"),
        "long-utf8.txt": ("あ" * 20000 + "\n").encode("utf-8"),
    }
    tutor = "/usr/share/vim/vim90/tutor/tutor.ja.sjis"
    if os.path.exists(tutor):
        texts["tutor.txt"] = open(tutor, "rb").read()
    for name, data in texts.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return sorted(texts)


def same_bytes_as_linux(win, linux, wine, folder, env):
    for name in sources(folder):
        for seed, digits in [("1", "-P0"), ("4294967295", "-P12"), ("20260101", "/p40")]:
            e = dict(env, **{SEED_VARIABLE: seed})
            a = run([linux, digits, name, name + ".linux"], e, folder)
            b = run([wine, win, digits, name, name + ".win"], e, folder)
            expect(a.returncode == 0 and b.returncode == 0,
                   "%s: exit %d and %d: %r" % (name, a.returncode, b.returncode, b.stderr))
            with open(os.path.join(folder, name + ".linux"), "rb") as f:
                mine = f.read()
            with open(os.path.join(folder, name + ".win"), "rb") as f:
                theirs = f.read()
            expect(mine == theirs, "%s, seed %s: the two builds wrote different bytes" % (name, seed))
            # The password line names the same digits (Windows ends its lines with CR LF).
            expect(a.stdout.replace(b"\n", b"") == b.stdout.replace(b"\r\n", b""),
                   "%s: %r against %r" % (name, a.stdout, b.stdout))


def refuses_the_source_under_every_name(win, wine, folder, env):
    source = os.path.join(folder, "本.txt")
    original = "本文です。\r\n".encode("cp932") * 10
    with open(source, "wb") as f:
        f.write(original)
    os.link(source, os.path.join(folder, "二つ目の名前.txt"))
    os.makedirs(os.path.join(folder, "sub"), exist_ok=True)
    for dest in ["本.txt", "二つ目の名前.txt", "sub\\..\\本.txt", ".\\本.txt"]:
        r = run([wine, win, "本.txt", dest], env, folder)
        expect(r.returncode == 1, "%s: exit %d, not 1" % (dest, r.returncode))
        expect("同じファイル" in r.stderr.decode("utf-8", "replace"),
               "%s: said %r" % (dest, r.stderr))
        with open(source, "rb") as f:
            expect(f.read() == original, "%s: the source changed" % dest)
    # A destination that exists is replaced, whole.
    dest = os.path.join(folder, "既存.lck")
    with open(dest, "wb") as f:
        f.write(b"old")
    r = run([wine, win, "本.txt", "既存.lck"], env, folder)
    expect(r.returncode == 0, "replacing: exit %d %r" % (r.returncode, r.stderr))
    with open(dest, "rb") as f:
        expect(len(f.read()) == 256 + len(original), "the destination is not the whole text")
    expect(not [n for n in os.listdir(folder) if n.startswith(".yomiseal-")],
           "a temporary file was left behind")
    r = run([wine, win, "本.txt"], env, folder)
    expect(r.returncode == 2 and b"usage" in r.stdout, "no usage for one file: %d" % r.returncode)
    r = run([wine, win, "missing.txt", "x.lck"], env, folder)
    expect(r.returncode == 1, "a missing source: exit %d" % r.returncode)


def refuses_what_it_cannot_write(win, wine, folder, env):
    with open(os.path.join(folder, "emoji.txt"), "wb") as f:
        f.write("一行目\n二行目に😀\n".encode("utf-8"))
    r = run([wine, win, "emoji.txt", "emoji.lck"], env, folder)
    expect(r.returncode == 1 and b"U+1F600" in r.stderr, "😀: exit %d %r" % (r.returncode, r.stderr))
    expect(not os.path.exists(os.path.join(folder, "emoji.lck")), "😀: a text was written")
    r = run([wine, win, "-P41", "sample.txt", "p.lck"], env, folder)
    expect(r.returncode == 2 and b"8" in r.stderr and b"40" in r.stderr,
           "-P41: exit %d %r" % (r.returncode, r.stderr))


def without_escapes(data):
    """What a terminal shows: the console's cursor moves left out."""
    return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", data).decode("utf-8", "replace")


def a_console_shows_the_messages_whole(win, wine, folder, env):
    """Run from a terminal, the program writes to a console, which shows
    every character whatever its code page (through the C runtime it showed
    the UTF-8 bytes as Latin-1)."""
    if not shutil.which("script"):
        print("note: no script(1) to give the program a terminal; the console is not checked")
        return
    command = "'%s' '%s' --help" % (wine, win)
    r = run(["script", "-qec", command, "/dev/null"], env, folder)
    shown = without_escapes(r.stdout)
    expect("元テキスト" in shown and "パスワードの桁数" in shown, "the console showed %r" % shown)


def main():
    build, linux_build, wine = sys.argv[1], sys.argv[2], sys.argv[3]
    win = os.path.join(build, "apps", "yomiseal", "yomiseal.exe")
    linux = os.path.join(linux_build, "apps", "yomiseal", "yomiseal")
    folder = tempfile.mkdtemp(prefix="yomiseal-wine-")
    env = dict(os.environ, LC_ALL="C.UTF-8")
    try:
        if not os.path.exists(linux):
            raise Skip("no Linux yomiseal at %s to compare with (scripts/build builds it)" % linux)
        same_bytes_as_linux(win, linux, wine, folder, env)
        refuses_the_source_under_every_name(win, wine, folder, env)
        refuses_what_it_cannot_write(win, wine, folder, env)
        a_console_shows_the_messages_whole(win, wine, folder, env)
    except Skip as why:
        print("skipped:", why)
        return 77
    except AssertionError as failure:
        print("FAILED:", failure)
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
