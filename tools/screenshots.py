#!/usr/bin/python3
"""Makes the README's pictures from the real program in a private X server:
docs/window.png (the window after a run), docs/aufgabe.png and
docs/loesung.png (the two presentations, as they come from the clipboard).

    /usr/bin/python3 tools/screenshots.py [BUILD-DIR]

BUILD-DIR (default build) must hold a built beugungsbilder. The window is
driven exactly as the end-to-end test drives it (tests/e2e/window_e2e.py)."""

import os
import shutil
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import window_e2e as e2e  # noqa: E402

WINDOW_SIZE = (859, 725)


def main():
    if not shutil.which("import"):
        print("needs ImageMagick's import: apt-get install imagemagick")
        return 1
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    program = os.path.abspath(os.path.join(build, "beugungsbilder"))
    docs = os.path.join(ROOT, "docs")
    os.makedirs(docs, exist_ok=True)
    session = e2e.Session(tempfile.mkdtemp(prefix="screenshots-"))
    try:
        session.start_x_server()
        session.start_program(program)
        # I 2 2 2, twenty entries down the list, with a cell of its own and a task.
        session.click(e2e.COMBO_GROUPS)
        session.keys("Escape")
        session.keys(*["Down"] * 20)
        for row, text in enumerate(["1000", "1200", "800"]):
            session.replace_cell(row, text)
        session.replace_edit(e2e.EDIT_FREE_TEXT, "Aufgabe 3: Welches Gitter, welche Raumgruppe?")
        exercise = session.generate_picture(None)
        with open(os.path.join(docs, "aufgabe.png"), "wb") as f:
            f.write(exercise)
        x, y = session.origin
        session.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (*WINDOW_SIZE, x, y), "+repage",
                     os.path.join(docs, "window.png")])
        session.click(e2e.RADIO_SOLUTION)
        solution = session.generate_picture(exercise)
        with open(os.path.join(docs, "loesung.png"), "wb") as f:
            f.write(solution)
    finally:
        session.close()
    for name in ("window.png", "aufgabe.png", "loesung.png"):
        print(os.path.join(docs, name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
