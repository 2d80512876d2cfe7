#pragma once

#include <QImage>

// The court background: a plain cream field with the net stretched across it.
QImage drawCourt();
