#include "ui/shelf/shelf_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "core/catalogue.h"
#include "core/language_file.h"
#include "core/scanner.h"
#include "core/search.h"
#include "platform/text_codec.h"
#include "ui/base/access_letters.h"
#include "ui/base/named.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"
#include "ui/dialogs/file_dialog_texts.h"
#include "ui/dialogs/find_fields.h"
#include "ui/seams/prompts.h"
#include "ui/shelf/shelf_hits_model.h"
#include "ui/shelf/shelf_search_runner.h"
#include "ui/tree/object_icons.h"

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

constexpr int DesignedWidth = 820;
constexpr int DesignedHeight = 600;
// Typing goes on this long after the last key before the search starts.
constexpr int SearchPauseMs = 250;
// The hits the list holds; the count tells how many there are in all.
constexpr std::size_t HitsShown = 1000;

enum CatalogueColumn { colTitle, colState, colObjects, colIndexed, colFile, CatalogueColumns };

QString CatalogueText(TextId id) {
    return ToQString(Text(id));
}

QString CountText(TextId format, std::size_t count) {
    return ToQString(FormatCount(Text(format), static_cast<long long>(count)));
}

QString StateText(const ShelfCatalogue& catalogue) {
    switch (catalogue.Status()) {
        case CatalogueStatus::Missing:
            return CatalogueText(TextId::text_ShelfFileMissing);
        case CatalogueStatus::Damaged:
            return CatalogueText(TextId::text_ShelfDamaged);
        case CatalogueStatus::NotIndexed:
            return CatalogueText(TextId::text_ShelfNotIndexed);
        case CatalogueStatus::Indexed:
            break;
    }
    return CatalogueText(catalogue.IsOnline() ? TextId::text_ShelfOnline
                                              : TextId::text_ShelfOffline);
}

QString DateText(std::int64_t seconds) {
    if (seconds == 0)
        return {};
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

// A push button that shows an action and triggers it; the action carries its texts.
QPushButton* BoundButton(QAction& action, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(parent), name);
    const auto mirror = [button, &action] {
        button->setText(WithoutAccessLetter(action.text()));
        button->setToolTip(action.toolTip());
        button->setEnabled(action.isEnabled());
    };
    mirror();
    MarkBoundToAction(*button, action);
    QObject::connect(&action, &QAction::changed, button, mirror);
    QObject::connect(button, &QPushButton::clicked, &action, &QAction::trigger);
    return button;
}

// Catalogue files and folders among dropped URLs.
QStringList DroppedCatalogues(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = QDir::toNativeSeparators(url.toLocalFile());
        if (path.endsWith(u".tml"_s, Qt::CaseInsensitive) || QFileInfo(path).isDir())
            paths.append(path);
    }
    return paths;
}

std::vector<std::string> Utf8Paths(const QStringList& paths) {
    std::vector<std::string> utf8;
    for (const QString& path : paths)
        utf8.push_back(QStringToUtf8(path));
    return utf8;
}

// Lets window messages through, and turns a press of the progress window's Cancel, which they
// carry, into a stop of the work.
class CancellingPump final : public MessagePump {
public:
    CancellingPump(MessagePump& pump, const WindowProgressSink& progress)
        : m_pump(pump), m_progress(progress) {}

    std::stop_token Token() const { return m_stop.get_token(); }
    void LetMessagesThrough() override {
        m_pump.LetMessagesThrough();
        if (m_progress.CancelRequested())
            m_stop.request_stop();
    }

private:
    MessagePump& m_pump;
    const WindowProgressSink& m_progress;
    std::stop_source m_stop;
};

