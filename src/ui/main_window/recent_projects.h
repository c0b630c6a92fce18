#pragma once

#include <QStringList>
#include <functional>
#include <string>

class QMenu;

namespace tomlet {

class UserPreferences;

// The "Recent projects" submenu of the File menu: the last project files opened or saved, newest
// first, as the user's preferences keep them between runs. Choosing one hands its path to the
// window's command.
class RecentProjects final {
public:
    static constexpr int MaxCount = 8;
    using OpenCommand = std::function<void(const std::string& path)>;

    RecentProjects(QMenu& menu, UserPreferences& preferences, OpenCommand open);
    RecentProjects(const RecentProjects&) = delete;
    RecentProjects& operator=(const RecentProjects&) = delete;

    // Puts the project first, once.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    QStringList Paths() const;

private:
    void Keep(const QStringList& paths);
    void ShowInMenu(const QStringList& paths);

    QMenu& m_menu;
    UserPreferences& m_preferences;
    OpenCommand m_open;
};

}  // namespace tomlet
