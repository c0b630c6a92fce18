#pragma once

#include <QByteArray>
#include <QIcon>

namespace tomlet {

// The pictures compiled into the program (resources/program_pictures.qrc).
QByteArray BuiltInSplashJpeg();  // 450 × 330
QIcon ProgramIcon();

}  // namespace tomlet
