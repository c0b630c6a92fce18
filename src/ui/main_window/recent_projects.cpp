#include "ui/main_window/recent_projects.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>

#include "ui/base/qt_text.h"
#include "ui/base/user_preferences.h"

namespace tomlet {

namespace {

// A long path is cut in its middle, where its folders are least telling.
constexpr int MaxItemWidthInCharacters = 60;

}  // namespace

RecentProjects::RecentProjects(QMenu& menu, UserPreferences& preferences, OpenCommand open)
    : m_menu(menu),
      m_preferences(preferences),
      m_open(std::move(open)),
      m_paths(preferences.RecentProjects().mid(0, MaxCount)) {
    ShowInMenu();
}

void RecentProjects::Add(const std::string& path) {
    QStringList paths = m_paths;
    const QString added = ToQString(path);
    paths.removeAll(added);
    paths.prepend(added);
    Keep(paths);
}

void RecentProjects::Remove(const std::string& path) {
    QStringList paths = m_paths;
    paths.removeAll(ToQString(path));
    Keep(paths);
}

void RecentProjects::Keep(const QStringList& paths) {
    m_paths = paths.mid(0, MaxCount);
    m_preferences.SetRecentProjects(m_paths);
    ShowInMenu();
    Q_EMIT Changed();
}

// Items numbered 1 to 8 as their access letters; the path is the item's data.
void RecentProjects::ShowInMenu() {
    const QStringList& paths = m_paths;
    // Later: choosing an item may come back here while the item still sends its signal.
    for (QAction* old : m_menu.actions()) {
        m_menu.removeAction(old);
        old->deleteLater();
    }
    const QFontMetrics metrics(m_menu.font());
    const int width = metrics.averageCharWidth() * MaxItemWidthInCharacters;
    for (int i = 0; i < paths.size(); ++i) {
        QString shown = metrics.elidedText(paths[i], Qt::ElideMiddle, width);
        QAction* item = m_menu.addAction(u'&' + QString::number(i + 1) + u' ' +
                                         shown.replace(u'&', QStringLiteral("&&")));
        item->setData(paths[i]);
        QObject::connect(item, &QAction::triggered, &m_menu,
                         [this, path = FromQString(paths[i])] { m_open(path); });
    }
}

}  // namespace tomlet
