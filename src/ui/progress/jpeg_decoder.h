#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace tomlet {

// Decodes a JPEG with libjpeg. Anything libjpeg complains about, warnings included (a truncated or
// corrupt stream only draws a warning), a picture wider or higher than MaxPictureSide, and one
// that would need more than MaxJpegDecodeBytes of libjpeg's memory give a null image. A picture
// larger than `fitInto` (when given) is decoded by libjpeg at the smallest of its scales n/8 at
// which it still reaches the width or the height of `fitInto` (at 1/8 at least), ready to be
// scaled down to fit: the full picture is never made.
QImage DecodeJpeg(QByteArrayView data, QSize fitInto = {});

}  // namespace tomlet
