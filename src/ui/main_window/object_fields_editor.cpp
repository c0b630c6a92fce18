#include "ui/main_window/object_fields_editor.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <functional>

#include "core/catalogue.h"
#include "core/code_page_texts.h"
#include "core/object_actions.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "ui/base/error_policy.h"
#include "ui/base/memo_text.h"
#include "ui/base/qt_text.h"
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

ObjectFieldsEditor::ObjectFieldsEditor(QWidget& window, const ObjectFieldsWidgets& widgets,
                                       ObjectTreeModel& model, Prompts& prompts)
    : m_window(window), m_widgets(widgets), m_model(model), m_prompts(prompts) {
    ConnectFieldChanges();
    ConnectEnterKey();
    FollowShownNode();
}

ObjectNode* ObjectFieldsEditor::SelectedNode() const {
    return m_widgets.Tree->SelectedNode();
}

ObjectNode* ObjectFieldsEditor::ShownNode() const {
    return ObjectTreeModel::NodeFromIndex(m_shown);
}

void ObjectFieldsEditor::SetEdited(bool edited) {
    if (m_edited == edited)
        return;
    m_edited = edited;
    Q_EMIT EditsChanged();
}

void ObjectFieldsEditor::ShowObjectFields() {
    // Showing the fields never stops the user: the fields keep what they could show.
    RunIgnoringErrors([this] {
        ObjectNode* node = SelectedNode();
        if (node == nullptr)
            return;
        const QScopedValueRollback filling(m_filling, true);
        m_shown = m_model.IndexFromNode(node);
        const TNodeData& record = node->Data;
        m_widgets.PathFileName->setText(ToQString(record.PathFileName));
        m_widgets.Parameters->setText(ToQString(record.Parameters));
        m_widgets.Caption->setText(ToQString(record.Caption));
        m_widgets.Hint->setText(ToQString(record.Hint));
        ShowListItem(*m_widgets.ObjectType, record.ObjectType);
        ShowListItem(*m_widgets.ObjectAction, record.ObjectAction);
        SetMemoText(*m_widgets.Comments, record.Comments);
        SetMemoText(*m_widgets.BrowserComments, record.Comments);
        SetEdited(false);
    });
}

void ObjectFieldsEditor::ClearObjectFields() {
    const QScopedValueRollback filling(m_filling, true);
    for (QLineEdit* edit :
         {m_widgets.PathFileName, m_widgets.Parameters, m_widgets.Caption, m_widgets.Hint})
        edit->clear();
    m_widgets.ObjectType->setCurrentIndex(-1);
    m_widgets.ObjectAction->setCurrentIndex(-1);
    m_widgets.Comments->clear();
    m_widgets.BrowserComments->clear();
    m_shown = QPersistentModelIndex();
    SetEdited(false);
}

void ObjectFieldsEditor::FollowSelection() {
    CommitPendingEdits();
    ShowObjectFields();
}

bool ObjectFieldsEditor::HasPendingEdits() const {
    const ObjectNode* shown = ShownNode();
    return m_edited && shown != nullptr && !m_model.IsBeingDeleted(shown) &&
           EditedRecord(shown->Data) != shown->Data;
}

void ObjectFieldsEditor::CommitPendingEdits() {
    if (HasPendingEdits())
        CommitTo(*ShownNode());
}

void ObjectFieldsEditor::EnableFields(bool nodeSelected) {
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_widgets.PathFileName, m_widgets.Caption, m_widgets.Parameters, m_widgets.Hint,
             m_widgets.Keywords, m_widgets.ObjectType, m_widgets.ObjectAction, m_widgets.Comments})
        field->setEnabled(nodeSelected);
}

void ObjectFieldsEditor::ConnectFieldChanges() {
    const auto edited = [this] {
        if (!m_filling)
            SetEdited(true);
    };
    for (QLineEdit* edit :
         {m_widgets.PathFileName, m_widgets.Parameters, m_widgets.Caption, m_widgets.Hint})
        connect(edit, &QLineEdit::textChanged, this, edited);
    connect(m_widgets.Comments, &QPlainTextEdit::textChanged, this, edited);
    connect(m_widgets.Keywords, &QComboBox::editTextChanged, this, edited);
    // Only the author's choice in a list counts as a change, never the program's.
    for (QComboBox* list : {m_widgets.ObjectType, m_widgets.ObjectAction})
        connect(list, &QComboBox::activated, this, edited);
}

