#!/usr/bin/python3
"""Asks the window manager to add a state to a window, as a desktop's
fullscreen or maximise shortcut does (an EWMH _NET_WM_STATE request).

Usage: net_wm_state.py WINDOW_ID STATE...   e.g. _NET_WM_STATE_FULLSCREEN
"""
import sys

from Xlib import X, display
from Xlib.protocol import event

ADD = 1
screen = display.Display()
root = screen.screen().root
window = screen.create_resource_object("window", int(sys.argv[1], 0))
atoms = [screen.intern_atom(name) for name in sys.argv[2:]] + [0, 0]
request = event.ClientMessage(window=window, client_type=screen.intern_atom("_NET_WM_STATE"),
                              data=(32, [ADD, atoms[0], atoms[1], 1, 0]))
root.send_event(request, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
screen.sync()
