#!/usr/bin/env python3
"""The program as a screen reader meets it: started on an accessibility bus and read and
driven through AT-SPI alone (the interface Orca uses). A whole tabulation read back cell by
cell, a plot and the drawing area's description, the Formula Tutor's tables, the end of
each run announced, and no focusable control without a name in any window.

Usage: tst_accessibility.py PROGRAM, inside scripts/desktop-session and scripts/a11y-session.
Waits are for states, polled, each bounded by BOUND seconds; they never race the program."""

import os
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import Atspi, GLib

BOUND = 60

# The tabulation typed into the main window and what its grid must then show.
RANGE = {"Start": "-10", "End": "10", "Inc": "1"}
EQUATIONS = {"Equation #1": "Sin(X)*(X^-2)", "Equation #2": "(X^2)-(5*X)+3"}
# (row, column, text) of the grid's cells, rows counted from the first reading.
GRID_CELLS = [
    (0, 0, "-10.0000"), (0, 1, "0.0054"), (0, 2, "153.0000"), (0, 3, ""),
    (10, 0, "0.0000"), (10, 1, "UNDEF"), (10, 2, "3.0000"),
    (20, 0, "10.0000"), (20, 1, "-0.0054"), (20, 2, "53.0000"),
]
GRID_HEADERS = ["X Values", "Y1 Values", "Y2 Values", "Y3 Values"]
# What the drawing area says after a plot of the two equations: X^2-5X+3 lies inside the Y
# range for X from about -1.14 to 6.14, Sin(X)/X^2 everywhere but close to 0, where X = 0 itself
# has no value.
PLOT_DESCRIPTION = ("X from -10 to 10 in 10250 samples; axes X -10 to 10, Y -10 to 10."
                    " Equation 1, Sin(X)*(X^-2): 10147 points drawn, 1 sample undefined."
                    " Equation 2, (X^2)-(5*X)+3: 3731 points drawn, 0 samples undefined.")
# Keys whose captions do not say what they do, by the names a screen reader reads.
KEY_NAMES = ["Mod", "Negation", "Integer divide", "Exponent", "Decimal point", "Clear", "Delete", "Backspace"]

# The Formula Tutor's tables: name, rows, and some cells (row, column, text).
TUTOR_TABLES = [
    ("Legal operators in order of precedence:", 6, [(0, 0, "^"), (0, 1, "Exponent"), (0, 2, "X^2 or X^-3"),
                                                    (5, 0, "-"), (5, 1, "Subtract"), (5, 2, "X-5")]),
    ("Built In Functions:", 12, [(0, 0, "Abs"), (0, 1, "Absolute"), (0, 2, "Abs(X)"),
                                 (8, 1, "-1,0,1"), (11, 0, "Tan"), (11, 2, "Tan(X)")]),
]
TUTOR_HEADERS = ["Symbol", "Explanation", "Example"]
# The frames inside the Tutor's "Examples" frame, by their own captions.
TUTOR_EXAMPLE_FRAMES = ["X Values", "Functions"]

# The dialogs of the main window's menus: menu and item, each with its access key, and the
# button that closes the dialog.
DIALOGS = [
    ("Options", "o", "Decimal Places", "d", "Ok"),
    ("Help", "h", "Tech Support", "t", "Ok"),
    ("Help", "h", "Visit Our Store", "v", "Exit"),
    ("Help", "h", "ABout Tarnwick", "a", "OK"),
]


# The notifications the program showed: a screen reader speaks each as it appears.
HEARD = []


def heard(event):
    if event.detail1 and event.source is not None and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
        HEARD.append(event.source.name)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe):
    """The first true answer of probe(), polled for at most BOUND seconds."""
    deadline = time.monotonic() + BOUND
    while True:
        try:
            answer = probe()
        except Exception:  # the tree changes under us while windows open and close
            answer = None
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise Failure("gave up waiting for " + what)
        context = GLib.MainContext.default()
        while context.pending():  # delivers the events we listen to
            context.iteration(False)
        time.sleep(0.05)


def children(acc):
    return [c for c in acc if c is not None]


