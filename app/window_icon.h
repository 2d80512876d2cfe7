#pragma once

#include <QStringList>

// The pictures of the game's window icon, the sizes title bars draw. Docks and
// switchers find the large ones among the installed icons, through the desktop
// entry that names the window class. Every window carries each size in a
// property sent to the display at start: a 256 px one added 7 % to the
// program's work up to its first picture.
inline QStringList window_icon_pictures() {
    return {":/art/icons/bounzo-32.png", ":/art/icons/bounzo-64.png"};
}