// The node shown may go by any route: deleted with its subtree, cleared with the tree, or taken by
// an update from disc. Its persistent index then is invalid, and the fields are emptied. An
// update may also change its record.
void ObjectFieldsEditor::FollowShownNode() {
    const auto clearIfGone = [this] {
        if (!m_shown.isValid())
            ClearObjectFields();
    };
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, clearIfGone);
    connect(&m_model, &QAbstractItemModel::modelReset, this, clearIfGone);
    connect(&m_model, &QAbstractItemModel::layoutChanged, this, clearIfGone);
    // Its record changed by another route (an update from disc gave it a new path): shown
    // afresh, unless the author has edits of it pending.
    connect(&m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (!m_edited && m_shown.isValid() && m_shown.parent() == first.parent() &&
                    m_shown.row() >= first.row() && m_shown.row() <= last.row())
                    ShowObjectFields();
            });
}

void ObjectFieldsEditor::ConnectEnterKey() {
    auto* filter =
        new EnterKeyFilter(this, [this](QWidget* field, Qt::KeyboardModifiers modifiers) {
            EnterInField(field, modifiers);
        });
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_widgets.PathFileName, m_widgets.Parameters, m_widgets.Caption, m_widgets.Hint,
             m_widgets.Keywords, m_widgets.Comments, m_widgets.ObjectType, m_widgets.ObjectAction})
        filter->Watch(field, field);
    filter->Watch(m_widgets.Keywords, m_widgets.Keywords->lineEdit());
}

void ObjectFieldsEditor::EnterInField(QWidget* field, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (field == m_widgets.Comments && (ctrl || modifiers.testFlag(Qt::ShiftModifier))) {
        m_widgets.Comments->insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (ctrl || field == m_widgets.PathFileName)
        return;
    if (m_edited)
        m_widgets.Commit->trigger();
    m_widgets.Tree->viewport()->update();
    m_widgets.Tree->setFocus();
}

void ObjectFieldsEditor::a_button_CommitExecute() {
    ObjectNode* node = SelectedNode();
    if (node == nullptr)
        return;
    CommitTo(*node);
    m_widgets.Tree->viewport()->update();
    m_widgets.Tree->setFocus();
}

TNodeData ObjectFieldsEditor::EditedRecord(const TNodeData& stored) const {
    TNodeData record = stored;
    record.PathFileName = FromQString(m_widgets.PathFileName->text());
    record.Parameters = FromQString(m_widgets.Parameters->text());
    record.Caption = FromQString(m_widgets.Caption->text());
    record.Hint = FromQString(m_widgets.Hint->text());
    // A list that shows no item keeps a stored value that it has no item for.
    const int type = m_widgets.ObjectType->currentIndex();
    if (type >= 0)
        record.ObjectType = static_cast<std::uint8_t>(type);
    if (const int action = m_widgets.ObjectAction->currentIndex(); action >= 0)
        record.ObjectAction = static_cast<std::uint8_t>(action);
    record.Comments = MemoText(*m_widgets.Comments);
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
    const std::string_view texts[] = {record.Caption, record.Hint, record.PathFileName,
                                      record.Parameters, record.Comments};
    if (const auto refusal = RefuseUnheldTexts(texts)) {
        // Never stored as '?': the fields keep the text for the author to change.
        m_prompts.ShowMessage(&m_window, MessageKind::Error, ToQString(*refusal));
        return;
    }
    {
        // What the rules of folders forced shows in the fields too.
        const QScopedValueRollback filling(m_filling, true);
        m_widgets.PathFileName->setText(ToQString(record.PathFileName));
        m_widgets.Parameters->setText(ToQString(record.Parameters));
        ShowListItem(*m_widgets.ObjectAction, record.ObjectAction);
    }
    if (record != node.Data)
        m_model.SetRecord(&node, std::move(record));
    SetEdited(false);
}

void ObjectFieldsEditor::ChooseObjectPath(const ActionContext& paths) {
    const std::string& dataDir = paths.DataDir;
    FolderPickerRequest request;
    request.Title = ToQString(Text(TextId::text_ProjectDir) + dataDir);
    request.RootFolder = ToQString(dataDir);
    const std::string current = FromQString(m_widgets.PathFileName->text());
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
    m_widgets.PathFileName->setText(ToQString(*relative));

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
    m_widgets.ObjectType->setCurrentIndex(type);
    m_widgets.ObjectAction->setCurrentIndex(action);
    if (m_widgets.Caption->text() == ToQString(Text(TextId::text_NewObject)))
        m_widgets.Caption->setText(ToQString(FileNamePart(picked)));
}

}  // namespace tomlet
