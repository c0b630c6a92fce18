#pragma once

#include <QString>
#include <array>

#include "core/catalogue.h"
#include "core/object_actions.h"

class QAction;
class QMenu;
class QWidget;

namespace tomlet {

class ObjectNode;
class ObjectTreeView;
class ProjectSession;
class Prompts;
class Shell;

// The widgets object running works with: the tree whose selected object runs, and its context
// menu, whose first item stands for the object's own action among the alternate actions.
struct ObjectRunningWidgets {
    ObjectTreeView* Tree;
    QMenu* ContextMenu;
    QAction* OwnActionItem;
    // The alternate actions by their tags, 1 (Open) to 4 (Open by association).
    std::array<QAction*, 4> AlternateActions;
};

// Running the selected object's action: the action commands, double click, the context menu's
// first item bound to the object's own action, and the hover hint that describes an object.
// An action whose path leads outside the disc (the base folder of the project's paths) starts
// only after the user agrees. An action that cannot run says why: the object's file or folder is
// missing, no program opens it, or the program could not start. An object without an action and
// a virtual folder stay quiet.
class ObjectRunning final {
public:
    ObjectRunning(QWidget& window, const ObjectRunningWidgets& widgets,
                  const ProjectSession& session, Prompts& prompts, Shell& shell);
    ObjectRunning(const ObjectRunning&) = delete;
    ObjectRunning& operator=(const ObjectRunning&) = delete;

    // Runs an action (or the object's own) on the selected object.
    void RunObjectAction(RequestedAction action);
    // The action commands: the tag of `action` is the action to run, 0 the object's own.
    void RunTaggedAction(const QAction& action);
    void a_action_item_OpenFolderContainingObjectExecute();
    // A double click runs the object's own action, except on a folder (which it opens or closes).
    void TreeDoubleClicked();
    // Just before the context menu opens: its first item runs the object's own action when that
    // is one of the four alternate actions, and is hidden otherwise.
    void PrepareContextMenu();
    void menuitem_NoActionClick();
    QString HintText(const ObjectNode& node) const;

private:
    void Carry(const ObjectCommand& command, const std::string& path);
    void TellFailure(TextId text, const std::string& path, const QString& reason = {});

    QWidget& m_window;
    ObjectRunningWidgets m_widgets;
    const ProjectSession& m_session;
    Prompts& m_prompts;
    Shell& m_shell;
    QAction* m_boundMenuAction = nullptr;
};

}  // namespace tomlet