// The busy cursor for a scope.
class BusyCursor final {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

Tfrm_Shelf::Tfrm_Shelf(Prompts& prompts, std::string shelfPath, QWidget* parent)
    : Tfrm_Common<QWidget>(parent, Qt::Window),
      m_prompts(prompts),
      m_shelf(std::make_unique<Shelf>(shelfPath)) {
    m_runner = new ShelfSearchRunner(std::move(shelfPath), this);
    FormCreate();
}

Tfrm_Shelf::~Tfrm_Shelf() = default;

void Tfrm_Shelf::FormCreate() {
    setObjectName(u"frm_Shelf"_s);
    setWindowTitle(u"Shelf"_s);
    setAcceptDrops(true);
    m_a_shelf_item_AddFiles =
        CreateAction("a_shelf_item_AddFiles", "Add files...", "Put catalogue files on the shelf",
                     &Tfrm_Shelf::a_shelf_item_AddFilesExecute);
    m_a_shelf_item_AddFolder =
        CreateAction("a_shelf_item_AddFolder", "Add folder...",
                     "Put every catalogue of a folder and of its subfolders on the shelf",
                     &Tfrm_Shelf::a_shelf_item_AddFolderExecute);
    m_a_shelf_item_Remove =
        CreateAction("a_shelf_item_Remove", "Remove",
                     "Take the selected catalogues off the shelf; their files stay as they are",
                     &Tfrm_Shelf::a_shelf_item_RemoveExecute);
    m_a_shelf_item_Refresh =
        CreateAction("a_shelf_item_Refresh", "Refresh",
                     "Read again the catalogues whose files changed since they were read",
                     &Tfrm_Shelf::a_shelf_item_RefreshExecute);
    m_dialog_AddFiles = new FileDialogTexts(u"dialog_AddFiles"_s, u"Put catalogues on the shelf"_s,
                                            u"Tomlet files (*.tml)|*.tml|Any files|*.*"_s, this);
    m_dialog_AddFolder = new FileDialogTexts(
        u"dialog_AddFolder"_s, u"Put the catalogues of a folder on the shelf"_s, QString(), this);

    auto* splitter = Named(new QSplitter(Qt::Vertical, this), "splitter_Shelf");
    splitter->addWidget(CreateCatalogues());
    splitter->addWidget(CreateSearch());
    splitter->setSizes({DesignedHeight * 3 / 10, DesignedHeight * 7 / 10});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    TranslateTexts();
    connect(m_tree_Catalogues, &QTreeWidget::itemSelectionChanged, this,
            &Tfrm_Shelf::UpdateActions);
    connect(m_edit_Text, &QLineEdit::textChanged, this, &Tfrm_Shelf::ScheduleSearch);
    connect(m_fields, &FindFieldBoxes::Changed, this, &Tfrm_Shelf::ScheduleSearch);
    connect(m_checkbox_CaseSensitive, &QCheckBox::toggled, this, &Tfrm_Shelf::ScheduleSearch);
    m_searchPause.setSingleShot(true);
    m_searchPause.setInterval(SearchPauseMs);
    connect(&m_searchPause, &QTimer::timeout, this, &Tfrm_Shelf::StartSearch);
    connect(m_runner, &ShelfSearchRunner::Found, this, &Tfrm_Shelf::ShowHits);
    connect(m_runner, &ShelfSearchRunner::Failed, m_label_Found, &QLabel::setText);
    connect(m_list_Hits, &QTreeView::activated, this, &Tfrm_Shelf::list_HitsActivated);
    FillCatalogues();
    resize(DesignedWidth, DesignedHeight);
}

void Tfrm_Shelf::TranslateTexts() {
    TranslateForm(this, CurrentLanguageFile(), true);
    AssignAccessLetters(*this);  // the list's context menu, in any language

    // Texts of the window's own making come from the catalogue, after the window's.
    m_tree_Catalogues->setHeaderLabels(
        CatalogueText(TextId::text_ShelfCatalogueColumns).split(u'|'));
    m_hits->RetranslateHeaders();
}

void Tfrm_Shelf::Retranslate() {
    TranslateTexts();
    // Indexing fills the list when it ends.
    if (!m_busy)
        FillCatalogues();
    StartSearch();  // the count in the new language
}

QAction* Tfrm_Shelf::CreateAction(const char* name, const char* caption, const char* hint,
                                  void (Tfrm_Shelf::*handler)()) {
    auto* action = Named(new QAction(QString::fromUtf8(caption), this), name);
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(action->toolTip());
    connect(action, &QAction::triggered, this,
            [this, handler] { Run([=, this] { (this->*handler)(); }); });
    return action;
}

QWidget* Tfrm_Shelf::CreateCatalogues() {
    auto* box = Named(new QGroupBox(u"Catalogues"_s, this), "groupbox_Catalogues");
    m_tree_Catalogues = Named(new QTreeWidget(box), "tree_Catalogues");
    m_tree_Catalogues->setColumnCount(CatalogueColumns);
    m_tree_Catalogues->setRootIsDecorated(false);
    m_tree_Catalogues->setUniformRowHeights(true);
    m_tree_Catalogues->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree_Catalogues->setContextMenuPolicy(Qt::CustomContextMenu);
    m_a_shelf_item_Remove->setShortcut(QKeySequence::Delete);
    m_a_shelf_item_Remove->setShortcutContext(Qt::WidgetShortcut);
    m_tree_Catalogues->addAction(m_a_shelf_item_Remove);
    m_a_shelf_item_Refresh->setShortcut(QKeySequence::Refresh);
    m_a_shelf_item_Refresh->setShortcutContext(Qt::WindowShortcut);
    addAction(m_a_shelf_item_Refresh);
    m_menu_Catalogues = Named(new QMenu(this), "menu_Catalogues");
    m_menu_Catalogues->addActions({m_a_shelf_item_AddFiles, m_a_shelf_item_AddFolder,
                                   m_a_shelf_item_Remove, m_a_shelf_item_Refresh});
    connect(m_tree_Catalogues, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                m_menu_Catalogues->popup(m_tree_Catalogues->viewport()->mapToGlobal(at));
            });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BoundButton(*m_a_shelf_item_AddFiles, "button_AddFiles", box));
    buttons->addWidget(BoundButton(*m_a_shelf_item_AddFolder, "button_AddFolder", box));
    buttons->addWidget(BoundButton(*m_a_shelf_item_Remove, "button_Remove", box));
    buttons->addWidget(BoundButton(*m_a_shelf_item_Refresh, "button_Refresh", box));
    buttons->addStretch();
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(m_tree_Catalogues, 1);
    layout->addLayout(buttons);
    return box;
}

