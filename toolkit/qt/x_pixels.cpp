#include "toolkit/qt/x_pixels.h"

#include <QByteArray>
#include <QtGlobal>

namespace toolkit::qt {

void send_pixels_in_requests() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
}

}  // namespace toolkit::qt
