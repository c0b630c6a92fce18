#include "ui/main_window/object_running.h"

#include <QAction>
#include <QMenu>

#include "core/catalogue.h"
#include "core/object_hint.h"
#include "core/object_tree.h"
#include "core/visible_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/project_session.h"
#include "ui/seams/prompts.h"
#include "ui/seams/shell.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

ObjectRunning::ObjectRunning(QWidget& window, const ObjectRunningWidgets& widgets,
                             const ProjectSession& session, Prompts& prompts, Shell& shell)
    : m_window(window),
      m_widgets(widgets),
      m_session(session),
      m_prompts(prompts),
      m_shell(shell) {}

void ObjectRunning::RunObjectAction(RequestedAction action) {
    const ObjectNode* node = m_widgets.Tree->SelectedNode();
    if (node == nullptr)
        return;
    const ActionContext context = m_session.ObjectActionContext();
    const ObjectCommand command = PlanObjectAction(node->Data, action, context);
    if (command.What == ObjectCommand::Kind::None)
        return;  // no action, a virtual folder: nothing to say
    const std::string fullPath = FullObjectPath(context, node->Data.PathFileName);
    if (!PathExists(fullPath)) {
        TellFailure(TextId::message_ObjectMissing_S, fullPath);
        return;
    }
    // A catalogue may come from anywhere: what it starts beyond its own disc is shown first.
    if (LeadsOutsideBaseFolder(node->Data, context) &&
        !m_prompts.ConfirmDefaultNo(&m_window, ToQString(RunOutsideDiscQuestion(command))))
        return;
    Carry(command, fullPath);
}

void ObjectRunning::RunTaggedAction(const QAction& action) {
    const int tag = action.data().toInt();
    RunObjectAction(tag == 0 ? OwnAction : RequestedAction(static_cast<std::uint8_t>(tag)));
}

void ObjectRunning::a_action_item_OpenFolderContainingObjectExecute() {
    const ObjectNode* node = m_widgets.Tree->SelectedNode();
    if (node == nullptr || node->Data.ObjectType == otVirtualFolder)
        return;
    const ActionContext context = m_session.ObjectActionContext();
    const std::string fullPath = FullObjectPath(context, node->Data.PathFileName);
    const ObjectCommand command = PlanOpenContainingFolder(node->Data, context);
    if (command.What == ObjectCommand::Kind::None)
        TellFailure(TextId::message_ObjectMissing_S, fullPath);
    else
        Carry(command, command.Target);
}

// Hands the command to the shell and says why, when it could not run.
void ObjectRunning::Carry(const ObjectCommand& command, const std::string& path) {
    const ShellOutcome outcome = Perform(m_shell, command);
    switch (outcome.What) {
        case ShellOutcome::Kind::Started:
            break;
        case ShellOutcome::Kind::NoProgram:
            TellFailure(TextId::message_NoProgramToOpen_S, path);
            break;
        case ShellOutcome::Kind::Failed:
            TellFailure(TextId::message_CannotStart_S, DescribeCommand(command), outcome.Reason);
            break;
    }
}

// The path is shown escaped, as in the question before running, so that it cannot forge lines.
void ObjectRunning::TellFailure(TextId text, const std::string& path, const QString& reason) {
    QString message = ToQString(FormatString(Text(text), EscapeControls(path, ProcessCodec())));
    if (!reason.isEmpty())
        message += QStringLiteral("\r\n") + reason;
    m_prompts.ShowMessage(&m_window, MessageKind::Warning, message);
}

void ObjectRunning::TreeDoubleClicked() {
    const ObjectNode* node = m_widgets.Tree->SelectedNode();
    if (node == nullptr || node->Data.ObjectType == otFolder)
        return;
    RunObjectAction(OwnAction);
}

void ObjectRunning::PrepareContextMenu() {
    QAction& item = *m_widgets.OwnActionItem;
    m_boundMenuAction = nullptr;
    item.setVisible(false);
    const ObjectNode* node = m_widgets.Tree->SelectedNode();
    if (node == nullptr)
        return;
    const std::uint8_t own = node->Data.ObjectAction;
    if (own < 1 || own > m_widgets.AlternateActions.size())
        return;
    m_boundMenuAction = m_widgets.AlternateActions[own - 1];
    // A letter of its own: the bound item's letter is chosen within the other menu.
    item.setText(WithoutAccessLetter(m_boundMenuAction->text()));
    AssignAccessLetter(*m_widgets.ContextMenu, item);
    item.setVisible(true);
}

void ObjectRunning::menuitem_NoActionClick() {
    if (m_boundMenuAction != nullptr)
        m_boundMenuAction->trigger();
}

QString ObjectRunning::HintText(const ObjectNode& node) const {
    const std::string fullPath =
        FullObjectPath(m_session.ObjectActionContext(), node.Data.PathFileName);
    return ToQString(ObjectHintText(node.Data, fullPath));
}

}  // namespace tomlet
