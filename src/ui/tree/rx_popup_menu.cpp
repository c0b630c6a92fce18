#include "ui/tree/rx_popup_menu.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tomlet {

namespace {

const QColor MarginTop(0, 0, 128);
const QColor MarginBottom(255, 0, 0);

int Channel(int start, int end, int band, int last) {
    return static_cast<int>(std::lround(start + (end - start) * static_cast<double>(band) / last));
}

// The margin's texts run upwards from `origin`, their tops towards the left edge, as a font
// turned by 90 degrees draws them.
void DrawUpwards(QPainter& painter, const QPointF& origin, const QFont& font, const QString& text) {
    painter.save();
    painter.setFont(font);
    painter.translate(origin);
    painter.rotate(-90);
    painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), text);
    painter.restore();
}

QFont MarginFont(int points, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// One band of the margin's gradient: `Height` rows from `Top` in one colour.
struct GradientBand {
    int Top = 0;
    int Height = 0;
    QColor Colour;
};

// The gradient of a margin `height` pixels high: between 2 and 32 bands of equal height, and the
// rows left over below them in the end colour.
std::vector<GradientBand> MarginGradientBands(int height) {
    std::vector<GradientBand> bands;
    if (height <= 0)
        return bands;
    const int count = std::clamp(height, 2, 32);
    const int bandHeight = height / count;
    for (int band = 0; band < count && bandHeight > 0; ++band) {
        const QColor colour(Channel(MarginTop.red(), MarginBottom.red(), band, count - 1),
                            Channel(MarginTop.green(), MarginBottom.green(), band, count - 1),
                            Channel(MarginTop.blue(), MarginBottom.blue(), band, count - 1));
        bands.push_back({band * bandHeight, bandHeight, colour});
    }
    if (const int covered = bandHeight * count; covered < height)
        bands.push_back({covered, height - covered, MarginBottom});
    return bands;
}

}  // namespace

RxPopupMenu::RxPopupMenu(QWidget* parent) : QMenu(parent) {
    setContentsMargins(MarginWidth, 0, 0, 0);
}

QRect RxPopupMenu::MarginRect() const {
    const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    return QRect(frame, frame, MarginWidth, height() - 2 * frame);
}

void RxPopupMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    QPainter painter(this);
    PaintMargin(painter);
}

void RxPopupMenu::PaintMargin(QPainter& painter) const {
    const QRect margin = MarginRect();
    for (const GradientBand& band : MarginGradientBands(margin.height()))
        painter.fillRect(margin.left(), margin.top() + band.Top, margin.width() - 3, band.Height,
                         band.Colour);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(margin.right() - 1, margin.top(), margin.right() - 1, margin.bottom());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(margin.right(), margin.top(), margin.right(), margin.bottom());

    painter.setClipRect(margin);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFont mark = MarginFont(8, false);
    const QString markText = QStringLiteral("Orvan(c)");
    const qreal markWidth = QFontMetricsF(mark).horizontalAdvance(markText);
    DrawUpwards(painter, QPointF(margin.left() + 2, margin.top() + markWidth + 3), mark, markText);
    DrawUpwards(painter, QPointF(margin.left(), margin.bottom() + 1 - 5), MarginFont(12, true),
                QStringLiteral("Tomlet"));
}

}  // namespace tomlet