def descendants(acc):
    for c in children(acc):
        yield c
        yield from descendants(c)


def find(root, role, name):
    for acc in descendants(root):
        if acc.getRole() == role and acc.name == name:
            return acc
    return None


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def press(root, name, role=pyatspi.ROLE_PUSH_BUTTON):
    """Presses the control through its Action interface, as a screen reader's user does."""
    control = wait_for(f"{name!r}", lambda: find(root, role, name))
    action = control.queryAction()
    check(action.nActions > 0, f"{name!r} offers no action")
    action.doAction(0)


def type_into(root, name, text):
    field = wait_for(f"field {name!r}", lambda: find(root, pyatspi.ROLE_TEXT, name))
    field.queryEditableText().setTextContents(text)
    wait_for(f"{text!r} in {name!r}", lambda: field.queryText().getText(0, -1) == text)


def window(app, role, name=None):
    """The showing top-level window of the role (and name)."""
    for w in children(app):
        if w.getRole() == role and showing(w) and (name is None or w.name == name):
            return w
    return None


def nameless_focusables(root):
    """Paths of the showing focusable objects without a name; cells of tables are named by
    their contents, which may be empty."""
    found = []

    def walk(acc, path):
        for c in children(acc):
            here = f"{path}/{c.getRoleName()}"
            state = c.getState()
            if state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_FOCUSABLE) \
                    and not c.name.strip() and c.getRole() != pyatspi.ROLE_TABLE_CELL:
                found.append(here)
            if c.getRole() != pyatspi.ROLE_TABLE:
                walk(c, here)

    walk(root, root.name)
    return found


def check_named(root):
    nameless = nameless_focusables(root)
    check(not nameless, f"focusable controls without a name in {root.name!r}: {nameless}")


def check_cells(table, cells, headers):
    t = table.queryTable()
    for column, header in enumerate(headers):
        check(t.getColumnDescription(column) == header,
              f"{table.name!r} column {column} header {t.getColumnDescription(column)!r}, not {header!r}")
        head = t.getColumnHeader(column)
        check(head is not None and head.name == header, f"{table.name!r} column {column} has no header {header!r}")
    for row, column, text in cells:
        cell = t.getAccessibleAt(row, column)
        check(cell is not None and cell.name == text,
              f"{table.name!r} cell ({row}, {column}) reads {cell.name if cell else None!r}, not {text!r}")


def tabulate(app, main):
    for name, text in {**RANGE, **EQUATIONS}.items():
        type_into(main, name, text)
    press(main, "Evaluate")
    wait_for("the end of the run announced", lambda: "21 readings tabulated" in HEARD)
    grid = find(main, pyatspi.ROLE_TABLE, "Evaluations")
    check(grid is not None, "no table 'Evaluations'")
    check(grid.queryTable().nRows == 21, f"the grid has {grid.queryTable().nRows} rows, not 21")
    check_cells(grid, GRID_CELLS, GRID_HEADERS)


def plot(app, main):
    press(main, "Graph")
    graph = wait_for("the graph window", lambda: window(app, pyatspi.ROLE_FRAME, "Plotwell"))
    picture = wait_for("the drawing area", lambda: find(graph, pyatspi.ROLE_IMAGE, "Graph"))
    check_named(graph)
    press(graph, "Plot")
    wait_for("the end of the plot announced", lambda: "2 equations plotted" in HEARD)
    description = picture.description
    print("The drawing area after Plot:", description)
    check(description == PLOT_DESCRIPTION, f"the drawing area's description: {description!r}")
    axes = open_dialog(app, graph, "Options", "o", "Axis", "a")
    check_named(axes)
    close_dialog(app, axes, "Cancel")
    press(graph, "Exit")
    wait_for("the graph window to close", lambda: window(app, pyatspi.ROLE_FRAME, "Plotwell") is None)


