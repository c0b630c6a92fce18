#pragma once

#include <QSettings>
#include <QString>

namespace tomlet {

// The file of the user's settings that QSettings would read for an organization (and an
// application) in a format, or the organization's own file it falls back on, when it exists but
// is no regular file (a folder, a pipe, a device): QSettings would wait for good on a pipe, so
// such settings are never opened. Empty when there is none, and for settings kept elsewhere than
// in a file (the Windows registry). Found without opening any of them.
QString NonRegularSettingsFile(QSettings::Format format, const QString& organization,
                               const QString& application = {});

}  // namespace tomlet
