#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>

class QMenu;

namespace tomlet {

class UserPreferences;

// The "Recent projects" submenu of the File menu: the last project files opened or saved, newest
// first, as the user's preferences keep them between runs. Choosing one hands its path to the
// window's command.
class RecentProjects final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecentProjects)

public:
    static constexpr int MaxCount = 8;
    using OpenCommand = std::function<void(const std::string& path)>;

    RecentProjects(QMenu& menu, UserPreferences& preferences, OpenCommand open);
    ~RecentProjects() override = default;

    // Puts the project first, once.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const QStringList& Paths() const { return m_paths; }
    bool IsEmpty() const { return m_paths.isEmpty(); }

Q_SIGNALS:
    // The list changed.
    void Changed();

private:
    void Keep(const QStringList& paths);
    void ShowInMenu();

    QMenu& m_menu;
    UserPreferences& m_preferences;
    OpenCommand m_open;
    QStringList m_paths;
};

}  // namespace tomlet
