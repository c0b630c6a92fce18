// Opening a large project in the browser view, from the Open command to a painted tree, beside
// `tomlet-cli check` on the same file, with the resident memory of the whole program.
//
// Run: build/bench/main_window_open_bench [--objects N] [--project file.tml]
// Without --project a project of N objects (default 1,000,000) is made by make-large-project in a
// child process, so that this process holds only what the program itself holds.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "ui/main_window/main_window.h"
#include "ui/progress/progress_sink.h"
#include "ui/seams/mask_store.h"
#include "ui/seams/prompts.h"
#include "ui/seams/shell.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace {

using namespace tomlet;

std::string g_project;
QString g_cli;
double g_openSeconds = 0;
double g_checkSeconds = 0;

long StatusKilobytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return -1;
}

class AnswerOpen final : public Prompts {
public:
    void ShowMessage(QWidget*, MessageKind, const QString& text) override {
        std::cerr << text.toStdString() << '\n';
    }
    bool Confirm(QWidget*, const QString&) override { return false; }
    Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::No; }
    bool ConfirmDefaultNo(QWidget*, const QString&) override { return false; }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return QString::fromStdString(g_project);
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QStringList OpenFileNames(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString PickFolder(QWidget*, const FolderPickerRequest&) override { return {}; }
};

// Runs first: a child's peak resident size counts the pages it shares with this process until it
// starts the tool, so this process must still be small.
void BM_CliCheck(benchmark::State& state) {
    for (auto _ : state) {
        QProcess cli;
        QElapsedTimer clock;
        clock.start();
        cli.start(g_cli, {QStringLiteral("check"), QString::fromStdString(g_project)});
        cli.waitForFinished(-1);
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        g_checkSeconds = g_checkSeconds == 0 ? seconds : std::min(g_checkSeconds, seconds);
        if (cli.exitCode() != 0)
            state.SkipWithError("tomlet-cli check failed");
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["child_peak_rss_MB"] = children.ru_maxrss / 1024.0;
}
BENCHMARK(BM_CliCheck)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_OpenInBrowserToPaintedTree(benchmark::State& state) {
    AnswerOpen prompts;
    SystemShell shell;
    SettingsMaskStore masks;
    WindowProgressSink progress;
    Tfrm_Main window(Seams{prompts, shell, masks, progress},
                     MakeStartupContext(ExecutableFolder()));
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        window.Ui().a_files_item_Open->trigger();
        window.Ui().TreeView->viewport()->repaint();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        g_openSeconds = g_openSeconds == 0 ? seconds : std::min(g_openSeconds, seconds);
        state.counters["objects"] = window.Model().Tree().Count();
        state.counters["rss_MB"] = StatusKilobytes("VmRSS:") / 1024.0;
        state.counters["peak_rss_MB"] = StatusKilobytes("VmHWM:") / 1024.0;
        state.PauseTiming();
        window.Ui().a_files_item_CloseFile->trigger();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenInBrowserToPaintedTree)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

std::string Option(int& argc, char** argv, const std::string& name, const std::string& fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] != name)
            continue;
        std::string value = argv[i + 1];
        for (int j = i; j + 2 <= argc; ++j)
            argv[j] = argv[j + 2];
        argc -= 2;
        return value;
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string objects = Option(argc, argv, "--objects", "1000000");
    g_project = Option(argc, argv, "--project", "");
    QApplication application(argc, argv);
    g_cli = QStringLiteral(TOMLET_CLI);
    if (g_project.empty()) {
        g_project = QDir::temp()
                        .filePath(QStringLiteral("tomlet-large-project-%1.tml")
                                      .arg(QString::fromStdString(objects)))
                        .toStdString();
        if (!QFile::exists(QString::fromStdString(g_project))) {
            std::cout << "Generating " << objects << " objects into " << g_project << '\n';
            const int code = QProcess::execute(
                QStringLiteral(MAKE_LARGE_PROJECT),
                {QString::fromStdString(g_project), QString::fromStdString(objects)});
            if (code != 0)
                return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_checkSeconds > 0)
        std::printf("Open to painted tree: %.3f s, tomlet-cli check: %.3f s, ratio %.2f\n",
                    g_openSeconds, g_checkSeconds, g_openSeconds / g_checkSeconds);
    return 0;
}
