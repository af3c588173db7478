#!/usr/bin/env python3
"""Reads the running program through AT-SPI as a screen reader does.

Started by scripts/check-accessibility inside its own session bus and X
server: starts the program given as the argument, works its windows through
the accessibility bus only (menus, buttons, selection, the keyboard), prints
what it reads and exits non-zero when something cannot be heard as it is
seen. The program is ended by the process ID it was started with.
"""
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import Atspi

# Roles of the controls a user operates, which must each have a name.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
}
# The rows of lists and tables are read by their texts, not walked as controls.
ROW_ROLES = {pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TABLE_ROW, pyatspi.ROLE_TABLE_COLUMN_HEADER,
             pyatspi.ROLE_TABLE_ROW_HEADER}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
TIMEOUT = 20
KEY_HOME = 0xff50
KEY_RETURN = 0xff0d

failures = []
passed = 0


def check(condition, message):
    global passed
    print(("  ok    " if condition else "  FAIL  ") + message)
    if condition:
        passed += 1
    else:
        failures.append(message)
    return condition


def wait_for(find, what):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    raise RuntimeError("gave up waiting for " + what)


def plain(name):
    return (name or "").replace("&", "")


def state(node, which):
    return node.getState().contains(which)


def descendants(node, into_rows=False, into_menus=False):
    """Every node below node, depth first, rows and menus left out unless asked."""
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        yield child
        if child.getRole() in ROW_ROLES and not into_rows:
            continue
        if child.getRole() == pyatspi.ROLE_MENU_BAR and not into_menus:
            continue
        yield from descendants(child, into_rows, into_menus)


def find(node, role=None, name=None, **walk):
    for child in descendants(node, **walk):
        if (role is None or child.getRole() == role) and (name is None or name in (child.name, plain(child.name))):
            return child
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    print("  (%s %r: %s)" % (node.getRoleName(), node.name, ", ".join(names)))
    for wanted in ("Press", "press", "click", "Toggle", "toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    action.doAction(0)


def windows(app):
    return [app.getChildAtIndex(index) for index in range(app.childCount)]


def window_named(app, name):
    return wait_for(lambda: next((window for window in windows(app) if window.name == name
                                  and state(window, pyatspi.STATE_SHOWING)), None),
                    "window %r among %s" % (name, [window.name for window in windows(app)]))


def menu_command(main, menu, item):
    entry = wait_for(lambda: find(main, pyatspi.ROLE_MENU_ITEM, item, into_menus=True), "menu item " + item)
    print("  (menu %s > %s)" % (menu, item))
    press(entry)


def list_rows(node):
    return [node.getChildAtIndex(index).name for index in range(node.childCount)
            if node.getChildAtIndex(index).getRole() in ROW_ROLES]


def read_window(window):
    """Checks what every window owes a screen reader; returns its controls."""
    print("window %r, role %s" % (window.name, window.getRoleName()))
    check(window.getRole() in WINDOW_ROLES, "%r is read as a window (%s)" % (window.name, window.getRoleName()))
    check(bool(window.name), "the window has a title")
    controls = []
    for node in descendants(window):
        described = "%s %r" % (node.getRoleName(), node.name)
        check(state(node, pyatspi.STATE_VISIBLE), "nothing hidden is on the bus: " + described)
        if state(node, pyatspi.STATE_FOCUSABLE) and state(node, pyatspi.STATE_SHOWING) and node.getRole() not in ROW_ROLES:
            check(bool(node.name.strip()), "what takes focus has a name: " + described)
        if node.getRole() in CONTROL_ROLES:
            controls.append(node)
    return controls


def check_named_controls(controls, roles):
    for control in controls:
        if control.getRole() not in roles:
            continue
        name = control.name.strip()
        value = ""
        if control.getRole() == pyatspi.ROLE_COMBO_BOX:
            choices = [plain(row.name) for row in descendants(control, into_rows=True) if row.getRole() in ROW_ROLES
                       or row.getRole() == pyatspi.ROLE_MENU_ITEM]
            check(bool(name) and name not in choices, "pop-up button %r is named by its label, not by a choice %s"
                  % (name, choices))
            continue
        if control.getRole() == pyatspi.ROLE_SLIDER:
            value = str(control.queryValue().currentValue)
        print("  %-13s %r%s" % (control.getRoleName(), name, " = " + value if value else ""))
        check(bool(name) and name != value, "%s has a name" % control.getRoleName())


def attempt(step):
    """Runs a step that may wait in vain; a failure, but the reading goes on."""
    try:
        step()
    except RuntimeError as error:
        check(False, str(error))


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def items_list(main_window):
    return wait_for(lambda: find(main_window, pyatspi.ROLE_LIST, "Application Items"), "the items list")


def row_named(rows, start):
    return next((row for row in rows if row.startswith(start)), "")


def read_inspector(app, main_window, items):
    """Opens the first row's inspector with the keyboard, as a screen reader user does."""
    print("inspector")
    # As a keyboard user: to the window, into the list, to its first row, Return.
    main_window.queryComponent().grabFocus()
    time.sleep(0.5)
    items.queryComponent().grabFocus()
    # Without a window manager the keys go to the window under the pointer.
    x, y, width, height = items.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, pyatspi.MOUSE_ABS)
    for key in (KEY_HOME, KEY_RETURN):
        time.sleep(0.5)
        pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
    print("  (keys Home, Return in %r, focused: %s)" % (items.name, state(items, pyatspi.STATE_FOCUSED)))
    popover = window_named(app, "xterm")
    controls = read_window(popover)
    check_named_controls(controls, CONTROL_ROLES - {pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE})
    names = [control.name for control in controls if control.getRole() == pyatspi.ROLE_CHECK_BOX]
    check("Use Working hours" in names and "Use Office network in range" in names,
          "each condition's check box is named after its condition")
    mode = find(popover, name="Startup mode")
    check(mode is not None and mode.getRole() != pyatspi.ROLE_FILLER
          and sorted(mode.getChildAtIndex(index).getRoleName() for index in range(mode.childCount)
                     if mode.getChildAtIndex(index).getRole() == pyatspi.ROLE_RADIO_BUTTON) == ["radio button"] * 3,
          "the startup mode is one group of three radio buttons (%s)" % (mode.getRoleName() if mode else "none"))
    press(wait_for(lambda: find(popover, pyatspi.ROLE_PUSH_BUTTON, "Open in a window"), "the detach button"))
    wait_for(lambda: not state(popover, pyatspi.STATE_SHOWING) or None, "the popover to close")
    read_window(window_named(app, "xterm"))


