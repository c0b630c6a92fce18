#include "ui/main_window/properties_page.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/main_window/project_session.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

PropertiesPage::PropertiesPage(QWidget& window, const MainWindowUi& ui,
                               const ObjectTreeModel& model, ProjectSession& session,
                               Prompts& prompts, std::string discFolder)
    : m_window(window),
      m_ui(ui),
      m_model(model),
      m_session(session),
      m_prompts(prompts),
      m_discFolder(std::move(discFolder)) {}

void PropertiesPage::edit_ProjectDataDirButtonClick() {
    const std::string& dataDir = m_session.CurrentDataDir();
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
    if (chosen.isEmpty())
        return;
    m_ui.edit_ProjectDataDir->setText(ToQString(NormaliseDriveRoot(FromQString(chosen))));
    m_session.SetCurrentDataDir(FromQString(m_ui.edit_ProjectDataDir->text()));
}

void PropertiesPage::edit_SplashFileNameButtonClick() {
    const std::string& dataDir = m_session.CurrentDataDir();
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
                  NativeStoredPath(FromQString(m_ui.edit_SplashFileName->text())));
    request.IncludeFiles = true;
    const QString chosen = m_prompts.PickFolder(&m_window, request);
    if (chosen.isEmpty())
        return;
    const std::string picked = FromQString(chosen);
    const std::optional<std::string> relative = MakeDataRelative(picked, dataDir);
    if (relative && FileExists(picked))
        m_ui.edit_SplashFileName->setText(ToQString(*relative));
    else
        m_prompts.ShowMessage(
            &m_window, MessageKind::Error,
            ToQString(Text(TextId::message_FileNotExistOrNotContainInProjectDir)));
}

void PropertiesPage::button_DontShowSplahScreenClick() {
    m_ui.edit_SplashFileName->clear();
}

void PropertiesPage::a_options_item_AbsolutePathExecute() {
    // The checkable action has inverted itself; the check box shows the same flag.
    m_ui.checkbox_AbsoluteLink->setChecked(m_ui.a_options_item_AbsolutePath->isChecked());
}

}  // namespace tomlet
