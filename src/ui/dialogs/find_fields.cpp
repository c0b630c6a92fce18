#include "ui/dialogs/find_fields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <algorithm>

#include "core/search.h"
#include "ui/base/named.h"

namespace tomlet {

namespace {

// In the order of FindFieldBoxes::m_fields.
constexpr std::array<TFindField, 5> FieldOfBox{ffCaption, ffHint, ffComments, ffParameters,
                                               ffPathFileName};

}  // namespace

FindFieldBoxes::FindFieldBoxes(QGroupBox& where) : QObject(&where) {
    const auto box = [&where](const char* caption, const char* name) {
        return Named(new QCheckBox(QLatin1String(caption), &where), name);
    };
    m_fields = {box("Caption", "checkbox_FindCaption"), box("Hint", "checkbox_FindHint"),
                box("Comments", "checkbox_FindComments"),
                box("Parameters", "checkbox_FindParameters"),
                box("Path, filename", "checkbox_FindPathFileName")};
    m_everywhere = box("Everywhere", "checkbox_FindEveryWhere");
    // Qt's three-state cycle is the one wanted: unchecked, grayed, checked, unchecked.
    m_everywhere->setTristate(true);
    m_everywhere->setCheckState(Qt::PartiallyChecked);
    auto* layout = new QGridLayout(&where);
    for (int i = 0; i < 5; ++i)
        layout->addWidget(m_fields[static_cast<std::size_t>(i)], i % 3, i / 3);
    layout->addWidget(m_everywhere, 2, 1);

    for (QCheckBox* field : m_fields) {
        connect(field, &QCheckBox::toggled, this, &FindFieldBoxes::CheckBoxXClick);
        connect(field, &QCheckBox::toggled, this, &FindFieldBoxes::Changed);
    }
    // `clicked` comes from the user only, so the summary rule never sets off this handler.
    connect(m_everywhere, &QCheckBox::clicked, this, &FindFieldBoxes::checkbox_FindEveryWhereClick);
}

std::uint8_t FindFieldBoxes::Fields() const {
    std::uint8_t fields = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->isChecked())
            fields |= FieldOfBox[i];
    return fields;
}

void FindFieldBoxes::SetFields(std::uint8_t fields) {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setChecked((fields & FieldOfBox[i]) != 0);
    CheckBoxXClick();
}

void FindFieldBoxes::CheckBoxXClick() {
    const auto checked = std::ranges::count_if(m_fields, &QCheckBox::isChecked);
    m_everywhere->setCheckState(checked == 5   ? Qt::Checked
                                : checked == 0 ? Qt::Unchecked
                                               : Qt::PartiallyChecked);
}

void FindFieldBoxes::checkbox_FindEveryWhereClick() {
    const bool all = m_everywhere->checkState() == Qt::Checked;
    m_fields[0]->setChecked(true);
    for (std::size_t i = 1; i < m_fields.size(); ++i)
        m_fields[i]->setChecked(all);
}

}  // namespace tomlet
