#include "ui/base/user_preferences.h"

#include <QDir>
#include <QSettings>

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/base/settings_file.h"

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
    : m_refusedFile(NonRegularSettingsFile(QSettings::IniFormat, u"Tomlet"_s, u"preferences"_s)) {
    if (m_refusedFile.isEmpty())
        m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 u"Tomlet"_s, u"preferences"_s);
}

UserPreferences::~UserPreferences() = default;

QString UserPreferences::Refusal() const {
    if (m_refusedFile.isEmpty())
        return {};
    return ToQString(FormatString(Text(TextId::message_PreferencesNotAFile_S),
                                  FromQString(QDir::toNativeSeparators(m_refusedFile))));
}

QVariant UserPreferences::Value(const QString& key) const {
    return m_settings ? m_settings->value(key) : QVariant();
}

void UserPreferences::SetValue(const QString& key, const QVariant& value) {
    if (m_settings)
        m_settings->setValue(key, value);
}

QByteArray UserPreferences::WindowGeometry() const {
    return Value(GeometryKey).toByteArray();
}

QByteArray UserPreferences::WindowState() const {
    return Value(StateKey).toByteArray();
}

void UserPreferences::SetWindowPlace(const QByteArray& geometry, const QByteArray& state) {
    SetValue(GeometryKey, geometry);
    SetValue(StateKey, state);
}

QString UserPreferences::LastFolder() const {
    return Value(LastFolderKey).toString();
}

void UserPreferences::SetLastFolder(const QString& folder) {
    SetValue(LastFolderKey, folder);
}

QStringList UserPreferences::RecentProjects() const {
    return Value(RecentProjectsKey).toStringList();
}

void UserPreferences::SetRecentProjects(const QStringList& paths) {
    SetValue(RecentProjectsKey, paths);
}

std::optional<QString> UserPreferences::Language(const QString& dataFolder) const {
    const QVariant language = Value(LanguageKey(dataFolder));
    if (!language.isValid())
        return std::nullopt;
    return language.toString();
}

void UserPreferences::SetLanguage(const QString& dataFolder, const QString& language) {
    SetValue(LanguageKey(dataFolder), language);
}

void UserPreferences::ForgetLanguage(const QString& dataFolder) {
    if (m_settings)
        m_settings->remove(LanguageKey(dataFolder));
}

}  // namespace tomlet
