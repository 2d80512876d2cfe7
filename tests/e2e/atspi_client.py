#!/usr/bin/python3
"""An assistive tool that plays one rally through AT-SPI alone.

It finds the game among the desktop's applications, prints the accessible tree
of both windows, follows the focus that Tab moves between ИГРАТЬ and ВЫЙТИ,
presses ИГРАТЬ found by its name, answers the delay prompt in
its text field, waits for the opponent's racket to announce a new score, stops
the rally with the wall bar and leaves through ВЫЙТИ, found by its name.
Exits 0 when all of it worked; says what failed otherwise.

Usage: atspi_client.py APP_NAME DELAY OPPONENT_DESCRIPTION WALL_DESCRIPTION
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP, DELAY, OPPONENT, WALL = sys.argv[1:5]
COURT_TITLE = "Quindle1 - frm_court (Form)"
HELLO_TITLE = "Bounzo команда Bounzo"
PROMPT_TITLE = "Задержка анимации..."


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def settle(seconds):
    """Lets the AT-SPI library take in what the applications announced: it keeps
    its view of the desktop's applications, and delivers events, from its main loop."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes under us while windows come and go
            found = None
        if found is not None:
            return found
        settle(0.05)
    fail("no %s within %g s" % (what, seconds))


def states(acc):
    return sorted(pyatspi.stateToString(s) for s in acc.getState().getStates())


def game():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APP:
            return app
    return None


def descendant(root, role, name=None, description=None, showing=False):
    def matches(acc):
        return (acc is not None and acc.getRoleName() == role
                and (name is None or acc.name == name)
                and (description is None or acc.description == description)
                and (not showing or acc.getState().contains(pyatspi.STATE_SHOWING)))
    return pyatspi.findDescendant(root, matches)


def frame(title):
    app = game()
    return app and next((w for w in app if w is not None and w.name == title and
                         w.getState().contains(pyatspi.STATE_SHOWING)), None)


def print_tree(acc, depth=0):
    print("%s%s %r description=%r states=%s" % ("  " * depth, acc.getRoleName(), acc.name, acc.description,
                                                ",".join(states(acc))))
    for child in acc:
        print_tree(child, depth + 1)


def focused(acc):
    return lambda: acc.getState().contains(pyatspi.STATE_FOCUSED) or None


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "press" not in [n.lower() for n in names]:
        fail("%s %r offers no press action (%s)" % (acc.getRoleName(), acc.name, names))
    action.doAction([n.lower() for n in names].index("press"))


class NameWatch:
    """The names acc had each time the application announced a change of its name."""

    def __init__(self, acc):
        self.acc, self.names = acc, []
        pyatspi.Registry.registerEventListener(self.changed, "object:property-change:accessible-name")

    def changed(self, event):
        # Qt's event carries the object, not the name: the name is read afresh.
        if event.source == self.acc:
            self.names.append(self.acc.name)


court = wait_for("court window", lambda: frame(COURT_TITLE))
hello = wait_for("welcome window", lambda: frame(HELLO_TITLE))
print("The accessible tree as an AT-SPI client reads it:")
print_tree(court)
print_tree(hello)
sys.stdout.flush()

opponent = descendant(court, "push button", description=OPPONENT) or fail("no opponent's racket")
if opponent.name != "0":
    fail("the opponent's score reads %r before the first game" % opponent.name)
# Listening from before the game starts, so the application knows of us before the first point.
scores = NameWatch(opponent)

play = descendant(hello, "push button", name="ИГРАТЬ") or fail("no push button named ИГРАТЬ")
leave = descendant(hello, "push button", name="ВЫЙТИ") or fail("no push button named ВЫЙТИ")
# The welcome window opens with the focus on ИГРАТЬ; Tab moves it to ВЫЙТИ and back.
wait_for("focus on ИГРАТЬ", focused(play), 5)
for button in (leave, play):
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    wait_for("focus on %s after Tab" % button.name, focused(button), 5)
print("PASS: Tab moves the reported focus between ИГРАТЬ and ВЫЙТИ")

press(play)
prompt = wait_for("delay prompt", lambda: descendant(game(), "dialog", name=PROMPT_TITLE, showing=True))
field = descendant(prompt, "text") or fail("the delay prompt has no text field")
field.queryEditableText().setTextContents(DELAY)
press(descendant(prompt, "push button", name="ОК") or fail("the delay prompt has no ОК button"))
print("PASS: ИГРАТЬ pressed by name, the delay prompt answered %s" % DELAY)

# The reset at the start of the game announces "0" again; the first point is what comes next.
score = wait_for("new score of the opponent's racket", lambda: next((n for n in scores.names if n != "0"), None), 60)
if score != " 1":
    fail("the opponent's first point reads %r, not ' 1'" % score)
print("PASS: the opponent's racket announced its new score %r" % score)

press(descendant(court, "push button", name="", description=WALL) or fail("no wall bar"))
leave = wait_for("ВЫЙТИ after the rally",
                 lambda: descendant(frame(HELLO_TITLE), "push button", name="ВЫЙТИ", showing=True), 20)
press(leave)
print("PASS: the wall bar stopped the rally and ВЫЙТИ, found by its name, was pressed")
