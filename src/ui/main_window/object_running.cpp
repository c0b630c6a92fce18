#include "ui/main_window/object_running.h"

#include <QAction>
#include <QMenu>

#include "core/catalogue.h"
#include "core/object_hint.h"
#include "core/object_tree.h"
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
    // A catalogue may come from anywhere: what it starts beyond its own disc is shown first.
    if (command.What != ObjectCommand::Kind::None && LeadsOutsideBaseFolder(node->Data, context) &&
        !m_prompts.ConfirmDefaultNo(&m_window, ToQString(RunOutsideDiscQuestion(command))))
        return;
    Perform(m_shell, command);
}

void ObjectRunning::RunTaggedAction(const QAction& action) {
    const int tag = action.data().toInt();
    RunObjectAction(tag == 0 ? OwnAction : RequestedAction(static_cast<std::uint8_t>(tag)));
}

void ObjectRunning::a_action_item_OpenFolderContainingObjectExecute() {
    const ObjectNode* node = m_widgets.Tree->SelectedNode();
    if (node == nullptr)
        return;
    Perform(m_shell, PlanOpenContainingFolder(node->Data, m_session.ObjectActionContext()));
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
