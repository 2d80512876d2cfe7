#!/usr/bin/python3
"""A desktop panel along the bottom of the X screen, HEIGHT pixels high.

Usage: panel.py HEIGHT
A dock window that reserves its strip of the screen (_NET_WM_STRUT_PARTIAL),
as a taskbar does, so the window manager leaves it out of the work area
(_NET_WORKAREA). Prints "ready" once the work area excludes it, then stays
until it is ended.
"""
import sys
import time

from Xlib import X, Xatom, Xutil, display

height = int(sys.argv[1])
d = display.Display()
screen = d.screen()
root = screen.root
width, screen_h = screen.width_in_pixels, screen.height_in_pixels
atom = d.intern_atom
panel = root.create_window(0, screen_h - height, width, height, 0, screen.root_depth,
                           X.InputOutput, X.CopyFromParent, background_pixel=screen.black_pixel)
# Where it asks to stand, or the window manager places it as it likes.
panel.set_wm_normal_hints(flags=Xutil.USPosition | Xutil.PPosition, x=0, y=screen_h - height)
panel.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32, [atom("_NET_WM_WINDOW_TYPE_DOCK")])
# left, right, top, bottom, then the start and end of each strip along its edge.
panel.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                      [0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1])
panel.change_property(atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, [0, 0, 0, height])
panel.map()
d.flush()
for _ in range(200):
    area = root.get_full_property(atom("_NET_WORKAREA"), Xatom.CARDINAL)
    if area and area.value[3] == screen_h - height:
        print("ready", flush=True)
        break
    time.sleep(0.05)
else:
    sys.exit("the window manager did not leave the panel out of the work area")
while True:
    time.sleep(3600)
