#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace tomlet {

// Decodes a JPEG with libjpeg. Anything libjpeg complains about, warnings included (a truncated or
// corrupt stream only draws a warning), and a picture wider or higher than MaxPictureSide give a
// null image.
QImage DecodeJpeg(QByteArrayView data);
QImage LoadJpegFile(const QString& path);

}  // namespace tomlet
