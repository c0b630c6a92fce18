#include "ui/dialogs/find_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/language_file.h"
#include "core/search.h"
#include "ui/base/access_letters.h"
#include "ui/base/named.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"
#include "ui/dialogs/find_fields.h"

namespace tomlet {

Tfrm_Find::Tfrm_Find(QWidget* parent)
    : Tfrm_Common<QDialog>(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    FormCreate();
}

void Tfrm_Find::FormCreate() {
    setObjectName(QStringLiteral("frm_Find"));
    setWindowTitle(QStringLiteral("Find"));

    auto* label = Named(new QLabel(QStringLiteral("Text"), this), "label_Text");
    m_edit_Text = Named(new QLineEdit(this), "edit_Text");
    label->setBuddy(m_edit_Text);

    auto* where = Named(new QGroupBox(QStringLiteral("Where"), this), "groupbox_Where");
    m_fields = new FindFieldBoxes(*where);

    auto* options = Named(new QGroupBox(QStringLiteral("Options"), this), "groupbox_Options");
    m_checkbox_CaseSensitive =
        Named(new QCheckBox(QStringLiteral("Case sensitive"), options), "checkbox_CaseSensitive");
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(m_checkbox_CaseSensitive);
    optionsLayout->addStretch();

    auto* whence = Named(new QGroupBox(QStringLiteral("Whence"), this), "groupbox_Whence");
    m_radiobutton_FromCurrentPosition =
        Named(new QRadioButton(QStringLiteral("From current position"), whence),
              "radiobutton_FromCurrentPosition");
    m_radiobutton_FromBeginning = Named(new QRadioButton(QStringLiteral("From beginning"), whence),
                                        "radiobutton_FromBeginning");
    m_radiobutton_FromCurrentPosition->setChecked(true);
    auto* whenceLayout = new QVBoxLayout(whence);
    whenceLayout->addWidget(m_radiobutton_FromCurrentPosition);
    whenceLayout->addWidget(m_radiobutton_FromBeginning);

    auto* ok = Named(new QPushButton(QStringLiteral("Ok"), this), "button_Ok");
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "button_Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(m_edit_Text, 1);
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(options, 1);
    groupRow->addWidget(whence, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(where);
    layout->addLayout(groupRow);
    layout->addLayout(buttonRow);
    // A fixed dialog border: the window takes its layout's size and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    TranslateForm(this, CurrentLanguageFile(), true);
    AssignControlAccessLetters(*this);
}

void Tfrm_Find::LoadFindRec(const TFindRec& settings) {
    m_fields->SetFields(settings.Fields);
    m_edit_Text->setText(ToQString(settings.Text));
    m_checkbox_CaseSensitive->setChecked(settings.CaseSensitive);
    if (settings.FromCurrent)
        m_radiobutton_FromCurrentPosition->setChecked(true);
    else
        m_radiobutton_FromBeginning->setChecked(true);
}

void Tfrm_Find::StoreFindRec(TFindRec& settings) const {
    settings.Fields = m_fields->Fields();
    settings.Text = FromQString(m_edit_Text->text());
    settings.NextIndex = 0;
    settings.CaseSensitive = m_checkbox_CaseSensitive->isChecked();
    settings.FromCurrent = m_radiobutton_FromCurrentPosition->isChecked();
}

void Tfrm_Find::showEvent(QShowEvent* event) {
    // Centred on the main window, or on the screen without one.
    if (const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr) {
        const QRect area = owner->frameGeometry();
        const QRect frame = frameGeometry();
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
    } else {
        CentreOnScreen();
    }
    Tfrm_Common<QDialog>::showEvent(event);
}

}  // namespace tomlet
