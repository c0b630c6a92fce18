#include "ui/dialogs/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "core/language_file.h"
#include "core/search.h"
#include "ui/base/named.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"

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
    const auto fieldBox = [where](const char* caption, const char* name) {
        return Named(new QCheckBox(QLatin1String(caption), where), name);
    };
    m_checkbox_FindCaption = fieldBox("Caption", "checkbox_FindCaption");
    m_checkbox_FindHint = fieldBox("Hint", "checkbox_FindHint");
    m_checkbox_FindComments = fieldBox("Comments", "checkbox_FindComments");
    m_checkbox_FindParameters = fieldBox("Parameters", "checkbox_FindParameters");
    m_checkbox_FindPathFileName = fieldBox("Path, filename", "checkbox_FindPathFileName");
    m_checkbox_FindEveryWhere = fieldBox("Everywhere", "checkbox_FindEveryWhere");
    // Qt's three-state cycle is the one wanted: unchecked, grayed, checked, unchecked.
    m_checkbox_FindEveryWhere->setTristate(true);
    m_checkbox_FindEveryWhere->setCheckState(Qt::PartiallyChecked);
    auto* whereLayout = new QGridLayout(where);
    whereLayout->addWidget(m_checkbox_FindCaption, 0, 0);
    whereLayout->addWidget(m_checkbox_FindHint, 1, 0);
    whereLayout->addWidget(m_checkbox_FindComments, 2, 0);
    whereLayout->addWidget(m_checkbox_FindParameters, 0, 1);
    whereLayout->addWidget(m_checkbox_FindPathFileName, 1, 1);
    whereLayout->addWidget(m_checkbox_FindEveryWhere, 2, 1);

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

    for (QCheckBox* box : {m_checkbox_FindCaption, m_checkbox_FindHint, m_checkbox_FindComments,
                           m_checkbox_FindParameters, m_checkbox_FindPathFileName})
        connect(box, &QCheckBox::toggled, this, &Tfrm_Find::CheckBoxXClick);
    // `clicked` comes from the user only, so the summary rule never sets off this handler.
    connect(m_checkbox_FindEveryWhere, &QCheckBox::clicked, this,
            &Tfrm_Find::checkbox_FindEveryWhereClick);
}

void Tfrm_Find::LoadFindRec(const TFindRec& settings) {
    m_checkbox_FindCaption->setChecked(settings.Fields & ffCaption);
    m_checkbox_FindHint->setChecked(settings.Fields & ffHint);
    m_checkbox_FindComments->setChecked(settings.Fields & ffComments);
    m_checkbox_FindParameters->setChecked(settings.Fields & ffParameters);
    m_checkbox_FindPathFileName->setChecked(settings.Fields & ffPathFileName);
    CheckBoxXClick();
    m_edit_Text->setText(ToQString(settings.Text));
    m_checkbox_CaseSensitive->setChecked(settings.CaseSensitive);
    if (settings.FromCurrent)
        m_radiobutton_FromCurrentPosition->setChecked(true);
    else
        m_radiobutton_FromBeginning->setChecked(true);
}

void Tfrm_Find::StoreFindRec(TFindRec& settings) const {
    settings.Fields = 0;
    const std::array<std::pair<const QCheckBox*, TFindField>, 5> boxes{{
        {m_checkbox_FindCaption, ffCaption},
        {m_checkbox_FindHint, ffHint},
        {m_checkbox_FindComments, ffComments},
        {m_checkbox_FindParameters, ffParameters},
        {m_checkbox_FindPathFileName, ffPathFileName},
    }};
    for (const auto& [box, field] : boxes)
        if (box->isChecked())
            settings.Fields |= field;
    settings.Text = FromQString(m_edit_Text->text());
    settings.NextIndex = 0;
    settings.CaseSensitive = m_checkbox_CaseSensitive->isChecked();
    settings.FromCurrent = m_radiobutton_FromCurrentPosition->isChecked();
}

void Tfrm_Find::CheckBoxXClick() {
    int checked = 0;
    for (const QCheckBox* box :
         {m_checkbox_FindCaption, m_checkbox_FindHint, m_checkbox_FindComments,
          m_checkbox_FindParameters, m_checkbox_FindPathFileName})
        checked += box->isChecked() ? 1 : 0;
    m_checkbox_FindEveryWhere->setCheckState(checked == 5   ? Qt::Checked
                                             : checked == 0 ? Qt::Unchecked
                                                            : Qt::PartiallyChecked);
}

void Tfrm_Find::checkbox_FindEveryWhereClick() {
    const bool all = m_checkbox_FindEveryWhere->checkState() == Qt::Checked;
    m_checkbox_FindCaption->setChecked(true);
    for (QCheckBox* box : {m_checkbox_FindHint, m_checkbox_FindComments, m_checkbox_FindParameters,
                           m_checkbox_FindPathFileName})
        box->setChecked(all);
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
