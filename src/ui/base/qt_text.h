#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tomlet {

// The one place where the core's byte strings (in the process code page) meet Qt's Unicode.
QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text);
// Texts the core keeps in UTF-8 whatever the code page (the shelf's).
QString Utf8ToQString(std::string_view utf8);
std::string QStringToUtf8(const QString& text);

}  // namespace tomlet
