#include "ui/progress/gauge.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <stdexcept>

namespace tomlet {

Gauge::Gauge(QWidget* parent)
    : QWidget(parent), m_backColor(Qt::lightGray), m_barColor(Qt::darkBlue) {
    setObjectName(QStringLiteral("Gauge"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Gauge::SetMaximum(int maximum) {
    if (maximum < 0)
        throw std::invalid_argument("The maximum of a progress bar cannot be negative");
    if (maximum == m_maximum)
        return;
    m_maximum = maximum;
    m_value = std::min(m_value, m_maximum);
    update();
}

void Gauge::SetValue(int value) {
    value = std::clamp(value, 0, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    update();
}

int Gauge::Percent() const {
    if (m_maximum == 0)
        return 0;
    return static_cast<int>(100LL * m_value / m_maximum);
}

void Gauge::SetBackColor(const QColor& color) {
    m_backColor = color;
    update();
}

QSize Gauge::sizeHint() const {
    return {150, fontMetrics().height() + 4};
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A thin border, and the bar and the figure inside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect whole = rect().adjusted(1, 1, -1, -1);
    const int barWidth =
        m_maximum == 0
            ? 0
            : static_cast<int>(static_cast<long long>(whole.width()) * m_value / m_maximum);
    const QRect bar(whole.left(), whole.top(), barWidth, whole.height());
    const QRect rest(whole.left() + barWidth, whole.top(), whole.width() - barWidth,
                     whole.height());
    const QString text = QString::number(Percent()) + u'%';

    painter.fillRect(rest, m_backColor);
    painter.fillRect(bar, m_barColor);

    // The figure is drawn twice, each time clipped to one part, so that it reads on both.
    painter.setClipRect(rest);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(whole, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(m_backColor);
    painter.drawText(whole, Qt::AlignCenter, text);
}

}  // namespace tomlet
