#include "ui/base/settings_file.h"

#include <QFileInfo>

namespace tomlet {

using namespace Qt::StringLiterals;

QString NonRegularSettingsFile(QSettings::Format format, const QString& organization,
                               const QString& application) {
    // QSettings names the file of settings that do not exist without opening anything: the
    // folder and the extension it chooses (its own, or setPath's) come from there.
    const QFileInfo probe(
        QSettings(format, QSettings::UserScope, u"Tomlet.probe"_s, u"probe"_s).fileName());
    if (!probe.isAbsolute())
        return {};  // not a file
    const QString folder = QFileInfo(probe.path()).path();
    const QString extension = u'.' + probe.suffix();
    QStringList files;
    if (!application.isEmpty())
        files << folder + u'/' + organization + u'/' + application + extension;
    files << folder + u'/' + organization + extension;
    for (const QString& path : files) {
        const QFileInfo file(path);
        if (file.exists() && !file.isFile())
            return path;
    }
    return {};
}

}  // namespace tomlet
