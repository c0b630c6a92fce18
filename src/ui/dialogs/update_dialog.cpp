#include "ui/dialogs/update_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/catalogue.h"
#include "core/disc_update.h"
#include "core/language_file.h"
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

QLabel* CountLabel(QWidget* parent, const char* name, TextId format, std::size_t count,
                   QWidget* list) {
    auto* label = Named(new QLabel(parent), name);
    label->setText(ToQString(FormatCount(Text(format), static_cast<long long>(count))));
    label->setBuddy(list);
    return label;
}

bool IsChecked(const QTreeWidgetItem* item) {
    return item->checkState(0) == Qt::Checked;
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
    m_missing = MakeList(this, "list_MissingObjects", 2);
    m_missing->setRootIsDecorated(false);
    auto* note =
        Named(new QLabel(u"Checked objects are added or deleted; everything else stays as it is."_s,
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
    QLabel* newLabel = CountLabel(this, "label_NewObjects", TextId::text_NewOnDisc_D,
                                  static_cast<std::size_t>(changes.New.Count()), m_new);
    QLabel* missingLabel = CountLabel(this, "label_MissingObjects", TextId::text_GoneFromDisc_D,
                                      changes.Missing.size(), m_missing);
    FillNewObjects(changes);
    FillMissingObjects(changes);
    connect(m_new, &QTreeWidget::itemChanged, this, &Tfrm_Update::tree_NewObjectsItemChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newLabel);
    layout->addWidget(m_new, 1);
    layout->addWidget(missingLabel);
    layout->addWidget(m_missing, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(DesignedWidth, DesignedHeight);
}

QTreeWidgetItem* Tfrm_Update::AddItem(QTreeWidgetItem* parent, QTreeWidget* list,
                                      const ObjectNode& node, const QString& text) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(list);
    item->setText(0, text);
    item->setToolTip(0, ToQString(node.Data.PathFileName));
    item->setIcon(0, ObjectTypeIcon(node.Data.ObjectType));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    m_items.emplace_back(item, &node);
    return item;
}

// A top-level new object shows where it goes, by its path; below a new folder, its name is enough.
void Tfrm_Update::FillNewObjects(const DiscChanges& changes) {
    const auto addBelow = [this](const auto& self, QTreeWidgetItem* parent,
                                 const ObjectNode& node) -> void {
        QTreeWidgetItem* item =
            AddItem(parent, m_new, node,
                    ToQString(parent != nullptr ? node.Data.Caption : node.Data.PathFileName));
        for (const ObjectNode* child : node.Children())
            self(self, item, *child);
    };
    for (const ObjectNode* node : changes.New.TopLevel())
        addBelow(addBelow, nullptr, *node);
    m_new->expandAll();
}

void Tfrm_Update::FillMissingObjects(const DiscChanges& changes) {
    for (const ObjectNode* node : changes.Missing) {
        QTreeWidgetItem* item =
            AddItem(nullptr, m_missing, *node, ToQString(node->Data.PathFileName));
        item->setText(1, ToQString(node->Data.Caption));
    }
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
