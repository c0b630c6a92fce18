#pragma once

#include <QDialog>
#include <QStringList>

#include "ui/base/common_window.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QAction;

namespace tomlet {

class Prompts;
class MaskStore;

// The scan options: the folder to scan, the ordered file masks (kept in the mask store on
// request) and whether nested folders are scanned. It scans and checks nothing itself.
class Tfrm_Scan final : public Tfrm_Common<QDialog> {
public:
    // `currentDataDir` only titles the folder picker, which starts in `discFolder` while the
    // folder field is empty.
    Tfrm_Scan(Prompts& prompts, MaskStore& masks, const QString& currentDataDir,
              const QString& discFolder, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(Tfrm_Scan)

    void SetDirectory(const QString& text);
    QString GetDirectory() const;
    // A locked folder field can be neither typed into nor browsed.
    void LockDirectory(bool locked);

    // The mask list in scan order, and the nested box.
    QStringList MaskList() const;
    bool ScanNested() const;
    // Shows another list than the stored one, the first mask selected, and the nested choice.
    void Preselect(const QStringList& masks, bool nested);

    void edit_SetDirButtonClick();
    void button_AddMaskClick();
    void button_DeleteMaskClick();
    void button_SaveMasksClick();
    void listbox_ListFileExtClick();
    // The drop of a drag from the list itself at `position` (in the list's viewport): the
    // selected mask moves to the place of the mask there. A drop below the last mask does
    // nothing.
    void listbox_ListFileExtDragDrop(const QPoint& position);

private:
    void BuildControls();
    void LoadMasks();
    void ShowMasks(const QStringList& masks);

    Prompts& m_prompts;
    MaskStore& m_store;
    QString m_currentDataDir;
    QString m_discFolder;
    QLineEdit* m_directory = nullptr;
    QAction* m_browse = nullptr;
    QListWidget* m_masks = nullptr;
    QComboBox* m_mask = nullptr;
    QCheckBox* m_nested = nullptr;
};

}  // namespace tomlet
