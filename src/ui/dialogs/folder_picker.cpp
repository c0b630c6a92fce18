#include "ui/dialogs/folder_picker.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/catalogue.h"
#include "platform/native_path.h"
#include "ui/base/qt_text.h"
#include "ui/seams/qt_prompts.h"

namespace tomlet {

namespace {

const bool SystemUsesDriveLetters = SystemPathStyle().DriveLetters;
const Qt::CaseSensitivity PathCase =
    SystemPathStyle().NamesIgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;

// The form QFileSystemModel uses: '/' separators, no trailing separator except on a root.
QString ModelPath(const QString& path) {
    return path.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The system's file and folder icons (the theme's where there is one). Shared and never freed:
// the model's background thread may ask for an icon until the model is gone.
QFileIconProvider& SystemIcons() {
    static QFileIconProvider* const icons = new QFileIconProvider;
    return *icons;
}

bool IsSameOrBelow(const QString& path, const QString& folder) {
    if (path.compare(folder, PathCase) == 0)
        return true;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix, PathCase);
}

}  // namespace

// Keeps only the root, its ancestors (so that the model can reach it) and what lies below it.
class RootSubtreeProxy final : public QSortFilterProxyModel {
public:
    RootSubtreeProxy(QFileSystemModel* model, QString root, QObject* parent)
        : QSortFilterProxyModel(parent), m_model(model), m_root(std::move(root)) {
        setSourceModel(model);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (m_root.isEmpty())
            return true;
        const QString path = m_model->filePath(m_model->index(row, 0, parent));
        return IsSameOrBelow(path, m_root) || IsSameOrBelow(m_root, path);
    }

private:
    QFileSystemModel* m_model;
    QString m_root;
};

QString NormalisePickerPath(const QString& path, bool driveLetters) {
    const bool driveOnly = driveLetters && path.size() == 2 && path[1] == u':' &&
                           path[0].toUpper() >= u'A' && path[0].toUpper() <= u'Z';
    return driveOnly ? path + u'\\' : path;
}

FolderPickerDialog::FolderPickerDialog(const FolderPickerRequest& request, QWidget* owner)
    : QDialog(owner),
      m_includeFiles(request.IncludeFiles),
      m_model(new QFileSystemModel(this)),
      m_view(new QTreeView(this)),
      m_path(new QLineEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(QStringLiteral("Browse for Folder"));
    resize(380, 440);

    const QString root = ModelPath(request.RootFolder);
    if (!root.isEmpty() && QFileInfo(root).isDir())
        m_root = root;

    // Hidden entries are offered too: a data directory may lie below a hidden folder.
    QDir::Filters filters = QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden;
    if (m_includeFiles)
        filters |= QDir::Files;
    m_model->setFilter(filters);
    m_model->setIconProvider(&SystemIcons());
    m_model->setRootPath(m_root);
    m_proxy = new RootSubtreeProxy(m_model, m_root, this);

    m_view->setModel(m_proxy);
    m_view->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_view->hideColumn(column);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderPickerDialog::FollowSelection);
    // The model lists and sorts folders in the background, moving the rows: scroll again once
    // they are in place.
    connect(m_model, &QFileSystemModel::directoryLoaded, this,
            &FolderPickerDialog::ScrollToCurrent);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this,
            &FolderPickerDialog::ScrollToCurrent);

    m_path->setObjectName(QStringLiteral("edit_Path"));
    m_path->setClearButtonEnabled(true);
    connect(m_path, &QLineEdit::textEdited, this, &FolderPickerDialog::SelectTypedPath);

    auto* title = new QLabel(request.Title, this);
    title->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_view);
    layout->addWidget(m_path);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    ShowRoot();
    const QString initial = NormalisePickerPath(request.InitialSelection, SystemUsesDriveLetters);
    if (initial.isEmpty() || !SelectPath(initial))
        SelectPath(m_root);
    FollowSelection();
}

// The view knows its size only once shown: the chosen entry is brought into sight then, and the
// keyboard starts on it.
void FolderPickerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ScrollToCurrent();
    m_view->setFocus();
}

void FolderPickerDialog::ShowRoot() {
    if (m_root.isEmpty())
        return;
    const QModelIndex root = m_proxy->mapFromSource(m_model->index(m_root));
    m_view->setRootIndex(root.parent());
    m_view->expand(root);
}

bool FolderPickerDialog::SelectPath(const QString& path) {
    const QString wanted = ModelPath(path);
    const QFileInfo info(wanted);
    if (wanted.isEmpty() || !info.exists() || (!m_includeFiles && !info.isDir()))
        return false;
    if (!m_root.isEmpty() && !IsSameOrBelow(wanted, m_root))
        return false;
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(wanted));
    if (!index.isValid())
        return false;
    m_view->setCurrentIndex(index);
    ScrollToCurrent();
    return true;
}

void FolderPickerDialog::ScrollToCurrent() {
    if (m_view->currentIndex().isValid())
        m_view->scrollTo(m_view->currentIndex(), QAbstractItemView::PositionAtCenter);
}

QString FolderPickerDialog::SelectedPath() const {
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return {};
    return QDir::toNativeSeparators(m_model->filePath(m_proxy->mapToSource(current)));
}

// The path field shows the chosen entry, unless the user is typing there; OK needs an entry.
void FolderPickerDialog::FollowSelection() {
    const QString selected = SelectedPath();
    if (!m_typing)
        m_path->setText(selected);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!selected.isEmpty());
}

void FolderPickerDialog::SelectTypedPath(const QString& typed) {
    m_typing = true;
    QString path = NormalisePickerPath(typed.trimmed(), SystemUsesDriveLetters);
    if (!m_root.isEmpty() && !path.isEmpty() && QDir::isRelativePath(ModelPath(path)))
        path = m_root + u'/' + path;
    if (!SelectPath(path)) {
        m_view->clearSelection();
        m_view->setCurrentIndex({});  // OK gives what the field says, or nothing
    }
    m_typing = false;
}

QString PickFolder(QWidget* owner, const FolderPickerRequest& request) {
    FolderPickerRequest browse = request;
    browse.RootFolder = NormalisePickerPath(request.RootFolder, SystemUsesDriveLetters);
    if (!browse.RootFolder.isEmpty() && !QFileInfo(browse.RootFolder).isDir()) {
        ShowStandardMessage(
            owner, MessageKind::Warning,
            ToQString(Text(
                TextId::
                    message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir)));
        browse.RootFolder.clear();
    }
    FolderPickerDialog dialog(browse, owner);
    return dialog.exec() == QDialog::Accepted ? dialog.SelectedPath() : QString();
}

}  // namespace tomlet
