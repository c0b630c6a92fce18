#include "main_window_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "core/catalogue.h"
#include "core/startup_context.h"
#include "core/version.h"
#include "ui/base/qt_text.h"

namespace tomlet::testing {

using namespace Qt::StringLiterals;

MainWindowFixture::MainWindowFixture() : m_previousDirectory(QDir::currentPath()) {
    QDir::setCurrent(QString::fromStdString(folder.Path().string()));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(preferences.Path().string()));
}

MainWindowFixture::~MainWindowFixture() {
    m_window.reset();
    ResetCatalogue();
    QDir::setCurrent(m_previousDirectory);
}

Tfrm_Main& MainWindowFixture::Start() {
    m_window =
        std::make_unique<Tfrm_Main>(SeamsInUse(), MakeStartupContext(folder / "", namedProject));
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

void MainWindowFixture::Open(const std::string& path) {
    prompts.OpenAnswers.push_back(QString::fromStdString(path));
    m_window->Ui().a_files_item_Open->trigger();
    Idle();
}

void MainWindowFixture::OpenFromShelf(const std::string& catalogue, const QString& text) {
    m_window->Ui().a_files_item_Shelf->trigger();
    Tfrm_Shelf* shelf = ShelfWindow();
    ASSERT_NE(shelf, nullptr);
    shelf->AddCatalogues({QString::fromStdString(catalogue)});
    shelf->findChild<QLineEdit*>(u"edit_Text"_s)->setText(text);
    auto* hits = shelf->findChild<QTreeView*>(u"list_Hits"_s);
    ASSERT_TRUE(QTest::qWaitFor([hits] { return hits->model()->rowCount() > 0; }));
    QTest::keyClick(hits, Qt::Key_Return);
    Idle();
}

std::string MainWindowFixture::OpenProjectIn(const std::string& dataDir, int count) {
    TProjectRec project;
    project.ProjectDataDir = dataDir;
    const std::string path = WriteProject("catalogue.tml", project, count);
    Open(path);
    return path;
}

void MainWindowFixture::ShowPage(QWidget* page) {
    m_window->Ui().EditPageControl->setCurrentWidget(page);
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
    SaveProject(folder / name, project, tree);
    return folder / name;
}

void MainWindowFixture::Idle() {
    QCoreApplication::processEvents();
}

QString VersionText() {
    return ToQString(GetVersionText());
}

QString QText(TextId id) {
    return ToQString(Text(id));
}

void Pick(Tfrm_Main& window, const QString& language) {
    for (QAction* item : window.Ui().menu_Language->actions()) {
        if (item->text() == language)
            return item->trigger();
    }
    ADD_FAILURE() << "no language " << language.toStdString();
}

}  // namespace tomlet::testing
