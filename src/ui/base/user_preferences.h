#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace tomlet {

// What Tomlet keeps for the current user, apart from a disc's tomlet.ini (which a disc may hold
// read-only, and which an installed program shares with every user): the main window's place,
// the folder of the last project chosen in a file dialog, the recent projects and the language
// chosen where tomlet.ini could not keep it. The file is QSettings' INI file
// Tomlet/preferences.ini in the user's configuration folder (~/.config, or %APPDATA% on Windows),
// apart from the scan masks' store; QSettings::setPath(IniFormat, UserScope, ...) moves it.
class UserPreferences final {
public:
    UserPreferences();
    ~UserPreferences();
    UserPreferences(const UserPreferences&) = delete;
    UserPreferences& operator=(const UserPreferences&) = delete;

    // QWidget::saveGeometry() and QMainWindow::saveState() of the main window.
    QByteArray WindowGeometry() const;
    QByteArray WindowState() const;
    void SetWindowPlace(const QByteArray& geometry, const QByteArray& state);

    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

    QStringList RecentProjects() const;
    void SetRecentProjects(const QStringList& paths);

    // The language chosen for the program whose tomlet.ini lies in `dataFolder`, when that file
    // could not keep the choice.
    std::optional<QString> Language(const QString& dataFolder) const;
    void SetLanguage(const QString& dataFolder, const QString& language);
    void ForgetLanguage(const QString& dataFolder);

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace tomlet
