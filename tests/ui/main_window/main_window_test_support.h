#pragma once

#include <QDir>
#include <memory>
#include <string>

#include "core/catalogue.h"
#include "core/records.h"
#include "core/shelf.h"
#include "support/fake_mask_store.h"
#include "support/fake_prompts.h"
#include "support/fake_shell.h"
#include "support/project_files.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "ui/main_window/main_window.h"
#include "ui/progress/progress_sink.h"
#include "ui/shelf/shelf_window.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet::testing {

// A main window started in a temporary folder that is both the current directory and the
// program folder, on the project `namedProject` names (none while it is empty), with the user's
// answers given by FakePrompts, its progress shown as the program shows it, the user's
// preferences kept in a temporary folder of their own (a window started again in the same fixture
// finds what the last one kept) and the shelf in shelf.sqlite of the folder.
class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    Tfrm_Main& Start();
    // Closes the window as the user does (in the browser view, so that it closes) and forgets it.
    void Close();
    Tfrm_Main& Window() { return *m_window; }
    const MainWindowUi& Ui() { return m_window->Ui(); }
    ObjectTreeModel& Model() { return m_window->Model(); }
    ObjectTreeView& TreeView() { return *m_window->Ui().TreeView; }
    // Selects a node and lets the window go idle.
    void Select(const ObjectNode* node);
    // Opens a project through File > Open, as the user does.
    void Open(const std::string& path);
    // Opens a catalogue as the user does through the Shelf window: File > Shelf..., the catalogue
    // put on the shelf, `text` searched for and Enter on the first hit.
    void OpenFromShelf(const std::string& catalogue, const QString& text);
    // The Shelf window of File > Shelf..., once opened.
    Tfrm_Shelf* ShelfWindow() { return m_window->findChild<Tfrm_Shelf*>(); }
    // Opens catalogue.tml, a project of `count` objects (WriteProject) whose data directory is
    // `dataDir`; returns its path.
    std::string OpenProjectIn(const std::string& dataDir, int count = 0);
    // Shows a page of the editor and lets the window go idle.
    void ShowPage(QWidget* page);
    // The caption as the window system shows it, with Qt's modified mark.
    QString ShownTitle() const;
    // The seams the window was started with.
    Seams SeamsInUse() { return {prompts, shell, masks, progress}; }

    // Writes a project file with `count` top-level objects named "object 0", "object 1", ...
    std::string WriteProject(const std::string& name, const TProjectRec& project,
                             int count = 3) const;
    static TProjectRec ReadProject(const std::string& path) { return LoadProject(path).Project; }
    // Lets the window go idle, so that its enabling rules run.
    static void Idle();

    TempFolder folder;
    TempFolder preferences;
    ScopedEnvironment shelfFile{ShelfEnvironmentVariable, folder / "shelf.sqlite"};
    std::string namedProject;
    FakePrompts prompts;
    FakeShell shell;
    FakeMaskStore masks;
    WindowProgressSink progress;

private:
    QString m_previousDirectory;
    std::unique_ptr<Tfrm_Main> m_window;
};

QString VersionText();
// A catalogue text as the window shows it.
QString QText(TextId id);

// Chooses a language from the Language menu, as a user does.
void Pick(Tfrm_Main& window, const QString& language);

}  // namespace tomlet::testing
