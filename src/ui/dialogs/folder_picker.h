#pragma once

#include <QDialog>
#include <QString>

#include "ui/seams/prompts.h"

class QDialogButtonBox;
class QFileSystemModel;
class QLineEdit;
class QTreeView;

namespace tomlet {

class RootSubtreeProxy;

// A drive given as "D:" becomes "D:\" (drive-letter rules only); anything else is unchanged.
QString NormalisePickerPath(const QString& path, bool driveLetters);

// A modal browser over the file system that offers folders, or files too, below an optional
// root folder, with the system's icons. Nothing above the root is shown or can be chosen. The
// path field shows the chosen path; a path typed or pasted there is chosen when the browser
// offers it (a relative one is taken below the root) and otherwise leaves nothing chosen.
class FolderPickerDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderPickerDialog)

public:
    // A root that is not an existing folder gives an unrestricted browser.
    explicit FolderPickerDialog(const FolderPickerRequest& request, QWidget* owner = nullptr);

    // Makes the entry current and scrolls to it; false when the browser does not offer it.
    bool SelectPath(const QString& path);
    // The current entry's full native path; empty when there is none.
    QString SelectedPath() const;
    // The root in force, with '/' separators; empty for the whole file system.
    QString RootFolder() const { return m_root; }

    QTreeView* view() const { return m_view; }
    QLineEdit* pathField() const { return m_path; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowRoot();
    void FollowSelection();
    void SelectTypedPath(const QString& typed);
    void ScrollToCurrent();

    QString m_root;
    bool m_includeFiles;
    QFileSystemModel* m_model;
    RootSubtreeProxy* m_proxy;
    QTreeView* m_view;
    QLineEdit* m_path;
    QDialogButtonBox* m_buttons;
    bool m_typing = false;
};

// The real folder picker: warns when the request's root folder is missing and then browses
// without it. Returns the chosen full native path, or empty when cancelled.
QString PickFolder(QWidget* owner, const FolderPickerRequest& request);

}  // namespace tomlet