QWidget* Tfrm_Shelf::CreateSearch() {
    auto* box = Named(new QGroupBox(u"Search"_s, this), "groupbox_Search");
    auto* label = Named(new QLabel(u"Text"_s, box), "label_Text");
    m_edit_Text = Named(new QLineEdit(box), "edit_Text");
    m_edit_Text->setClearButtonEnabled(true);
    label->setBuddy(m_edit_Text);
    auto* where = Named(new QGroupBox(u"Where"_s, box), "groupbox_Where");
    m_fields = new FindFieldBoxes(*where);
    m_fields->SetFields(ShelfQuery{}.Fields);
    auto* options = Named(new QGroupBox(u"Options"_s, box), "groupbox_Options");
    m_checkbox_CaseSensitive =
        Named(new QCheckBox(u"Case sensitive"_s, options), "checkbox_CaseSensitive");
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(m_checkbox_CaseSensitive);
    optionsLayout->addStretch();

    m_hits = new ShelfHitsModel(this);
    m_list_Hits = Named(new QTreeView(box), "list_Hits");
    m_list_Hits->setModel(m_hits);
    m_list_Hits->setRootIsDecorated(false);
    m_list_Hits->setUniformRowHeights(true);
    m_list_Hits->setAllColumnsShowFocus(true);
    m_list_Hits->header()->resizeSection(ShelfHitsModel::colObject, 200);
    m_list_Hits->header()->resizeSection(ShelfHitsModel::colTreePath, 300);
    m_list_Hits->header()->resizeSection(ShelfHitsModel::colCatalogue, 160);
    m_label_Found = Named(new QLabel(box), "label_Found");

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(m_edit_Text, 1);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(where, 2);
    choiceRow->addWidget(options, 1);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(textRow);
    layout->addLayout(choiceRow);
    layout->addWidget(m_list_Hits, 1);
    layout->addWidget(m_label_Found);
    return box;
}

