#include "ui/dialogs/update_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "core/catalogue.h"
#include "core/disc_update.h"
#include "core/language_file.h"
#include "core/paths.h"
#include "ui/base/access_letters.h"
#include "ui/base/named.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"
#include "ui/tree/object_icons.h"

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

constexpr int DesignedWidth = 560;
constexpr int DesignedHeight = 460;

QTreeWidget* MakeList(QWidget* parent, const char* name, int columns) {
    auto* list = Named(new QTreeWidget(parent), name);
    list->setColumnCount(columns);
    list->setHeaderHidden(true);
    list->setUniformRowHeights(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

QLabel* CountLabel(QWidget* parent, const char* name, QWidget* list) {
    auto* label = Named(new QLabel(parent), name);
    label->setBuddy(list);
    return label;
}

bool IsChecked(const QTreeWidgetItem* item) {
    return item->checkState(0) == Qt::Checked;
}

int CheckedItems(const QTreeWidget& list) {
    int checked = 0;
    for (QTreeWidgetItemIterator item(const_cast<QTreeWidget*>(&list)); *item != nullptr; ++item)
        checked += IsChecked(*item) ? 1 : 0;
    return checked;
}

void ShowCount(QLabel& label, TextId format, int count) {
    label.setText(ToQString(FormatCount(Text(format), count)));
}

// A stored path as the system writes paths.
QString ShownPath(const std::string& storedPath) {
    return ToQString(NativeStoredPath(storedPath));
}

}  // namespace

Tfrm_Update::Tfrm_Update(const DiscChanges& changes, QWidget* parent)
    : Tfrm_Common<QDialog>(parent) {
    FormCreate(changes);
}

void Tfrm_Update::FormCreate(const DiscChanges& changes) {
    setObjectName(u"frm_Update"_s);
    setWindowTitle(u"Update from disc"_s);
    m_new = MakeList(this, "tree_NewObjects", 1);
    m_renamed = MakeList(this, "list_RenamedObjects", 2);
    m_renamed->setRootIsDecorated(false);
    m_missing = MakeList(this, "list_MissingObjects", 2);
    m_missing->setRootIsDecorated(false);
    auto* note = Named(
        new QLabel(
            u"Checked objects are added, renamed or deleted; everything else stays as it is."_s,
            this),
        "label_UpdateNote");
    note->setWordWrap(true);
    auto* apply = Named(new QPushButton(u"Apply"_s, this), "button_Apply");
    auto* cancel = Named(new QPushButton(u"Cancel"_s, this), "button_Cancel");
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    TranslateForm(this, CurrentLanguageFile(), true);

    // The counts come from the catalogue, after the window's own texts.
    m_newLabel = CountLabel(this, "label_NewObjects", m_new);
    m_renamedLabel = CountLabel(this, "label_RenamedObjects", m_renamed);
    m_missingLabel = CountLabel(this, "label_MissingObjects", m_missing);
    FillNewObjects(changes);
    FillRenamedObjects(changes);
    FillMissingObjects(changes);
    m_renamedLabel->setVisible(!changes.Renamed.empty());
    m_renamed->setVisible(!changes.Renamed.empty());
    UpdateCounts();
    connect(m_new, &QTreeWidget::itemChanged, this, &Tfrm_Update::tree_NewObjectsItemChanged);
    for (QTreeWidget* list : {m_new, m_renamed, m_missing})
        connect(list, &QTreeWidget::itemChanged, this, &Tfrm_Update::UpdateCounts);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_newLabel);
    layout->addWidget(m_new, 1);
    layout->addWidget(m_renamedLabel);
    layout->addWidget(m_renamed, 1);
    layout->addWidget(m_missingLabel);
    layout->addWidget(m_missing, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(DesignedWidth, DesignedHeight);
}

QTreeWidgetItem* Tfrm_Update::AddItem(QTreeWidgetItem* parent, QTreeWidget* list,
                                      const ObjectNode& node, const QString& text) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(list);
    item->setText(0, text);
    item->setToolTip(0, ShownPath(node.Data.PathFileName));
    item->setIcon(0, ObjectTypeIcon(node.Data.ObjectType));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    m_items.emplace_back(item, &node);
    return item;
}

// A top-level new object shows where it goes, by its path; below a new folder, its name is enough.
// A file paired with a gone object shows among the renamed ones instead.
void Tfrm_Update::FillNewObjects(const DiscChanges& changes) {
    std::unordered_set<const ObjectNode*> renamed;
    for (const DiscChanges::Renaming& renaming : changes.Renamed)
        renamed.insert(renaming.File);
    const auto addBelow = [&](const auto& self, QTreeWidgetItem* parent,
                              const ObjectNode& node) -> void {
        if (renamed.contains(&node))
            return;
        QTreeWidgetItem* item =
            AddItem(parent, m_new, node,
                    parent != nullptr ? ToQString(node.Data.Caption)
                                      : ShownPath(node.Data.PathFileName));
        for (const ObjectNode* child : node.Children())
            self(self, item, *child);
    };
    for (const ObjectNode* node : changes.New.TopLevel())
        addBelow(addBelow, nullptr, *node);
    m_new->expandAll();
}

// "old → new", the object's caption beside.
void Tfrm_Update::FillRenamedObjects(const DiscChanges& changes) {
    for (const DiscChanges::Renaming& renaming : changes.Renamed) {
        const QString newPath = ShownPath(renaming.File->Data.PathFileName);
        QTreeWidgetItem* item =
            AddItem(nullptr, m_renamed, *renaming.Object,
                    ShownPath(renaming.Object->Data.PathFileName) + u" \u2192 "_s + newPath);
        item->setText(1, ToQString(renaming.Object->Data.Caption));
        item->setToolTip(0, item->text(0));
    }
}

void Tfrm_Update::FillMissingObjects(const DiscChanges& changes) {
    for (const ObjectNode* node : changes.Missing) {
        QTreeWidgetItem* item =
            AddItem(nullptr, m_missing, *node, ShownPath(node->Data.PathFileName));
        item->setText(1, ToQString(node->Data.Caption));
    }
}

void Tfrm_Update::UpdateCounts() {
    ShowCount(*m_newLabel, TextId::text_NewOnDisc_D, CheckedItems(*m_new));
    ShowCount(*m_renamedLabel, TextId::text_RenamedOnDisc_D, CheckedItems(*m_renamed));
    ShowCount(*m_missingLabel, TextId::text_GoneFromDisc_D, CheckedItems(*m_missing));
    AssignControlAccessLetters(*this);
}

void Tfrm_Update::tree_NewObjectsItemChanged(QTreeWidgetItem* item) {
    const QSignalBlocker quiet(m_new);
    if (IsChecked(item)) {
        for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent())
            above->setCheckState(0, Qt::Checked);
        return;
    }
    std::vector<QTreeWidgetItem*> below{item};
    while (!below.empty()) {
        QTreeWidgetItem* next = below.back();
        below.pop_back();
        next->setCheckState(0, Qt::Unchecked);
        for (int i = 0; i < next->childCount(); ++i)
            below.push_back(next->child(i));
    }
}

std::unordered_set<const ObjectNode*> Tfrm_Update::LeftOut() const {
    std::unordered_set<const ObjectNode*> leftOut;
    for (const auto& [item, node] : m_items)
        if (!IsChecked(item))
            leftOut.insert(node);
    return leftOut;
}

}  // namespace tomlet
