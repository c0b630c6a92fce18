#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/shelf.h"

namespace tomlet {

// The hits of a shelf search as the Shelf window lists them: the object (icon by type and
// caption), its place in the tree, its catalogue and whether its disc is there.
class ShelfHitsModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShelfHitsModel)

public:
    enum Column { colObject, colTreePath, colCatalogue, colDisc, ColumnCount };

    explicit ShelfHitsModel(QObject* parent = nullptr);

    void SetHits(std::vector<ShelfHit> hits);
    const ShelfHit& Hit(int row) const { return m_hits[static_cast<std::size_t>(row)]; }
    // The column titles, from the catalogue (after a change of language).
    void RetranslateHeaders();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ShelfHit> m_hits;
    QStringList m_headers;
};

}  // namespace tomlet
