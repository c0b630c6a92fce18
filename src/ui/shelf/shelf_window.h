#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "core/shelf.h"
#include "ui/base/common_window.h"
#include "ui/progress/message_pump.h"
#include "ui/progress/progress_sink.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QTreeView;
class QTreeWidget;

namespace tomlet {

class FileDialogTexts;
class FindFieldBoxes;
class Prompts;
class ShelfHitsModel;
class ShelfSearchRunner;

// The Shelf window: the catalogues on the user's shelf, and a search across all of them. Not
// modal; the main window opens the catalogue of a hit when asked.
class Tfrm_Shelf final : public Tfrm_Common<QWidget> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Shelf)

public:
    // Opens the shelf file (UTF-8); a file that could not be used is set aside, and the window
    // says so when first shown. Throws std::runtime_error when the shelf cannot be opened at all.
    // `prompts` must outlive the window.
    Tfrm_Shelf(Prompts& prompts, std::string shelfPath, QWidget* parent = nullptr);
    ~Tfrm_Shelf() override;

    // Puts catalogue files, and the catalogues in folders, on the shelf, as Add files..., Add
    // folder... and a drop do, with the progress window and its Cancel.
    void AddCatalogues(const QStringList& paths);
    // Whether adding or refreshing is under way.
    bool IsBusy() const { return m_busy; }
    // After a change of language: the window's texts from the current language file and the
    // catalogue, its search and its place kept.
    void Retranslate();

Q_SIGNALS:
    // Enter or a double click on a hit: open the catalogue with the object at `objectIndex`
    // (depth-first, as tomlet-cli find numbers them) selected.
    void OpenRequested(const QString& cataloguePath, int objectIndex);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using Indexing = std::function<ShelfRefresh(ProgressSink&, MessagePump&, std::stop_token)>;

    void FormCreate();
    void TranslateTexts();
    QWidget* CreateCatalogues();
    QWidget* CreateSearch();
    QAction* CreateAction(const char* name, const char* caption, const char* hint,
                          void (Tfrm_Shelf::*handler)());
    void FillCatalogues();
    void UpdateActions();
    // Every command runs here: none while the shelf is being indexed, and an error is shown,
    // never let through to the event loop.
    void Run(const std::function<void()>& command);
    void RunIndexing(const Indexing& indexing);
    void ShowSetAside();

    void a_shelf_item_AddFilesExecute();
    void a_shelf_item_AddFolderExecute();
    void a_shelf_item_RemoveExecute();
    void a_shelf_item_RefreshExecute();

    void ScheduleSearch();
    void StartSearch();
    void ShowHits(const ShelfHits& found, bool counted);
    void list_HitsActivated(const QModelIndex& index);

    Prompts& m_prompts;
    std::unique_ptr<Shelf> m_shelf;
    WindowProgressSink m_progress;
    ThrottledMessagePump m_pump;
    bool m_busy = false;
    bool m_setAsideShown = false;

    QAction* m_a_shelf_item_AddFiles = nullptr;
    QAction* m_a_shelf_item_AddFolder = nullptr;
    QAction* m_a_shelf_item_Remove = nullptr;
    QAction* m_a_shelf_item_Refresh = nullptr;
    FileDialogTexts* m_dialog_AddFiles = nullptr;
    FileDialogTexts* m_dialog_AddFolder = nullptr;
    QTreeWidget* m_tree_Catalogues = nullptr;
    QMenu* m_menu_Catalogues = nullptr;
    QLineEdit* m_edit_Text = nullptr;
    FindFieldBoxes* m_fields = nullptr;
    QCheckBox* m_checkbox_CaseSensitive = nullptr;
    QTreeView* m_list_Hits = nullptr;
    QLabel* m_label_Found = nullptr;
    ShelfHitsModel* m_hits = nullptr;
    ShelfSearchRunner* m_runner = nullptr;
    QTimer m_searchPause;
};

}  // namespace tomlet
