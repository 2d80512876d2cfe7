#pragma once

#include <QImage>

// A tennis ball filling a transparent size x size square.
QImage drawBall(int size);
