#include "ui/base/user_preferences.h"

#include <QSettings>

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

const QString GeometryKey = u"Window/Geometry"_s;
const QString StateKey = u"Window/State"_s;
const QString LastFolderKey = u"Files/LastFolder"_s;
const QString RecentProjectsKey = u"Files/RecentProjects"_s;

// One key per program folder; a folder's separators would otherwise open groups.
QString LanguageKey(const QString& dataFolder) {
    return u"Languages/"_s + QString::fromLatin1(dataFolder.toUtf8().toPercentEncoding());
}

}  // namespace

UserPreferences::UserPreferences()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             u"Tomlet"_s, u"preferences"_s)) {}

UserPreferences::~UserPreferences() = default;

QByteArray UserPreferences::WindowGeometry() const {
    return m_settings->value(GeometryKey).toByteArray();
}

QByteArray UserPreferences::WindowState() const {
    return m_settings->value(StateKey).toByteArray();
}

void UserPreferences::SetWindowPlace(const QByteArray& geometry, const QByteArray& state) {
    m_settings->setValue(GeometryKey, geometry);
    m_settings->setValue(StateKey, state);
}

QString UserPreferences::LastFolder() const {
    return m_settings->value(LastFolderKey).toString();
}

void UserPreferences::SetLastFolder(const QString& folder) {
    m_settings->setValue(LastFolderKey, folder);
}

QStringList UserPreferences::RecentProjects() const {
    return m_settings->value(RecentProjectsKey).toStringList();
}

void UserPreferences::SetRecentProjects(const QStringList& paths) {
    m_settings->setValue(RecentProjectsKey, paths);
}

std::optional<QString> UserPreferences::Language(const QString& dataFolder) const {
    const QVariant language = m_settings->value(LanguageKey(dataFolder));
    if (!language.isValid())
        return std::nullopt;
    return language.toString();
}

void UserPreferences::SetLanguage(const QString& dataFolder, const QString& language) {
    m_settings->setValue(LanguageKey(dataFolder), language);
}

void UserPreferences::ForgetLanguage(const QString& dataFolder) {
    m_settings->remove(LanguageKey(dataFolder));
}

}  // namespace tomlet
