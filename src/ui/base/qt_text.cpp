#include "ui/base/qt_text.h"

#include "platform/text_codec.h"

namespace tomlet {

QString ToQString(std::string_view bytes) {
    const TextCodec& codec = ProcessCodec();
    if (codec.IsUtf8())
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::string utf8 = codec.ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const TextCodec& codec = ProcessCodec();
    if (codec.IsUtf8())
        return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
    return codec.FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString Utf8ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToUtf8(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace tomlet