def run(pid):
    app = wait_for(lambda: application(pid), "the program on the accessibility bus")
    # Read live, not from what the library kept of an earlier reading.
    app.set_cache_mask(Atspi.Cache.NONE)
    print("application %r" % app.name)
    check(app.name == "Lanternwick", "the program is announced as Lanternwick")

    main_window = window_named(app, "Lanternwick")
    read_window(main_window)
    items = items_list(main_window)
    rows = wait_for(lambda: list_rows(items) or None, "the rows of the items list")
    print("items list %r:" % items.name)
    for row in rows:
        print("  row   %r" % row)
    hidden = row_named(rows, "<h1>Report & notes $HOME.txt")
    check("hidden" in hidden and "Working hours" in hidden, "a hidden row says so and names its condition")
    check("Item is missing!" in row_named(rows, "Program"), "a missing item says so")
    check(all(row.count(part) == 1 for row in rows for part in row.split(", ")), "no row says the same text twice")

    print("simulation")
    last = []

    def verdicts():
        last[:] = list_rows(items)
        return last if all("would" in row for row in last) else None
    menu_command(main_window, "Items", "Enter Launch Simulation Mode")
    try:
        rows = wait_for(verdicts, "the verdicts of the simulation")
    except RuntimeError:
        rows = last
    for row in rows:
        print("  row   %r" % row)
    check(all("would" in row for row in rows) and any("would not start because" in row for row in rows),
          "in simulation each row says whether it would start and why")
    # A menu item takes its new title when its menu opens.
    menu_command(main_window, "Items", "Enter Launch Simulation Mode")

    print("preferences")
    menu_command(main_window, "File", "Preferences...")
    preferences = window_named(app, "General")
    check_named_controls(read_window(preferences), CONTROL_ROLES)
    press(wait_for(lambda: find(preferences, name="Look & feel"), "the Look & feel pane"))
    wait_for(lambda: find(preferences, pyatspi.ROLE_COMBO_BOX, "Log verbosity"), "the Look & feel pane")
    check_named_controls(read_window(preferences), CONTROL_ROLES)
    press(wait_for(lambda: find(preferences, name="Ignored Items"), "the Ignored Items pane"))
    ignored = wait_for(lambda: find(preferences, pyatspi.ROLE_LIST, "Ignored Items"), "the ignored items")
    for row in list_rows(ignored):
        print("  row   %r" % row)
    check(any("disabled" in row for row in list_rows(ignored)), "an ignored row tells its startup mode")

    print("welcome")
    menu_command(main_window, "Help", "Welcome to Lanternwick")
    attempt(lambda: check_named_controls(read_window(window_named(app, "Welcome to Lanternwick")), CONTROL_ROLES))

    print("system items")
    menu_command(main_window, "View", "System Items")
    wait_for(lambda: main_window.name == "System Items" or None, "the main window's name to follow its page")
    check(main_window.name == "System Items", "the main window is named after its page")
    system = wait_for(lambda: find(main_window, pyatspi.ROLE_LIST, "System Items"), "the system items list")
    for row in list_rows(system):
        print("  row   %r" % row)
    check("Clock, Shows the time in the panel" in list_rows(system), "a system row reads its name, then its description")
    menu_command(main_window, "View", "Items")
    try:
        read_inspector(app, main_window, items)
    except RuntimeError as error:
        # Typing needs the X server's test extension through the registry.
        print("  skip  the inspector: the keys typed did not open it (%s)" % error)


def main():
    program = subprocess.Popen([sys.argv[1]])
    try:
        run(program.pid)
    except Exception as error:  # pylint: disable=broad-except
        traceback.print_exc()
        check(False, "%s: %s" % (type(error).__name__, error))
    finally:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
