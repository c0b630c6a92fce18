#include "ui/main_window/object_fields_editor.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <functional>

#include "core/catalogue.h"
#include "core/object_actions.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "ui/base/error_policy.h"
#include "ui/base/memo_text.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

namespace {

void ShowListItem(QComboBox& list, std::uint8_t value) {
    list.setCurrentIndex(value < list.count() ? value : -1);
}

// Takes Enter away from the fields it watches and hands it to the editor.
class EnterKeyFilter final : public QObject {
public:
    using Handler = std::function<void(QWidget* field, Qt::KeyboardModifiers modifiers)>;

    EnterKeyFilter(QObject* parent, Handler handler)
        : QObject(parent), m_handler(std::move(handler)) {}

    void Watch(QWidget* field, QObject* keyTarget) {
        m_fields.insert(keyTarget, field);
        keyTarget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        m_handler(m_fields.value(watched), key->modifiers());
        return true;
    }

private:
    Handler m_handler;
    QHash<QObject*, QWidget*> m_fields;
};

// Type and action of a picked path: a file's by its extension, a folder's, or a virtual folder's.
std::pair<std::uint8_t, std::uint8_t> TypeAndActionOf(const std::string& picked) {
    if (FileExists(picked))
        return {ObjectTypeByExtension(picked), ObjectActionByExtension(picked)};
    if (DirectoryExists(picked))
        return {otFolder, oaOpen};
    return {otVirtualFolder, oaNoAction};
}

}  // namespace

ObjectFieldsEditor::ObjectFieldsEditor(QWidget& window, const MainWindowUi& ui,
                                       ObjectTreeModel& model, Prompts& prompts)
    : m_window(window), m_ui(ui), m_model(model), m_prompts(prompts) {
    ConnectFieldChanges();
    ConnectEnterKey();
    ForgetShownNodeWhenRemoved();
}

ObjectNode* ObjectFieldsEditor::SelectedNode() const {
    return m_ui.TreeView->SelectedNode();
}

void ObjectFieldsEditor::ShowObjectFields() {
    // Showing the fields never stops the user: the fields keep what they could show.
    RunIgnoringErrors([this] {
        ObjectNode* node = SelectedNode();
        if (m_model.Tree().IsEmpty() || node == nullptr)
            return;
        m_shownNode = node;
        const TNodeData& record = node->Data;
        m_ui.edit_PathFileName->setText(ToQString(record.PathFileName));
        m_ui.edit_Parameters->setText(ToQString(record.Parameters));
        m_ui.edit_Caption->setText(ToQString(record.Caption));
        m_ui.edit_Hint->setText(ToQString(record.Hint));
        ShowListItem(*m_ui.combobox_ObjectType, record.ObjectType);
        ShowListItem(*m_ui.combobox_ObjectAction, record.ObjectAction);
        SetMemoText(*m_ui.memo_Comments, record.Comments);
        SetMemoText(*m_ui.memo_BrowserComments, record.Comments);
        m_ui.a_button_Commit->setEnabled(false);
    });
}

void ObjectFieldsEditor::ClearObjectFields() {
    for (QLineEdit* edit :
         {m_ui.edit_PathFileName, m_ui.edit_Parameters, m_ui.edit_Caption, m_ui.edit_Hint})
        edit->clear();
    m_ui.combobox_ObjectType->setCurrentIndex(-1);
    m_ui.combobox_ObjectAction->setCurrentIndex(-1);
    m_ui.memo_Comments->clear();
    m_ui.a_button_Commit->setEnabled(false);
    m_shownNode = nullptr;
}

void ObjectFieldsEditor::FollowSelection() {
    if (!m_fieldsFollowSelection)
        return;
    CommitPendingEdits();
    ShowObjectFields();
}

bool ObjectFieldsEditor::HasPendingEdits() const {
    return m_ui.a_button_Commit->isEnabled() && m_shownNode != nullptr &&
           EditedRecord(m_shownNode->Data) != m_shownNode->Data;
}

void ObjectFieldsEditor::CommitPendingEdits() {
    if (HasPendingEdits())
        CommitTo(*m_shownNode);
}

void ObjectFieldsEditor::ClearTreeQuietly() {
    const QScopedValueRollback quiet(m_fieldsFollowSelection, false);
    m_model.ClearObjectTree();
}

void ObjectFieldsEditor::EnableFields(bool nodeSelected) {
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_ui.edit_PathFileName, m_ui.edit_Caption, m_ui.edit_Parameters, m_ui.edit_Hint,
             m_ui.combobox_Keywords, m_ui.combobox_ObjectType, m_ui.combobox_ObjectAction,
             m_ui.memo_Comments})
        field->setEnabled(nodeSelected);
}

void ObjectFieldsEditor::ConnectFieldChanges() {
    QAction* commit = m_ui.a_button_Commit;
    const auto enableCommit = [commit] { commit->setEnabled(true); };
    for (QLineEdit* edit :
         {m_ui.edit_PathFileName, m_ui.edit_Parameters, m_ui.edit_Caption, m_ui.edit_Hint})
        QObject::connect(edit, &QLineEdit::textChanged, commit, enableCommit);
    QObject::connect(m_ui.memo_Comments, &QPlainTextEdit::textChanged, commit, enableCommit);
    QObject::connect(m_ui.combobox_Keywords, &QComboBox::editTextChanged, commit, enableCommit);
    // Only the author's choice in a list counts as a change, never the program's.
    for (QComboBox* list : {m_ui.combobox_ObjectType, m_ui.combobox_ObjectAction})
        QObject::connect(list, &QComboBox::activated, commit, enableCommit);
}

