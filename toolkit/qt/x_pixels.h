#pragma once

namespace toolkit::qt {

// On X11, makes Qt send a repaint's pixels to the X server in its request
// instead of through a shared-memory image. A rally repaints a few small
// pieces every turn, and a shared image costs each such repaint a round trip
// to the server (Qt must know the server has read the pixels before it draws
// over them again) and a wake-up of Qt's X thread for the reply. Sending the
// pieces costs neither. A player who set QT_XCB_NO_MITSHM keeps that choice.
// Call before the QApplication is made.
void send_pixels_in_requests();

}  // namespace toolkit::qt
