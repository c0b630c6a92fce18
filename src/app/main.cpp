#include <QApplication>
#include <memory>
#include <string>

#include "core/paths.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "platform/file_system.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window.h"
#include "ui/progress/progress_sink.h"
#include "ui/progress/splash_window.h"
#include "ui/seams/mask_store.h"
#include "ui/seams/qt_prompts.h"
#include "ui/seams/shell.h"

namespace {

using namespace tomlet;

// The splash with the default project's own picture and show time, or the built-in picture.
// Returns once the show time is over.
std::unique_ptr<Tfrm_Splash> ShowSplash() {
    auto splash = std::make_unique<Tfrm_Splash>();
    const std::string defaultFile = DefaultProjectPath();
    if (!FileExists(defaultFile))
        splash->HideGauge();
    SplashSettings settings;
    if (PeekSplashSettings(defaultFile, ProgramFolder(), settings) &&
        splash->LoadPicture(ToQString(settings.PicturePath)))
        splash->SetShowTime(settings.ShowTime);
    splash->FitToPicture();
    splash->ShowAndWait();
    return splash;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tomlet"));
    // Before any text is read: the splash peek already reads the default project's texts.
    ApplyCodePageSetting();

    std::unique_ptr<Tfrm_Splash> splash = ShowSplash();
    QtPrompts prompts;
    SystemShell shell;
    SettingsMaskStore masks;
    WindowProgressSink progress;
    // The main window's creation loads the start-up project; its progress shows on the splash.
    progress.SetSplash(splash.get());
    Tfrm_Main window(Seams{prompts, shell, masks, progress});
    progress.SetSplash(nullptr);
    splash.reset();

    window.show();
    return QApplication::exec();
}
