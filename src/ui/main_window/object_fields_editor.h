#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <Qt>

class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace tomlet {

class ObjectNode;
class ObjectTreeModel;
class ObjectTreeView;
class Prompts;
struct ActionContext;
struct TNodeData;

// The widgets of the object fields: the data page's fields, the browser's comments box, the
// Commit command that Enter triggers and the tree whose selection they show.
struct ObjectFieldsWidgets {
    QLineEdit* PathFileName;
    QLineEdit* Parameters;
    QLineEdit* Caption;
    QLineEdit* Hint;
    QComboBox* Keywords;
    QComboBox* ObjectType;
    QComboBox* ObjectAction;
    QPlainTextEdit* Comments;
    QPlainTextEdit* BrowserComments;
    QAction* Commit;
    ObjectTreeView* Tree;
};

// The object fields of the data page and the browser's comments box: they show the selected
// node's record, Commit writes the fields back and the path button picks a new path. The fields
// hold the author's edits until Commit; edits not yet committed are never lost to a change of
// selection: they are committed to the node being left first. A node that goes takes its edits
// with it, and the fields are emptied when the node they show is gone.
class ObjectFieldsEditor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ObjectFieldsEditor)

public:
    ObjectFieldsEditor(QWidget& window, const ObjectFieldsWidgets& widgets, ObjectTreeModel& model,
                       Prompts& prompts);
    ~ObjectFieldsEditor() override = default;

    // Fills the fields from the selected node's record; they hold no edits then.
    void ShowObjectFields();
    // Empties the fields (the keywords box keeps its text); they hold no edits then.
    void ClearObjectFields();
    // The tree's selection moved: the edits of the node left are committed and the fields show
    // the new node.
    void FollowSelection();
    // Whether the author changed a field since the fields were filled: Commit is offered.
    bool HasEdits() const { return m_edited; }
    // Whether the fields hold edits that Commit would write into the record they show.
    bool HasPendingEdits() const;
    void CommitPendingEdits();
    // The editor's rule: the fields are enabled exactly when a node is selected.
    void EnableFields(bool nodeSelected);

    void a_button_CommitExecute();
    // The path button: a file or folder below the data directory of `paths` sets the path field
    // and, from what it is, the type and action.
    void ChooseObjectPath(const ActionContext& paths);

Q_SIGNALS:
    // HasEdits() changed.
    void EditsChanged();

private:
    void ConnectFieldChanges();
    void FollowShownNode();
    void SetEdited(bool edited);
    ObjectNode* ShownNode() const;
    // The record as Commit writes it from the fields over `stored`.
    TNodeData EditedRecord(const TNodeData& stored) const;
    void CommitTo(ObjectNode& node);
    void ConnectEnterKey();
    void EnterInField(QWidget* field, Qt::KeyboardModifiers modifiers);
    ObjectNode* SelectedNode() const;

    QWidget& m_window;
    ObjectFieldsWidgets m_widgets;
    ObjectTreeModel& m_model;
    Prompts& m_prompts;
    // The node whose record the fields show; invalid once it is gone.
    QPersistentModelIndex m_shown;
    bool m_edited = false;
    // While the editor fills the fields itself, which is no edit of the author's.
    bool m_filling = false;
};

}  // namespace tomlet
