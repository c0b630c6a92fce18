#include "ui/main_window/properties_page.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSpinBox>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "ui/base/memo_text.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/project_session.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

namespace {

// Each widget is set only where it shows something else, so that what the author is typing
// keeps its cursor and its undo steps.
void Show(QLineEdit& edit, const std::string& text) {
    const QString shown = ToQString(text);
    if (edit.text() != shown)
        edit.setText(shown);
}

void Show(QPlainTextEdit& memo, const std::string& text) {
    if (memo.toPlainText() != MemoDisplayText(text))
        SetMemoText(memo, text);
}

// A widget that still shows the property leaves its bytes as they are.
void Take(const QLineEdit& edit, std::string& text) {
    if (edit.text() != ToQString(text))
        text = FromQString(edit.text());
}

void Take(const QPlainTextEdit& memo, std::string& text) {
    if (memo.toPlainText() != MemoDisplayText(text))
        text = MemoText(memo);
}

}  // namespace

PropertiesPage::PropertiesPage(QWidget& window, const ProjectPropertiesWidgets& widgets,
                               const ObjectTreeModel& model, ProjectSession& session,
                               Prompts& prompts, std::string discFolder)
    : m_window(window),
      m_widgets(widgets),
      m_model(model),
      m_session(session),
      m_prompts(prompts),
      m_discFolder(std::move(discFolder)) {
    ShowProject();
    ConnectEdits();
}

void PropertiesPage::ConnectEdits() {
    const auto edited = [this] {
        if (!m_showing)
            m_session.SetProperties(GatheredProject());
    };
    for (QLineEdit* edit :
         {m_widgets.DataDir, m_widgets.Name, m_widgets.Name2, m_widgets.SplashFile})
        QObject::connect(edit, &QLineEdit::textChanged, &m_session, edited);
    QObject::connect(m_widgets.SplashShowTime, &QSpinBox::valueChanged, &m_session, edited);
    QObject::connect(m_widgets.Description, &QPlainTextEdit::textChanged, &m_session, edited);
    QObject::connect(&m_session, &ProjectSession::Changed, &m_session, [this] { ShowProject(); });
}

void PropertiesPage::ShowProject() {
    const QScopedValueRollback showing(m_showing, true);
    const TProjectRec& project = m_session.Project();
    Show(*m_widgets.DataDir, project.ProjectDataDir);
    Show(*m_widgets.Name, project.ProjectName);
    Show(*m_widgets.Name2, project.ProjectName2);
    Show(*m_widgets.SplashFile, project.SplashFileName);
    m_widgets.SplashShowTime->setValue(project.SplashShowTime);
    m_widgets.AbsolutePaths->setChecked(project.AbsolutePath);
    m_widgets.AbsolutePathsBox->setChecked(project.AbsolutePath);
    Show(*m_widgets.Description, project.ProjectDescription);
    m_widgets.BrowserName->setText(ToQString(project.ProjectName));
    m_widgets.BrowserName2->setText(ToQString(project.ProjectName2));
    Show(*m_widgets.BrowserDescription, project.ProjectDescription);
}

TProjectRec PropertiesPage::GatheredProject() const {
    TProjectRec project = m_session.Project();
    Take(*m_widgets.DataDir, project.ProjectDataDir);
    Take(*m_widgets.Name, project.ProjectName);
    Take(*m_widgets.Name2, project.ProjectName2);
    Take(*m_widgets.SplashFile, project.SplashFileName);
    project.SplashShowTime = m_widgets.SplashShowTime->value();
    Take(*m_widgets.Description, project.ProjectDescription);
    return project;
}

void PropertiesPage::edit_ProjectDataDirButtonClick() {
    const std::string& dataDir = m_session.DataDir();
    if (!m_model.Tree().IsEmpty() && DirectoryExists(dataDir)) {
        m_prompts.ShowMessage(&m_window, MessageKind::Warning,
                              ToQString(Text(TextId::message_CantChangeProjectDataDir)));
        return;
    }
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + dataDir);
    // Where the data directory leads: the field may hold one relative to the disc.
    request.InitialSelection = ToQString(dataDir.empty() ? m_discFolder : dataDir);
    const QString chosen = m_prompts.PickFolder(&m_window, request);
    if (!chosen.isEmpty())
        m_session.SetDataDirectory(NormaliseDriveRoot(FromQString(chosen)));
}

void PropertiesPage::edit_SplashFileNameButtonClick() {
    const std::string& dataDir = m_session.DataDir();
    if (!DirectoryExists(dataDir)) {
        m_prompts.ShowMessage(&m_window, MessageKind::Error,
                              ToQString(Text(TextId::message_ProjectDataDirNotExist)));
        return;
    }
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + " " + dataDir);
    request.RootFolder = ToQString(dataDir);
    request.InitialSelection =
        ToQString(StripTrailingBackslash(dataDir) + PathRules::Native().Separator +
                  NativeStoredPath(m_session.Project().SplashFileName));
    request.IncludeFiles = true;
    const QString chosen = m_prompts.PickFolder(&m_window, request);
    if (chosen.isEmpty())
        return;
    const std::string picked = FromQString(chosen);
    const std::optional<std::string> relative = MakeDataRelative(picked, dataDir);
    if (!relative || !FileExists(picked)) {
        m_prompts.ShowMessage(
            &m_window, MessageKind::Error,
            ToQString(Text(TextId::message_FileNotExistOrNotContainInProjectDir)));
        return;
    }
    TProjectRec project = m_session.Project();
    project.SplashFileName = *relative;
    m_session.SetProperties(project);
}

void PropertiesPage::button_DontShowSplahScreenClick() {
    TProjectRec project = m_session.Project();
    project.SplashFileName.clear();
    m_session.SetProperties(project);
}

void PropertiesPage::a_options_item_AbsolutePathExecute() {
    m_session.SetPathMode(m_widgets.AbsolutePaths->isChecked() ? PathMode::Absolute
                                                               : PathMode::Relative);
}

}  // namespace tomlet
