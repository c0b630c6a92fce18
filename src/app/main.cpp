#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>

#include "core/project_file.h"
#include "core/settings.h"
#include "core/startup_context.h"
#include "core/version.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "ui/base/program_pictures.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window.h"
#include "ui/progress/progress_sink.h"
#include "ui/progress/splash_window.h"
#include "ui/seams/mask_store.h"
#include "ui/seams/qt_prompts.h"
#include "ui/seams/shell.h"

namespace {

using namespace tomlet;

// Qt's own options of every window program (-platform offscreen, -style fusion, -reverse, ...),
// which QApplication takes out of the arguments only after the command line has been read here:
// let them pass, unlisted in the help.
void AcceptQtOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                             "geometry", "style", "stylesheet", "qmljsdebugger"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// `tomlet [FILE.tml]`: --help and --version print and end the program (QCommandLineParser);
// otherwise the named project, if any, becomes the disc's default project. Returns the named
// project's full path (empty for none), or the exit code of a command line that ends the program.
std::variant<std::string, int> TakeCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds and shows the catalogue of a disc or folder tree."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE.tml"),
        QStringLiteral("The project to open instead of the start-up project; its objects' "
                       "relative paths lead into its folder."),
        QStringLiteral("[FILE.tml]"));
    AcceptQtOptions(parser);
    parser.process(application);
    const QStringList projects = parser.positionalArguments();
    if (projects.size() > 1) {
        std::fputs("tomlet: name one project at most (tomlet --help)\n", stderr);
        return 2;
    }
    if (projects.isEmpty())
        return std::string();
    return AbsolutePath(FromQString(projects.front()));
}

// The splash with the default project's own picture and show time, or the built-in picture.
// Returns once the show time is over.
std::unique_ptr<Tfrm_Splash> ShowSplash(const StartupContext& context) {
    auto splash = std::make_unique<Tfrm_Splash>();
    const std::string defaultFile = context.DefaultProjectPath();
    if (!FileExists(defaultFile))
        splash->HideGauge();
    SplashSettings settings;
    if (PeekSplashSettings(defaultFile, context.DiscFolder, settings) &&
        splash->LoadPicture(ToQString(settings.PicturePath)))
        splash->SetShowTime(settings.ShowTime);
    splash->FitToPicture();
    splash->ShowAndWait();
    return splash;
}

void SetApplicationFacts() {
    QCoreApplication::setApplicationName(QStringLiteral("Tomlet"));
    QCoreApplication::setApplicationVersion(ToQString(GetVersionText()).trimmed());
}

}  // namespace

int main(int argc, char** argv) {
    // Every text and file name the window holds is Unicode (UTF-8), whatever the system's code
    // page; only what projects store is in theirs. Before any text is read: the splash peek
    // already reads the default project's texts.
    SetProcessCodePage(TextCodec::Utf8);
    const std::string programFolder = ExecutableFolder();
    ApplyCodePageSetting(DataFolderOfProgram(programFolder));
    std::string named;
    {
        // The command line is read before the window system is reached, so that --help and
        // --version answer without a display (over SSH, in scripts).
        const QCoreApplication commandLine(argc, argv);
        SetApplicationFacts();
        auto taken = TakeCommandLine(commandLine);
        if (const int* exitCode = std::get_if<int>(&taken))
            return *exitCode;
        named = std::move(std::get<std::string>(taken));
    }
    QApplication application(argc, argv);
    SetApplicationFacts();
    QGuiApplication::setDesktopFileName(QStringLiteral(TOMLET_DESKTOP_FILE_NAME));
    QApplication::setWindowIcon(ProgramIcon());
    const StartupContext context = MakeStartupContext(programFolder, named);

    std::unique_ptr<Tfrm_Splash> splash = ShowSplash(context);
    QtPrompts prompts;
    SystemShell shell;
    SettingsMaskStore masks;
    WindowProgressSink progress;
    // The main window's creation loads the start-up project; its progress shows on the splash.
    progress.SetSplash(splash.get());
    Tfrm_Main window(Seams{prompts, shell, masks, progress}, context);
    progress.SetSplash(nullptr);
    splash.reset();

    window.show();
    return QApplication::exec();
}