// A node being deleted takes its pending edits with it: the selection moves off it while it still
// exists, and nothing may be written into it then. Connected before any view's selection model,
// so that this runs before the selection moves.
void ObjectFieldsEditor::ForgetShownNodeWhenRemoved() {
    QObject::connect(&m_model, &QAbstractItemModel::rowsAboutToBeRemoved, &m_window,
                     [this](const QModelIndex& parent, int first, int last) {
                         QModelIndex shown = m_model.IndexFromNode(m_shownNode);
                         while (shown.isValid() && shown.parent() != parent)
                             shown = shown.parent();
                         if (shown.isValid() && shown.row() >= first && shown.row() <= last)
                             m_shownNode = nullptr;
                     });
    QObject::connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, &m_window,
                     [this] { m_shownNode = nullptr; });
}

void ObjectFieldsEditor::ConnectEnterKey() {
    auto* filter =
        new EnterKeyFilter(&m_window, [this](QWidget* field, Qt::KeyboardModifiers modifiers) {
            EnterInField(field, modifiers);
        });
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_ui.edit_PathFileName, m_ui.edit_Parameters, m_ui.edit_Caption, m_ui.edit_Hint,
             m_ui.combobox_Keywords, m_ui.memo_Comments, m_ui.combobox_ObjectType,
             m_ui.combobox_ObjectAction})
        filter->Watch(field, field);
    filter->Watch(m_ui.combobox_Keywords, m_ui.combobox_Keywords->lineEdit());
}

void ObjectFieldsEditor::EnterInField(QWidget* field, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (field == m_ui.memo_Comments && ctrl) {
        m_ui.memo_Comments->insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (ctrl || field == m_ui.edit_PathFileName)
        return;
    if (m_ui.a_button_Commit->isEnabled())
        m_ui.a_button_Commit->trigger();
    m_ui.TreeView->viewport()->update();
    m_ui.TreeView->setFocus();
}

void ObjectFieldsEditor::a_button_CommitExecute() {
    ObjectNode* node = SelectedNode();
    if (m_model.Tree().IsEmpty() || node == nullptr)
        return;
    CommitTo(*node);
    m_ui.TreeView->viewport()->update();
    m_ui.TreeView->setFocus();
}

TNodeData ObjectFieldsEditor::EditedRecord(const TNodeData& stored) const {
    TNodeData record = stored;
    record.PathFileName = FromQString(m_ui.edit_PathFileName->text());
    record.Parameters = FromQString(m_ui.edit_Parameters->text());
    record.Caption = FromQString(m_ui.edit_Caption->text());
    record.Hint = FromQString(m_ui.edit_Hint->text());
    // A list that shows no item keeps a stored value that it has no item for.
    const int type = m_ui.combobox_ObjectType->currentIndex();
    if (type >= 0)
        record.ObjectType = static_cast<std::uint8_t>(type);
    if (const int action = m_ui.combobox_ObjectAction->currentIndex(); action >= 0)
        record.ObjectAction = static_cast<std::uint8_t>(action);
    record.Comments = MemoText(*m_ui.memo_Comments);
    if (type == otVirtualFolder) {
        record.ObjectAction = oaNoAction;
        record.PathFileName.clear();
        record.Parameters.clear();
    }
    if (type == otFolder)
        record.ObjectAction = oaOpen;
    return record;
}

void ObjectFieldsEditor::CommitTo(ObjectNode& node) {
    TNodeData record = EditedRecord(node.Data);
    // What the rules of folders forced shows in the fields too.
    m_ui.edit_PathFileName->setText(ToQString(record.PathFileName));
    m_ui.edit_Parameters->setText(ToQString(record.Parameters));
    ShowListItem(*m_ui.combobox_ObjectAction, record.ObjectAction);
    if (record != node.Data)
        m_model.SetRecord(&node, std::move(record));
    m_ui.a_button_Commit->setEnabled(false);
}

void ObjectFieldsEditor::ChooseObjectPath(const ActionContext& paths) {
    const std::string& dataDir = paths.DataDir;
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + dataDir);
    request.RootFolder = ToQString(dataDir);
    const std::string current = FromQString(m_ui.edit_PathFileName->text());
    request.InitialSelection =
        ToQString(current.empty()
                      ? dataDir
                      : ResolveObjectPath(PathMode::Absolute, dataDir, current, paths.DiscFolder));
    request.IncludeFiles = true;
    const std::string picked = FromQString(m_prompts.PickFolder(&m_window, request));
    if (picked.empty())
        return;
    const std::optional<std::string> relative = MakeDataRelative(picked, dataDir);
    if (!relative) {
        m_prompts.ShowMessage(&m_window, MessageKind::Error,
                              ToQString(Text(TextId::message_PathNotContainInProjectDir)));
        return;
    }
    m_ui.edit_PathFileName->setText(ToQString(*relative));

    const ObjectNode* node = SelectedNode();
    if (node == nullptr)
        return;
    if (node->HasChildren() && !DirectoryExists(FullObjectPath(paths, *relative))) {
        ShowObjectFields();
        m_prompts.ShowMessage(&m_window, MessageKind::Error,
                              ToQString(Text(TextId::message_ChangeCanceled_FolderCantBeFile)));
        return;
    }
    const auto [type, action] = TypeAndActionOf(picked);
    m_ui.combobox_ObjectType->setCurrentIndex(type);
    m_ui.combobox_ObjectAction->setCurrentIndex(action);
    if (m_ui.edit_Caption->text() == ToQString(Text(TextId::text_NewObject)))
        m_ui.edit_Caption->setText(ToQString(FileNamePart(picked)));
}

}  // namespace tomlet
