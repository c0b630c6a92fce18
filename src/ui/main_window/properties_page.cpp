// The handlers of the project properties page.
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

void Tfrm_Main::ConnectPropertiesPage() {
    connect(m_ui.edit_ProjectDataDirButton, &QAction::triggered, this,
            [this] { RunCommand([this] { edit_ProjectDataDirButtonClick(); }); });
    connect(m_ui.edit_SplashFileNameButton, &QAction::triggered, this,
            [this] { RunCommand([this] { edit_SplashFileNameButtonClick(); }); });
    connect(m_ui.button_DontShowSplahScreen, &QToolButton::clicked, this,
            &Tfrm_Main::button_DontShowSplahScreenClick);
    ConnectCommand(m_ui.a_options_item_AbsolutePath,
                   &Tfrm_Main::a_options_item_AbsolutePathExecute);
}

void Tfrm_Main::edit_ProjectDataDirButtonClick() {
    if (!m_model->Tree().IsEmpty() && DirectoryExists(m_currentDataDir)) {
        Tell(MessageKind::Warning, ToQString(Text(TextId::message_CantChangeProjectDataDir)));
        return;
    }
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + m_currentDataDir);
    request.InitialSelection = m_ui.edit_ProjectDataDir->text();
    if (request.InitialSelection.isEmpty())
        request.InitialSelection = ToQString(ProgramFolder());
    const QString chosen = m_seams.UserPrompts->PickFolder(this, request);
    if (chosen.isEmpty())
        return;
    m_ui.edit_ProjectDataDir->setText(ToQString(NormaliseDriveRoot(FromQString(chosen))));
    m_currentDataDir = FromQString(m_ui.edit_ProjectDataDir->text());
}

void Tfrm_Main::edit_SplashFileNameButtonClick() {
    if (!DirectoryExists(m_currentDataDir)) {
        Tell(MessageKind::Error, ToQString(Text(TextId::message_ProjectDataDirNotExist)));
        return;
    }
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + " " + m_currentDataDir);
    request.RootFolder = ToQString(m_currentDataDir);
    request.InitialSelection =
        ToQString(StripTrailingBackslash(m_currentDataDir) + PathRules::Native().Separator +
                  NativeStoredPath(FromQString(m_ui.edit_SplashFileName->text())));
    request.IncludeFiles = true;
    const QString chosen = m_seams.UserPrompts->PickFolder(this, request);
    if (chosen.isEmpty())
        return;
    const std::string picked = FromQString(chosen);
    const std::optional<std::string> relative = MakeDataRelative(picked, m_currentDataDir);
    if (relative && FileExists(picked))
        m_ui.edit_SplashFileName->setText(ToQString(*relative));
    else
        Tell(MessageKind::Error,
             ToQString(Text(TextId::message_FileNotExistOrNotContainInProjectDir)));
}

void Tfrm_Main::button_DontShowSplahScreenClick() {
    m_ui.edit_SplashFileName->clear();
}

void Tfrm_Main::a_options_item_AbsolutePathExecute() {
    // The checkable action has inverted itself; the check box shows the same flag.
    m_ui.checkbox_AbsoluteLink->setChecked(m_ui.a_options_item_AbsolutePath->isChecked());
}

}  // namespace tomlet
