#pragma once

#include <QDialog>

#include "ui/base/common_window.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tomlet {

class FindFieldBoxes;
struct TFindRec;

// The find dialog: the text, the fields to look in, case sensitivity and where to start.
// Created for one use; its starting state comes from the settings it is given.
class Tfrm_Find final : public Tfrm_Common<QDialog> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Find)

public:
    explicit Tfrm_Find(QWidget* parent = nullptr);

    void LoadFindRec(const TFindRec& settings);
    // Reads the controls into `settings`; the next search starts from its beginning again.
    void StoreFindRec(TFindRec& settings) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    QLineEdit* m_edit_Text = nullptr;
    FindFieldBoxes* m_fields = nullptr;
    QCheckBox* m_checkbox_CaseSensitive = nullptr;
    QRadioButton* m_radiobutton_FromCurrentPosition = nullptr;
    QRadioButton* m_radiobutton_FromBeginning = nullptr;
};

}  // namespace tomlet
