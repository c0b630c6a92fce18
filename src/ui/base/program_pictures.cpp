#include "ui/base/program_pictures.h"

#include <QFile>

// The resources live in a static library, whose initialiser the linker drops unless it is called.
static void InitProgramPictures() {
    Q_INIT_RESOURCE(program_pictures);
}

namespace tomlet {

namespace {
QString Resource(const char* name) {
    InitProgramPictures();
    return QStringLiteral(":/tomlet/") + QLatin1String(name);
}
}  // namespace

QByteArray BuiltInSplashJpeg() {
    QFile file(Resource("splash.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QIcon ProgramIcon() {
    return QIcon(Resource("tomlet.png"));
}

}  // namespace tomlet