void Tfrm_Shelf::FillCatalogues() {
    m_tree_Catalogues->clear();
    const QIcon disc(ObjectImage(CompactDiscImage));
    for (const ShelfCatalogue& catalogue : m_shelf->Catalogues()) {
        auto* item = new QTreeWidgetItem(m_tree_Catalogues);
        item->setIcon(colTitle, disc);
        item->setText(colTitle, Utf8ToQString(catalogue.Title()));
        item->setText(colFile, Utf8ToQString(catalogue.Path));
        item->setData(colFile, Qt::UserRole, Utf8ToQString(catalogue.Path));
        item->setText(colObjects, QLocale().toString(static_cast<qlonglong>(catalogue.Objects)));
        item->setTextAlignment(colObjects, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(colIndexed, DateText(catalogue.IndexedAt));
        item->setText(colState, StateText(catalogue));
        item->setToolTip(colState, Utf8ToQString(catalogue.Error));
    }
    for (int column = 0; column < CatalogueColumns; ++column)
        m_tree_Catalogues->resizeColumnToContents(column);
    UpdateActions();
}

void Tfrm_Shelf::UpdateActions() {
    const bool idle = !m_busy;
    m_a_shelf_item_AddFiles->setEnabled(idle);
    m_a_shelf_item_AddFolder->setEnabled(idle);
    m_a_shelf_item_Remove->setEnabled(idle && !m_tree_Catalogues->selectedItems().isEmpty());
    m_a_shelf_item_Refresh->setEnabled(idle && m_tree_Catalogues->topLevelItemCount() > 0);
}

void Tfrm_Shelf::Run(const std::function<void()>& command) {
    if (m_busy)
        return;
    try {
        command();
    } catch (const std::exception& error) {
        m_prompts.ShowMessage(this, MessageKind::Error, Utf8ToQString(error.what()));
    } catch (...) {
        m_prompts.ShowMessage(this, MessageKind::Error, u"Unknown error"_s);
    }
}

// Adding and refreshing let window messages through as they go: the commands stay off, the
// window stays open, and the search goes on beside them on its own connection.
void Tfrm_Shelf::RunIndexing(const Indexing& indexing) {
    ShelfRefresh result;
    {
        const BusyCursor cursor;
        m_busy = true;
        UpdateActions();
        m_progress.SetCancellable(true);
        struct Idle {
            Tfrm_Shelf& Window;
            ~Idle() {
                Window.m_progress.SetCancellable(false);
                Window.m_busy = false;
            }
        } idle{*this};
        CancellingPump pump(m_pump, m_progress);
        result = indexing(m_progress, pump, pump.Token());
    }
    FillCatalogues();
    StartSearch();
    if (result.Damaged.empty())
        return;
    QString text = CountText(TextId::message_ShelfUnreadable_D, result.Damaged.size());
    for (const auto& [path, error] : result.Damaged)
        text += u'\n' + Utf8ToQString(error);
    m_prompts.ShowMessage(this, MessageKind::Warning, text);
}

void Tfrm_Shelf::AddCatalogues(const QStringList& paths) {
    Run([&] {
        ShelfAddition added;
        RunIndexing([&](ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
            added = m_shelf->Add(Utf8Paths(paths), ProcessCodec().CodePage(), progress, pump,
                                 std::move(stop));
            return added.Refresh;
        });
        QStringList problems;
        for (const std::string& path : added.NotFound)
            problems.append(ToQString(FormatString(Text(TextId::message_ProjectFileNotFound_S),
                                                   ProcessCodec().FromUtf8(path))));
        for (const std::string& folder : added.FolderErrors)
            problems.append(Utf8ToQString(folder));
        if (!added.Skipped.empty())
            problems.append(CountText(TextId::message_SkippedNames_D, added.Skipped.size()));
        for (const SkippedEntry& skipped : added.Skipped)
            problems.append(Utf8ToQString(SkippedEntryLine(skipped)));
        if (!problems.isEmpty())
            m_prompts.ShowMessage(this, MessageKind::Warning, problems.join(u'\n'));
        else if (added.Catalogues == 0)
            m_prompts.ShowMessage(this, MessageKind::Information,
                                  CatalogueText(TextId::message_ShelfNoCatalogues));
    });
}

void Tfrm_Shelf::a_shelf_item_AddFilesExecute() {
    const QStringList files = m_prompts.OpenFileNames(this, m_dialog_AddFiles->Title(),
                                                      m_dialog_AddFiles->Filter(), QString());
    if (!files.isEmpty())
        AddCatalogues(files);
}

void Tfrm_Shelf::a_shelf_item_AddFolderExecute() {
    FolderPickerRequest request;
    request.Title = m_dialog_AddFolder->Title();
    const QString folder = m_prompts.PickFolder(this, request);
    if (!folder.isEmpty())
        AddCatalogues({folder});
}

void Tfrm_Shelf::a_shelf_item_RemoveExecute() {
    QStringList paths;
    for (const QTreeWidgetItem* item : m_tree_Catalogues->selectedItems())
        paths.append(item->data(colFile, Qt::UserRole).toString());
    m_shelf->Remove(Utf8Paths(paths));
    FillCatalogues();
    StartSearch();
}

void Tfrm_Shelf::a_shelf_item_RefreshExecute() {
    RunIndexing([this](ProgressSink& progress, MessagePump& pump, std::stop_token stop) {
        return m_shelf->Refresh(progress, pump, std::move(stop));
    });
}

void Tfrm_Shelf::ScheduleSearch() {
    m_searchPause.start();
}

void Tfrm_Shelf::StartSearch() {
    m_searchPause.stop();
    ShelfQuery query;
    query.Text = QStringToUtf8(m_edit_Text->text());
    query.Fields = m_fields->Fields();
    query.CaseSensitive = m_checkbox_CaseSensitive->isChecked();
    query.Limit = HitsShown;
    if (query.Text.empty() || query.Fields == 0) {
        m_runner->Stop();
        m_hits->SetHits({});
        m_label_Found->clear();
        return;
    }
    m_runner->Start(std::move(query));
}

void Tfrm_Shelf::ShowHits(const ShelfHits& found, bool counted) {
    if (!counted) {
        m_hits->SetHits(found.Hits);
        if (m_hits->rowCount() > 0)
            m_list_Hits->setCurrentIndex(m_hits->index(0, 0));
        m_label_Found->setText(CountText(TextId::text_ShelfFound_D, found.Hits.size()) +
                               (found.Hits.size() == HitsShown ? u"..."_s : QString()));
        return;
    }
    QString text = CountText(TextId::text_ShelfFound_D, static_cast<std::size_t>(found.Total));
    if (static_cast<std::size_t>(found.Total) > found.Hits.size())
        text += u' ' + CountText(TextId::text_ShelfFirstShown_D, found.Hits.size());
    m_label_Found->setText(text);
}

void Tfrm_Shelf::list_HitsActivated(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const ShelfHit& hit = m_hits->Hit(index.row());
    Q_EMIT OpenRequested(Utf8ToQString(hit.CataloguePath), hit.Index);
}

void Tfrm_Shelf::showEvent(QShowEvent* event) {
    Tfrm_Common<QWidget>::showEvent(event);
    if (!m_setAsideShown && m_shelf->SetAside()) {
        m_setAsideShown = true;
        QTimer::singleShot(0, this, &Tfrm_Shelf::ShowSetAside);
    }
}

void Tfrm_Shelf::ShowSetAside() {
    m_prompts.ShowMessage(this, MessageKind::Warning,
                          Utf8ToQString(SetAsideMessage(*m_shelf->SetAside())));
}

void Tfrm_Shelf::closeEvent(QCloseEvent* event) {
    // Indexing goes on in this window's progress; Cancel ends it.
    if (m_busy)
        event->ignore();
    else
        Tfrm_Common<QWidget>::closeEvent(event);
}

void Tfrm_Shelf::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_busy && !DroppedCatalogues(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Tfrm_Shelf::dropEvent(QDropEvent* event) {
    const QStringList paths = DroppedCatalogues(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the drag's source waits for it.
    QTimer::singleShot(0, this, [this, paths] { AddCatalogues(paths); });
}

}  // namespace tomlet
