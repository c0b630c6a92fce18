#include "ui/progress/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/progress/gauge.h"

namespace tomlet {

namespace {
constexpr int ClientWidth = 347;
constexpr int ClientHeight = 44;
constexpr int GaugeLeft = 4;
constexpr int GaugeTop = 20;
constexpr int GaugeHeight = 17;
constexpr int StatusIntervalMs = 200;
constexpr int ButtonHeight = 26;

QWidget* VisibleMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frm_Main") && widget->isVisible())
            return widget;
    }
    return nullptr;
}
}  // namespace

Tfrm_Progress::Tfrm_Progress(QWidget* parent)
    : Tfrm_Common<QWidget>(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_status(new QLabel(QStringLiteral("-"), this)),
      m_gauge(new Gauge(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("frm_Progress"));
    setWindowTitle(QStringLiteral("Прогресс"));
    // The operation runs in the main window; the box must not take the focus from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientWidth, ClientHeight);

    m_status->setObjectName(QStringLiteral("lbl_Status"));
    m_status->setGeometry(12, 4, ClientWidth - 24, GaugeTop - 4);

    m_gauge->SetBackColor(palette().color(QPalette::Base));
    m_gauge->setGeometry(GaugeLeft, GaugeTop, ClientWidth - 2 * GaugeLeft - 4, GaugeHeight);

    m_cancel->setObjectName(QStringLiteral("button_Cancel"));
    m_cancel->hide();

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(StatusIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Tfrm_Progress::Timer1Timer);
    m_timer.start();
}

void Tfrm_Progress::ShowCancelButton() {
    m_cancel->setText(ToQString(Text(TextId::text_Cancel)));  // in the current language
    setFixedSize(ClientWidth, ClientHeight + ButtonHeight + 6);
    const int width = m_cancel->sizeHint().width();
    m_cancel->setGeometry((ClientWidth - width) / 2, ClientHeight, width, ButtonHeight);
    m_cancel->show();
}

void Tfrm_Progress::CentreOverMainWindow() {
    const QWidget* main = VisibleMainWindow();
    if (main == nullptr) {
        CentreOnScreen();
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(main->frameGeometry().center());
    move(frame.topLeft());
}

void Tfrm_Progress::paintEvent(QPaintEvent*) {
    // Without a title bar the window draws its own thin border.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Tfrm_Progress::Timer1Timer() {
    m_status->setText(ToQString(FormatCount(m_statusFormat, m_count)));
}

}  // namespace tomlet
