#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tomlet {

// The one place where the core's byte strings (in the process code page) meet Qt's Unicode.
QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text);

}  // namespace tomlet
