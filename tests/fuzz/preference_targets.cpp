// The user's preferences file, which any program of the user may have written, and the recent
// projects menu built from it.
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <string>

#include "fuzz_entries.h"
#include "fuzz_input.h"
#include "ui/base/qt_text.h"
#include "ui/base/user_preferences.h"
#include "ui/main_window/recent_projects.h"

namespace tomlet::fuzz {

namespace {

// The menu needs an application; no display is needed.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "fuzz_preferences";
    static char* argv[] = {name, nullptr};
    static const QApplication* application = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)application;
}

}  // namespace

// A path to add to the recent projects, a zero byte, then the preferences file.
int PreferencesAndRecentProjects(const std::uint8_t* data, std::size_t size) {
    EnsureApplication();
    FuzzInput input(data, size);
    const std::string added(input.Text());
    // A folder of its own for each input: QSettings keeps what it read of a file by its name,
    // size and time.
    static int inputs = 0;
    const std::string folder = EmptyScratchFolder("preferences") + "/" + std::to_string(++inputs);
    InputFile("preferences/" + std::to_string(inputs) + "/Tomlet/preferences.ini", input.Rest());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, ToQString(folder));

    {
        UserPreferences preferences;
        preferences.WindowGeometry();
        preferences.WindowState();
        preferences.LastFolder();
        preferences.Language(ToQString(added));
        QMenu menu;
        RecentProjects recent(menu, preferences, [](const std::string&) {});
        Require(recent.Paths().size() <= RecentProjects::MaxCount, "at most eight recent projects");
        if (added.empty())
            return 0;  // the program adds no empty path
        recent.Add(added);
        Require(recent.Paths().value(0) == ToQString(added), "the project added comes first");
    }
    UserPreferences again;
    Require(again.RecentProjects().value(0) == ToQString(added),
            "the preferences keep the project added");
    return 0;
}

}  // namespace tomlet::fuzz
