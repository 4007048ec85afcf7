#!/usr/bin/env python3
"""Takes the AppStream screenshots of the real viewer on an Xvfb of its own
(tests/e2e/desktop.py) and writes them beside this file:

    dbus-run-session -- python3 docs/images/screenshots.py build

screenshot-page.png: the first page of samples/sen-wo-hiku.txt in the default
settings; screenshot-menu.png: the same window with its menu open.
"""

import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from desktop import Desktop  # noqa: E402


def shot(d, name):
    """The screen without the root window's black around the windows."""
    subprocess.run(["import", "-window", "root", "-trim", "+repage", "-strip",
                    os.path.join(HERE, name)], env=d.env, check=True)


def main():
    with Desktop(sys.argv[1] if len(sys.argv) > 1 else os.path.join(SOURCE, "build")) as d:
        viewer = d.start(os.path.join(SOURCE, "samples", "sen-wo-hiku.txt"))
        w = d.wait_ready(viewer)
        time.sleep(0.5)
        shot(d, "screenshot-page.png")
        w.click(w.geometry()[2] // 2, 40, 3)
        time.sleep(1.0)
        shot(d, "screenshot-menu.png")
        d.x(["xdotool", "key", "Escape"])


if __name__ == "__main__":
    main()
