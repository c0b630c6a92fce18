#pragma once

#include <QObject>
#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;

namespace tomlet {

// The find dialog's choice of fields, shared with the Shelf window: a check box for each field
// in two columns, and "Everywhere", which shows whether all, some or none are checked, and
// checks them all, or the caption alone, when clicked.
class FindFieldBoxes final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindFieldBoxes)

public:
    // Makes the boxes in `where`, which owns them.
    explicit FindFieldBoxes(QGroupBox& where);

    // The checked fields, as TFindRec::Fields holds them.
    std::uint8_t Fields() const;
    void SetFields(std::uint8_t fields);

Q_SIGNALS:
    // A field box was checked or unchecked, by the user or by "Everywhere".
    void Changed();

private:
    void CheckBoxXClick();
    void checkbox_FindEveryWhereClick();

    // Caption, hint, comments, parameters, path: the order of the dialog's columns.
    std::array<QCheckBox*, 5> m_fields{};
    QCheckBox* m_everywhere = nullptr;
};

}  // namespace tomlet
