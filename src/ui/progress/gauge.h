#pragma once

#include <QColor>
#include <QWidget>

namespace tomlet {

// A horizontal progress bar with the percentage done painted inside it. The value always stays
// between 0 and the maximum.
class Gauge final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Gauge)

public:
    explicit Gauge(QWidget* parent = nullptr);

    // A negative maximum throws std::invalid_argument; a maximum below the value lowers the value.
    void SetMaximum(int maximum);
    // Kept between 0 and the maximum.
    void SetValue(int value);
    int Maximum() const { return m_maximum; }
    int Value() const { return m_value; }
    // Whole part of 100 × value ÷ maximum; 0 when the maximum is 0.
    int Percent() const;

    void SetBackColor(const QColor& color);
    QColor BackColor() const { return m_backColor; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_maximum = 0;
    int m_value = 0;
    QColor m_backColor;
    QColor m_barColor;
};

}  // namespace tomlet
