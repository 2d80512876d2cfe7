#pragma once

namespace toolkit::qt {

// Whether a window that belongs to another (the welcome form, the boxes) is
// shown inside its owner instead of as a window of its own. On Wayland a
// program cannot place its windows, and compositors differ in where they put
// a window with a parent link (mutter beside or at the parent's top edge);
// wlroots compositors such as sway, on Wayland and through Xwayland, stack
// floating windows by focus alone, so one click on the owner hides the other
// window behind it. Inside the owner it stands exactly where it is put and
// always above. Every X11 window manager of ours keeps a transient above its
// owner, and there the windows stay separate.
bool owned_windows_inside_owner();

}  // namespace toolkit::qt
