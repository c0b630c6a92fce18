// Running objects' actions: double click, Enter, the context menu and the actions behind them;
// and the hover hint that describes an object.
#include <QLineEdit>
#include <QMenu>

#include "core/object_hint.h"
#include "platform/file_system.h"
#include "platform/text_editor.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window.h"
#include "ui/seams/shell.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

void Tfrm_Main::ConnectObjectActions() {
    for (QAction* action : {m_ui.a_action_item_Action, m_ui.a_action_item_OpenAction,
                            m_ui.a_action_item_ExecuteAction, m_ui.a_action_item_NotePadAction,
                            m_ui.a_action_item_AssociationAction})
        connect(action, &QAction::triggered, this, [this, action] {
            if (!IsBusy())
                RunOwnOrTaggedAction(action);
        });
    connect(m_ui.a_action_item_OpenFolderContainingObject, &QAction::triggered, this, [this] {
        try {
            a_action_item_OpenFolderContainingObjectExecute();
        } catch (...) {
            // Opening the folder is silent whatever happens.
        }
    });

    ObjectTreeView& tree = Tree();
    connect(&tree, &ObjectTreeView::EnterPressed, this, &Tfrm_Main::EnterInTree);
    connect(&tree, &ObjectTreeView::DoubleClicked, this, &Tfrm_Main::TreeDoubleClicked);
    tree.SetContextMenu(m_ui.RxPopupMenu);
    connect(m_ui.RxPopupMenu, &QMenu::aboutToShow, this, &Tfrm_Main::PrepareContextMenu);
    connect(m_ui.menuitem_NoAction, &QAction::triggered, this, [this] {
        if (m_boundMenuAction != nullptr)
            m_boundMenuAction->trigger();
    });
    tree.SetHintBuilder([this](const ObjectNode& node) {
        const std::string fullPath = FullObjectPath(ObjectActionContext(), node.Data.PathFileName);
        return ToQString(ObjectHintText(node.Data, fullPath));
    });
}

ActionContext Tfrm_Main::ObjectActionContext() const {
    ActionContext context;
    context.Mode = IsAbsolutePath() ? PathMode::Absolute : PathMode::Relative;
    context.DataDir = m_currentDataDir;
    context.ProgramFolder = ProgramFolder();
    context.TextEditor = TextEditorCommand();
    return context;
}

void Tfrm_Main::RunObjectAction(RequestedAction action) {
    const ObjectNode* node = SelectedNode();
    if (m_model->Tree().IsEmpty() || node == nullptr || m_seams.SystemShell == nullptr)
        return;
    Perform(*m_seams.SystemShell, PlanObjectAction(node->Data, action, ObjectActionContext()));
}

void Tfrm_Main::RunOwnOrTaggedAction(const QAction* action) {
    try {
        const int tag = action->data().toInt();
        RunObjectAction(tag == 0 ? OwnAction : RequestedAction(static_cast<std::uint8_t>(tag)));
    } catch (...) {
        // Object actions fail silently.
    }
}

void Tfrm_Main::a_action_item_OpenFolderContainingObjectExecute() {
    const ObjectNode* node = SelectedNode();
    if (node == nullptr || m_seams.SystemShell == nullptr)
        return;
    Perform(*m_seams.SystemShell, PlanOpenContainingFolder(node->Data, ObjectActionContext()));
}

void Tfrm_Main::EnterInTree(Qt::KeyboardModifiers modifiers) {
    if (IsEditorView() && !modifiers.testFlag(Qt::ControlModifier)) {
        m_ui.edit_Caption->setFocus();
        return;
    }
    m_ui.a_action_item_Action->trigger();
}

void Tfrm_Main::TreeDoubleClicked() {
    const ObjectNode* node = SelectedNode();
    if (IsBusy() || node == nullptr || node->Data.ObjectType == otFolder)
        return;
    try {
        RunObjectAction(OwnAction);
    } catch (...) {
        // Object actions fail silently.
    }
}

void Tfrm_Main::PrepareContextMenu() {
    m_boundMenuAction = nullptr;
    m_ui.menuitem_NoAction->setVisible(false);
    const ObjectNode* node = SelectedNode();
    if (node == nullptr)
        return;
    QAction* const tagged[] = {nullptr, m_ui.a_action_item_OpenAction,
                               m_ui.a_action_item_ExecuteAction, m_ui.a_action_item_NotePadAction,
                               m_ui.a_action_item_AssociationAction};
    const std::uint8_t own = node->Data.ObjectAction;
    if (own < 1 || own > 4)
        return;
    m_boundMenuAction = tagged[own];
    m_ui.menuitem_NoAction->setText(m_boundMenuAction->text());
    m_ui.menuitem_NoAction->setVisible(true);
}

}  // namespace tomlet
