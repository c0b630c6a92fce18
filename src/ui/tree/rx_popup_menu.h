#pragma once

#include <QColor>
#include <QMenu>
#include <vector>

namespace tomlet {

// One band of the context menu's margin gradient: `Height` rows from `Top` in one colour.
struct GradientBand {
    int Top = 0;
    int Height = 0;
    QColor Colour;
};

// The navy-to-red gradient of a margin `height` pixels high: between 2 and 32 bands of equal
// height, and the rows left over below them in the end colour.
std::vector<GradientBand> MarginGradientBands(int height);

// The tree's context menu, with a painted left margin that carries the maker's mark and the
// product name, both reading upwards.
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
