#include "main_window_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QSettings>
#include <stdexcept>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "core/version.h"
#include "platform/file_system.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/keyboard_state.h"

namespace tomlet::testing {

using namespace Qt::StringLiterals;

MainWindowFixture::MainWindowFixture() : m_previousDirectory(QDir::currentPath()) {
    QDir::setCurrent(QString::fromStdString(folder.Path().string()));
    SetProgramFolderForTesting(folder.Path().string());
    SetCtrlHeldForTesting(false);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(preferences.Path().string()));
}

MainWindowFixture::~MainWindowFixture() {
    m_window.reset();
    SetCtrlHeldForTesting(std::nullopt);
    SetProgramFolderForTesting({});
    SetNamedProject({});
    ResetCatalogue();
    QDir::setCurrent(m_previousDirectory);
}

Tfrm_Main& MainWindowFixture::Start() {
    m_window = std::make_unique<Tfrm_Main>(SeamsInUse());
    Idle();
    return *m_window;
}

void MainWindowFixture::Close() {
    if (!m_window->IsBrowserView())
        m_window->Ui().a_view_item_Browser->trigger();
    EXPECT_TRUE(m_window->close());
    m_window.reset();
}

void MainWindowFixture::Select(const ObjectNode* node) {
    TreeView().SelectNode(node);
    Idle();
}

QString MainWindowFixture::ShownTitle() const {
    return m_window->windowTitle().replace(QStringLiteral("[*]"),
                                           m_window->isWindowModified() ? u"*"_s : QString());
}

std::string MainWindowFixture::WriteProject(const std::string& name, const TProjectRec& project,
                                            int count) const {
    ObjectTree tree;
    for (int i = 0; i < count; ++i) {
        TNodeData data;
        data.Caption = "object " + std::to_string(i);
        data.Comments = "comments of " + data.Caption + "\r\n";
        tree.Append(nullptr, std::move(data));
    }
    SilentProgress silent;
    const std::string path = folder / name;
    if (!WriteProjectFile(path, project, tree, silent, silent).Saved)
        throw std::runtime_error("cannot write " + path);
    return path;
}

TProjectRec MainWindowFixture::ReadProject(const std::string& path, ObjectTree* tree) const {
    TProjectRec project;
    ObjectTree read;
    SilentProgress silent;
    if (!ReadProjectFile(path, project, tree != nullptr ? *tree : read, silent, silent).Ok())
        throw std::runtime_error("cannot read " + path);
    return project;
}

void MainWindowFixture::Idle() {
    QCoreApplication::processEvents();
}

QString VersionText() {
    return ToQString(GetVersionText());
}

void Pick(Tfrm_Main& window, const QString& language) {
    for (QAction* item : window.Ui().menu_Language->actions()) {
        if (item->text() == language)
            return item->trigger();
    }
    ADD_FAILURE() << "no language " << language.toStdString();
}

}  // namespace tomlet::testing
