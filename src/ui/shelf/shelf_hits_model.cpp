#include "ui/shelf/shelf_hits_model.h"

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_icons.h"

namespace tomlet {

ShelfHitsModel::ShelfHitsModel(QObject* parent) : QAbstractTableModel(parent) {
    RetranslateHeaders();
}

void ShelfHitsModel::SetHits(std::vector<ShelfHit> hits) {
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

void ShelfHitsModel::RetranslateHeaders() {
    m_headers = ToQString(Text(TextId::text_ShelfHitColumns)).split(u'|');
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

int ShelfHitsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

int ShelfHitsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ShelfHitsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const ShelfHit& hit = Hit(index.row());
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case colObject:
                    return Utf8ToQString(hit.Caption);
                case colTreePath:
                    return Utf8ToQString(hit.TreePath);
                case colCatalogue:
                    return Utf8ToQString(hit.ProjectName);
                case colDisc:
                    return ToQString(
                        Text(hit.Online ? TextId::text_ShelfOnline : TextId::text_ShelfOffline));
            }
            break;
        case Qt::DecorationRole:
            if (index.column() == colObject)
                return ObjectTypeIcon(hit.ObjectType);
            break;
        case Qt::ToolTipRole:
            if (index.column() == colCatalogue)
                return Utf8ToQString(hit.CataloguePath);
            return Utf8ToQString(hit.ResolvedPath);
    }
    return {};
}

QVariant ShelfHitsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace tomlet
