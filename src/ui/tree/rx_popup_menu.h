#pragma once

#include <QMenu>

namespace tomlet {

// The tree's context menu, with a painted left margin that carries the maker's mark and the
// product name, both reading upwards, on a navy-to-red gradient.
class RxPopupMenu final : public QMenu {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RxPopupMenu)

public:
    static constexpr int MarginWidth = 23;

    explicit RxPopupMenu(QWidget* parent = nullptr);

    // The margin in the menu's own coordinates.
    QRect MarginRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintMargin(QPainter& painter) const;
};

}  // namespace tomlet
