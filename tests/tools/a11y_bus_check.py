#!/usr/bin/env python3
"""Reads the running editor through the AT-SPI accessibility bus, as a screen reader does.

Run by a11y-bus-check, inside a private session bus and X display: starts the accessibility
bus, opens a Shift_JIS file with Japanese in the editor, finds the application "Quillet" from
the desktop and checks its text object: role, states and name, the text and its character
count (code points), caret and selection set by the script and read back, line boundaries,
edits through the EditableText interface and the events they send (each once).

With --by-hand it also presses keys with xdotool (Ctrl+End, a letter, an emoji), prints what
the bus tells, and leaves a screenshot of a selection made by the script (--shot FILE).
Exit status: 0 passed, 1 failed, 77 skipped (a piece of the bus is missing).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

TEXT = "吾輩は猫である。名前はまだ無い。\r\nQuillet で読む、Shift_JIS の文。\r\n最後の行"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, test, seconds=20.0, pump=None, give_up=None):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = test()
        if value:
            return value
        if pump:
            pump(0.1)
        else:
            time.sleep(0.1)
    (give_up or fail)("timed out waiting for " + what)


def skip(message):
    print("skipped: " + message)
    sys.exit(77)


def start_bus():
    """The accessibility bus of this session, started as a desktop would start it."""
    from gi.repository import Gio, GLib
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def owned():
        reply = session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus", "NameHasOwner",
                                  GLib.Variant("(s)", ("org.a11y.Bus",)), None,
                                  Gio.DBusCallFlags.NONE, -1, None)
        return reply.unpack()[0]

    wait_for("the accessibility bus", owned, give_up=skip)  # the machine's, not ours
    return launcher


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--by-hand", action="store_true")
    parser.add_argument("--shot")
    args = parser.parse_args()

    launcher = start_bus()
    import pyatspi
    from gi.repository import GLib

    context = GLib.MainContext.default()

    def pump(seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.iteration(False):
                pass
            time.sleep(0.01)

    events = []

    def heard(event):
        if event.source is not None and event.source.getRole() == pyatspi.ROLE_TEXT:
            events.append((event.type, event.detail1, event.detail2, event.any_data))

    pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert",
                                           "object:text-changed:delete", "object:text-caret-moved",
                                           "object:text-selection-changed", "focus:")

    folder = tempfile.mkdtemp()
    config = os.path.join(os.environ["XDG_CONFIG_HOME"], "Quillet")
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, "quillet.ini"), "w", encoding="utf-8") as ini:
        ini.write("[Settings]\nCodePage=932\nLangSelect=0\nWordWrap=0\n")
    path = os.path.join(folder, "sjis.txt")
    with open(path, "wb") as out:
        out.write(TEXT.encode("cp932"))
    editor = subprocess.Popen([args.exe, path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(args, pyatspi, pump, events, path)
    finally:
        editor.terminate()
        try:
            editor.wait(10)
        except subprocess.TimeoutExpired:
            editor.kill()
        launcher.terminate()
        launcher.wait(10)
    print("PASS")


def find_text(pyatspi, name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Quillet":
            found = pyatspi.findDescendant(app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_TEXT
                                           and a.name == name)
            if found is not None:
                return found
    return None


def check(args, pyatspi, pump, events, path):
    name = os.path.basename(path)
    view = wait_for("the editor's text on the bus", lambda: find_text(pyatspi, name), 30, pump)
    pump(0.5)
    text = view.queryText()
    editable = view.queryEditableText()
    states = view.getState()
    for state in (pyatspi.STATE_EDITABLE, pyatspi.STATE_MULTI_LINE, pyatspi.STATE_FOCUSABLE):
        if not states.contains(state):
            fail("the text is not %s" % state)
    # Without a window manager nothing activates the window: xdotool does, and the view that
    # gets the focus with it is told once.
    if shutil.which("xdotool"):
        del events[:]
        xdotool("windowfocus", "--sync", editor_window(name))
        wait_for("the focus", lambda: view.getState().contains(pyatspi.STATE_FOCUSED), 10, pump)
        pump(0.5)
        focus = [e for e in events if e[0].startswith("focus")]
        if len(focus) != 1:
            fail("the view's focus was told %d times" % len(focus))
    else:
        print("xdotool is missing: the focus is not checked")

    read = text.getText(0, -1)
    if read != TEXT:
        fail("read %r, not the file's text" % read)
    if text.characterCount != len(TEXT):
        fail("%d characters, not %d" % (text.characterCount, len(TEXT)))
    line = text.getTextAtOffset(20, pyatspi.TEXT_BOUNDARY_LINE_START)
    if (line[0], line[1], line[2]) != ("Quillet で読む、Shift_JIS の文。\r\n", 18, 45):
        fail("line at 20: %r" % (line,))

    # Caret and selection set by the script move the control's.
    text.setCaretOffset(10)
    pump(0.3)
    if text.caretOffset != 10:
        fail("caret at %d after setting 10" % text.caretOffset)
    text.setSelection(0, 2, 6)
    pump(0.3)
    if tuple(text.getSelection(0)) != (2, 6):
        fail("selection %r after setting (2, 6)" % (tuple(text.getSelection(0)),))

    # An insertion through the bus, at the end: told once, with its text and offset; an
    # emoji after it counts one character. Qt's bridge cuts the text to `length` UTF-16 units.
    del events[:]
    end = text.characterCount
    editable.insertText(end, "x", 1)
    emoji = "\U0001F600"
    editable.insertText(end + 1, emoji, len(emoji.encode("utf-16-le")) // 2)
    pump(0.5)
    inserts = [e for e in events if e[0] == "object:text-changed:insert"]
    if [(e[1], e[3]) for e in inserts] != [(end, "x"), (end + 1, emoji)]:
        fail("insertions told: %r" % inserts)
    if text.characterCount != end + 2 or text.caretOffset != end + 2:
        fail("after the emoji: %d characters, caret at %d" % (text.characterCount, text.caretOffset))
    if text.getText(end, end + 2) != "x" + emoji:
        fail("inserted text reads %r" % text.getText(end, end + 2))
    editable.deleteText(end, end + 2)
    pump(0.3)
    deletes = [e for e in events if e[0] == "object:text-changed:delete"]
    if [(e[1], e[3]) for e in deletes] != [(end, "x" + emoji)]:
        fail("deletions told: %r" % deletes)
    print("read %d characters of %s through the bus; caret, selection, edits and events as expected"
          % (len(TEXT), name))

    if args.by_hand:
        by_hand(args, pyatspi, pump, events, view, text)


def xdotool(*words):
    subprocess.run(["xdotool"] + list(words), check=True)


def editor_window(name):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                          capture_output=True, text=True).stdout.split()[0]


def by_hand(args, pyatspi, pump, events, view, text):
    xdotool("key", "ctrl+End")
    pump(0.5)
    print("caret after Ctrl+End: %d (characters: %d)" % (text.caretOffset, text.characterCount))
    del events[:]
    xdotool("type", "a")
    pump(0.5)
    print("typed 'a': told %r" % [e for e in events if "text" in e[0]])
    del events[:]
    xdotool("type", "\U0001F600")
    pump(0.5)
    print("typed an emoji: caret at %d, characters %d; told %r"
          % (text.caretOffset, text.characterCount, [e for e in events if "text" in e[0]]))
    text.setSelection(0, 3, 8)
    pump(0.5)
    print("selection set to %r; the window shows it selected" % (tuple(text.getSelection(0)),))
    if args.shot:
        subprocess.run(["import", "-window", "root", args.shot], check=True)


if __name__ == "__main__":
    main()
