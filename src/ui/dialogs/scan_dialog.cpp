#include "ui/dialogs/scan_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "core/language_file.h"
#include "core/paths.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"
#include "ui/seams/mask_store.h"
#include "ui/seams/prompts.h"

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

const QString MaskMimeType = u"application/x-tomlet-mask"_s;

// A list box whose items are reordered by dragging one onto another. Only drags that began in
// the list itself are taken.
class MaskListBox final : public QListWidget {
public:
    MaskListBox(QWidget* parent, std::function<void(const QPoint&)> drop)
        : QListWidget(parent), m_drop(std::move(drop)) {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
    }

protected:
    // The list moves the item itself on the drop, so the drag carries nothing to remove.
    void startDrag(Qt::DropActions) override {
        const QListWidgetItem* item = currentItem();
        if (item == nullptr)
            return;
        auto* mime = new QMimeData;
        mime->setData(MaskMimeType, item->text().toUtf8());
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
        m_dragEnded = true;
    }
    // The press that began a drag leaves the view to select on release; a release reaching the
    // list after the drop would undo the drop's selection.
    void mousePressEvent(QMouseEvent* event) override {
        m_dragEnded = false;
        QListWidget::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (std::exchange(m_dragEnded, false))
            event->accept();
        else
            QListWidget::mouseReleaseEvent(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override { AcceptOwnDrag(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AcceptOwnDrag(event); }
    void dropEvent(QDropEvent* event) override {
        if (event->source() != this) {
            event->ignore();
            return;
        }
        m_drop(event->position().toPoint());
        event->acceptProposedAction();
    }

private:
    void AcceptOwnDrag(QDragMoveEvent* event) {
        if (event->source() == this)
            event->acceptProposedAction();
        else
            event->ignore();
    }

    std::function<void(const QPoint&)> m_drop;
    bool m_dragEnded = false;
};

// Blanks and control characters off both ends, then every space inside.
QString CleanMask(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] <= u' ')
        ++first;
    while (last > first && text[last - 1] <= u' ')
        --last;
    return text.mid(first, last - first).remove(u' ');
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Tfrm_Scan::Tfrm_Scan(Prompts& prompts, MaskStore& masks, const QString& currentDataDir,
                     const QString& discFolder, QWidget* parent)
    : Tfrm_Common<QDialog>(parent),
      m_prompts(prompts),
      m_store(masks),
      m_currentDataDir(currentDataDir),
      m_discFolder(discFolder) {
    setObjectName(u"frm_Scan"_s);
    setWindowTitle(u"Scanning"_s);
    BuildControls();
    TranslateForm(this, CurrentLanguageFile(), true);
    AssignControlAccessLetters(*this);
    LoadMasks();
}

void Tfrm_Scan::BuildControls() {
    auto* setDirLabel = new QLabel(u"Set directory"_s, this);
    setDirLabel->setObjectName(u"label_SetDir"_s);
    m_directory = new QLineEdit(this);
    m_directory->setObjectName(u"edit_SetDir"_s);
    setDirLabel->setBuddy(m_directory);
    m_browse = m_directory->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                      QLineEdit::TrailingPosition);
    m_browse->setObjectName(u"edit_SetDirButton"_s);
    connect(m_browse, &QAction::triggered, this, [this] { edit_SetDirButtonClick(); });

    auto* group = new QGroupBox(u"Files search"_s, this);
    group->setObjectName(u"groupbox_FilesSearch"_s);
    auto* masksLabel = new QLabel(u"Masks of search"_s, group);
    masksLabel->setObjectName(u"label_SearchMasks"_s);
    m_masks = new MaskListBox(group, [this](const QPoint& at) { listbox_ListFileExtDragDrop(at); });
    m_masks->setObjectName(u"listbox_ListFileExt"_s);
    masksLabel->setBuddy(m_masks);
    connect(m_masks, &QListWidget::currentRowChanged, this, [this] { listbox_ListFileExtClick(); });
    connect(m_masks, &QListWidget::clicked, this, [this] { listbox_ListFileExtClick(); });

    m_mask = new QComboBox(group);
    m_mask->setObjectName(u"combobox_FileExt"_s);
    m_mask->setEditable(true);
    m_mask->setInsertPolicy(QComboBox::NoInsert);
    m_mask->addItems({u"*.exe"_s, u"*.com"_s, u"*.rar"_s, u"*.zip"_s, u"*.txt"_s, u"*.nfo"_s,
                      u"*."_s, u"*.hlp"_s, u"*.htm"_s, u"*.bmp"_s, u"*.jpg"_s, u"*.jpeg"_s,
                      u"*.*"_s});
    m_mask->setCurrentText(u"*.exe"_s);

    auto* add = MakeButton(group, u"button_AddMask"_s, u"Add mask"_s);
    auto* remove = MakeButton(group, u"button_DeleteMask"_s, u"Delete mask"_s);
    auto* save = MakeButton(group, u"button_SaveMasks"_s, u"Save list of masks"_s);
    save->setToolTip(u"Save masklist"_s);
    connect(add, &QPushButton::clicked, this, [this] { button_AddMaskClick(); });
    connect(remove, &QPushButton::clicked, this, [this] { button_DeleteMaskClick(); });
    connect(save, &QPushButton::clicked, this, [this] { button_SaveMasksClick(); });

    m_nested = new QCheckBox(u"Scan the nested directories"_s, group);
    m_nested->setObjectName(u"checkbox_ScanNestedDir"_s);
    m_nested->setChecked(true);

    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(masksLabel, 0, 0);
    groupLayout->addWidget(m_masks, 1, 0, 5, 1);
    groupLayout->addWidget(m_mask, 1, 1);
    groupLayout->addWidget(add, 2, 1);
    groupLayout->addWidget(remove, 3, 1);
    groupLayout->addWidget(save, 4, 1);
    groupLayout->setRowStretch(5, 1);
    groupLayout->addWidget(m_nested, 6, 0, 1, 2);
    m_masks->setFixedSize(150, 130);

    auto* ok = MakeButton(this, u"button_Ok"_s, u"Ok"_s);
    ok->setDefault(true);
    auto* cancel = MakeButton(this, u"button_Cancel"_s, u"Cancel"_s);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(setDirLabel, 0, 0, 1, 2);
    layout->addWidget(m_directory, 1, 0, 1, 2);
    layout->addWidget(group, 2, 0);
    layout->addLayout(buttons, 2, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tfrm_Scan::LoadMasks() {
    const LoadedMasks stored = m_store.Load();
    if (!stored.Error.isEmpty()) {
        m_masks->clear();
        m_masks->addItems(stored.Masks);
        m_prompts.ShowMessage(this, MessageKind::Error, stored.Error);
        return;
    }
    ShowMasks(stored.Masks);
}

void Tfrm_Scan::ShowMasks(const QStringList& masks) {
    m_masks->clear();
    m_masks->addItems(masks);
    if (m_masks->count() > 0) {
        m_mask->setCurrentText(m_masks->item(0)->text());
        m_masks->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    }
}

void Tfrm_Scan::Preselect(const QStringList& masks, bool nested) {
    ShowMasks(masks);
    m_nested->setChecked(nested);
}

void Tfrm_Scan::SetDirectory(const QString& text) {
    m_directory->setText(text);
}

QString Tfrm_Scan::GetDirectory() const {
    return m_directory->text();
}

void Tfrm_Scan::LockDirectory(bool locked) {
    m_directory->setEnabled(!locked);
}

QStringList Tfrm_Scan::MaskList() const {
    QStringList masks;
    for (int i = 0; i < m_masks->count(); ++i)
        masks.append(m_masks->item(i)->text());
    return masks;
}

bool Tfrm_Scan::ScanNested() const {
    return m_nested->isChecked();
}

void Tfrm_Scan::edit_SetDirButtonClick() {
    if (!m_directory->isEnabled())
        return;
    FolderPickerRequest request;
    request.Title = u"Папка проекта: "_s + m_currentDataDir;
    request.InitialSelection = m_directory->text().isEmpty() ? m_discFolder : m_directory->text();
    request.IncludeFiles = false;
    const QString picked = m_prompts.PickFolder(this, request);
    if (!picked.isEmpty())
        m_directory->setText(ToQString(NormaliseDriveRoot(FromQString(picked))));
}

void Tfrm_Scan::button_AddMaskClick() {
    const QString mask = CleanMask(m_mask->currentText());
    m_mask->setCurrentText(mask);
    if (mask.isEmpty() || !mask.contains(u'.')) {
        m_prompts.ShowMessage(this, MessageKind::Error, u"Неправильная маска файла!"_s);
        return;
    }
    const QStringList masks = MaskList();
    if (masks.contains(mask, Qt::CaseSensitive))
        return;
    // A list that begins with "*.*" takes nothing more, and "*.*" goes only into an empty list.
    if (!masks.isEmpty() && (masks.front() == u"*.*"_s || mask == u"*.*"_s))
        return;
    m_masks->addItem(mask);
    m_masks->setCurrentRow(m_masks->count() - 1, QItemSelectionModel::ClearAndSelect);
}

void Tfrm_Scan::button_DeleteMaskClick() {
    const int row = m_masks->currentRow();
    if (m_masks->count() == 0 || row < 0 || !m_masks->item(row)->isSelected())
        return;
    delete m_masks->takeItem(row);
    m_masks->setCurrentRow(std::min(row, m_masks->count() - 1),
                           QItemSelectionModel::ClearAndSelect);
    listbox_ListFileExtClick();
}

void Tfrm_Scan::button_SaveMasksClick() {
    if (const QString error = m_store.Save(MaskList()); !error.isEmpty())
        m_prompts.ShowMessage(this, MessageKind::Error, error);
}

void Tfrm_Scan::listbox_ListFileExtClick() {
    const QListWidgetItem* item = m_masks->currentItem();
    m_mask->setCurrentText(item != nullptr && item->isSelected() ? item->text() : QString());
}

void Tfrm_Scan::listbox_ListFileExtDragDrop(const QPoint& position) {
    const QListWidgetItem* target = m_masks->itemAt(position);
    const int from = m_masks->currentRow();
    if (target == nullptr || from < 0)
        return;
    const int to = m_masks->row(target);
    const QSignalBlocker quiet(m_masks);  // a drop leaves the mask being entered alone
    m_masks->insertItem(to, m_masks->takeItem(from));
    m_masks->setCurrentRow(to, QItemSelectionModel::ClearAndSelect);
}

}  // namespace tomlet