def key(letter, alt=False):
    """Types a key through AT-SPI's key synthesis, with Alt held if asked."""
    alt_mask = 1 << int(Atspi.ModifierType.ALT)
    if alt:
        Atspi.generate_keyboard_event(alt_mask, None, Atspi.KeySynthType.LOCKMODIFIERS)
    Atspi.generate_keyboard_event(ord(letter), None, Atspi.KeySynthType.SYM)
    if alt:
        Atspi.generate_keyboard_event(alt_mask, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


def open_dialog(app, owner, menu, menu_key, item, item_key):
    """Opens a dialog from the keyboard, as its user would: Alt and the menu's access key,
    then the item's. (The item's Action would wait for the modal dialog to close.)"""
    wait_for(f"{owner.name!r} to be active", lambda: owner.getState().contains(pyatspi.STATE_ACTIVE))
    key(menu_key, alt=True)
    popup = wait_for(f"menu {menu!r}", lambda: next(
        (c for c in children(find(owner, pyatspi.ROLE_MENU_ITEM, menu)) if showing(c)), None))
    check(find(popup, pyatspi.ROLE_MENU_ITEM, item) is not None, f"no item {item!r} in {menu!r}")
    key(item_key)
    return wait_for(f"the dialog of {menu} > {item}", lambda: window(app, pyatspi.ROLE_DIALOG))


def close_dialog(app, dialog, button):
    press(dialog, button)
    wait_for(f"{dialog.name!r} to close", lambda: window(app, pyatspi.ROLE_DIALOG) is None)


def tutor(app, main):
    dialog = open_dialog(app, main, "Help", "h", "Help Topics", "h")
    check(dialog.name == "Formula Tutor", f"the Tutor is called {dialog.name!r}")
    for name, rows, cells in TUTOR_TABLES:
        table = wait_for(f"table {name!r}", lambda: find(dialog, pyatspi.ROLE_TABLE, name))
        t = table.queryTable()
        check((t.nRows, t.nColumns) == (rows, 3), f"{name!r} has {t.nRows} x {t.nColumns} cells")
        check_cells(table, cells, TUTOR_HEADERS)
        roles = {c.getRole() for c in children(table)}
        check(roles == {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TABLE_COLUMN_HEADER},
              f"{name!r} holds more than its cells: {sorted(str(r) for r in roles)}")
    examples = find(dialog, pyatspi.ROLE_PANEL, "Examples")
    check(examples is not None, "no frame 'Examples'")
    inner = [c for c in children(examples) if c.getRole() == pyatspi.ROLE_PANEL]
    check([c.name for c in inner] == TUTOR_EXAMPLE_FRAMES, f"the frames in 'Examples' are called {inner}")
    for frame in inner:  # a screen reader takes a label it is given over the frame's own name
        labels = [frame.name] + [r.getTarget(i).name for r in frame.getRelationSet()
                                 if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                                 for i in range(r.getNTargets())]
        check(set(labels) == {frame.name}, f"frame {frame.name!r} is labelled by {labels[1:]}")
    check_named(dialog)
    close_dialog(app, dialog, "Exit")


def dialogs(app, main):
    for menu, menu_key, item, item_key, button in DIALOGS:
        dialog = open_dialog(app, main, menu, menu_key, item, item_key)
        check_named(dialog)
        close_dialog(app, dialog, button)


def main():
    program = sys.argv[1]
    pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([program], env=env)
    try:
        def application():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == process.pid and window(app, pyatspi.ROLE_FRAME):
                    return app
            return None

        app = wait_for("the program on the accessibility bus", application)
        main_window = wait_for("the main window", lambda: window(app, pyatspi.ROLE_FRAME, "Tarnwick"))
        check_named(main_window)
        for name in KEY_NAMES:
            check(find(main_window, pyatspi.ROLE_PUSH_BUTTON, name) is not None, f"no key named {name!r}")
        tabulate(app, main_window)
        plot(app, main_window)
        tutor(app, main_window)
        dialogs(app, main_window)
        press(main_window, "Exit")
        status = process.wait(timeout=BOUND)
        check(status == 0, f"the program ended with status {status}")
    except Exception as failure:  # a Failure, or the bus or the program gone wrong
        print("FAIL:", failure if isinstance(failure, Failure) else traceback.format_exc(), file=sys.stderr)
        process.kill()
        process.wait()
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
