#pragma once

#include <QByteArray>
#include <QImage>

namespace tomlet::testing {

// A JPEG of the picture, written with libjpeg: Qt's JPEG plugin is not on every system (the
// Windows build has none).
QByteArray EncodeJpeg(const QImage& picture);

}  // namespace tomlet::testing
