#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
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
//
// A preferences file that is not a regular file (a folder, a pipe, a device) is not opened:
// QSettings would wait for good on a pipe. Then every preference has its default for the whole
// run and nothing is kept.
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

    // Why the preferences are not kept in this run, naming the file; empty when they are.
    QString Refusal() const;

private:
    QVariant Value(const QString& key) const;
    void SetValue(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;  // nullptr when the file is refused
    QString m_refusedFile;
};

}  // namespace tomlet
