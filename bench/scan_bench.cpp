// A scan of a generated tree of 200,000 files in 20,220 folders, by the core alone and through
// the editor's command with its progress window, beside a plain readdir walk of the same tree,
// so that the figures come from one run on one warm cache.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <string>

#include "core/object_tree.h"
#include "core/progress.h"
#include "core/scanner.h"
#include "platform/file_system.h"
#include "support/generated_folder_tree.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/progress/progress_sink.h"
#include "ui/seams/mask_store.h"
#include "ui/seams/prompts.h"
#include "ui/seams/shell.h"
#include "ui/tree/object_tree_model.h"

namespace {

const tomlet::bench::GeneratedFolderTree& Tree() {
    static const tomlet::bench::GeneratedFolderTree tree("tomlet-scan-bench");
    return tree;
}

long long Walk(const std::string& folder) {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr)
        return 0;
    long long entries = 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        ++entries;
        if (entry->d_type == DT_DIR)
            subfolders.push_back(folder + '/' + entry->d_name);
    }
    closedir(directory);
    for (const auto& subfolder : subfolders)
        entries += Walk(subfolder);
    return entries;
}

void ReaddirWalk(benchmark::State& state) {
    const std::string root = Tree().Root();
    long long entries = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(entries = Walk(root));
    state.counters["entries"] = static_cast<double>(entries);
}

void ScanDirectoryAllFiles(benchmark::State& state) {
    const std::string root = Tree().Root();
    tomlet::SilentProgress silent;
    int objects = 0;
    for (auto _ : state) {
        tomlet::ObjectTree project;
        tomlet::ObjectTree built;
        tomlet::FolderScanner scanner({"*.*"}, root, silent, silent);
        scanner.ScanDirectory(root, built, nullptr, true);
        project.Adopt(std::move(built), nullptr);
        objects = project.Count();
        state.PauseTiming();
        project.ClearObjectTree();
        state.ResumeTiming();
    }
    state.counters["objects"] = objects;
}

// The editor asks nothing but the scan dialog, which a timer answers.
class SilentPrompts final : public tomlet::Prompts {
public:
    void ShowMessage(QWidget*, tomlet::MessageKind, const QString&) override {}
    bool Confirm(QWidget*, const QString&) override { return false; }
    tomlet::Answer AskYesNoCancel(QWidget*, const QString&) override { return tomlet::Answer::No; }
    bool ConfirmDefaultNo(QWidget*, const QString&) override { return false; }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QStringList OpenFileNames(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString PickFolder(QWidget*, const tomlet::FolderPickerRequest&) override { return {}; }
};

class AllFilesMask final : public tomlet::MaskStore {
public:
    tomlet::LoadedMasks Load() override { return {{QStringLiteral("*.*")}, {}}; }
    QString Save(const QStringList&) override { return {}; }
    std::optional<tomlet::UpdateChoice> LoadUpdateChoice(const QString&) override { return {}; }
    void SaveUpdateChoice(const QString&, const tomlet::UpdateChoice&) override {}
};

void EditorScanCommand(benchmark::State& state) {
    const QString root = QString::fromStdString(Tree().Root());
    SilentPrompts prompts;
    AllFilesMask masks;
    tomlet::SystemShell shell;
    tomlet::WindowProgressSink progress;
    tomlet::Tfrm_Main window(tomlet::Seams{prompts, shell, masks, progress},
                             tomlet::MakeStartupContext(tomlet::ExecutableFolder()));
    window.show();
    window.Ui().a_view_item_Editor->trigger();
    const tomlet::MainWindowUi& ui = window.Ui();
    ui.EditPageControl->setCurrentWidget(ui.tabsheet_Data);
    for (auto _ : state) {
        window.UpdateActions();
        QTimer::singleShot(0, &window, [root] {
            auto* dialog = dynamic_cast<tomlet::Tfrm_Scan*>(QApplication::activeModalWidget());
            dialog->SetDirectory(root);
            dialog->accept();
        });
        ui.a_operation_item_ScanProjectDirectory->trigger();
        state.PauseTiming();
        state.counters["objects"] = window.Model().Tree().Count();
        window.Session().CloseProject(tomlet::ProjectSession::ForgetFileName::No);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(ReaddirWalk)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ScanDirectoryAllFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(EditorScanCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
