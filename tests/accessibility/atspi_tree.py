"""DeskPanel's accessible tree as a screen reader walks it, for the checks over AT-SPI."""
import pyatspi


def panel_app():
    """DeskPanel's application on the bus, or None while it is not there yet."""
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower().startswith("deskpanel"):
            return app
    return None


def walk(node, found):
    """Every node below `node`, depth first, appended to `found`."""
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        found.append(child)
        walk(child, found)
    return found


def in_boxes(app, test, roles=(pyatspi.ROLE_DIALOG,)):
    """The first node of an open box (a top-level window of one of `roles`) that passes
    `test`: only the boxes are walked, since a walk of the main window takes seconds."""
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getRole() in roles:
            for node in walk(window, []):
                if test(node):
                    return node
    return None
