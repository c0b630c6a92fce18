#pragma once

#include <QTimer>
#include <string>

#include "ui/base/common_window.h"

class QLabel;
class QPushButton;

namespace tomlet {

class Gauge;

// The small borderless box that long operations show while they run: a status line and a gauge.
class Tfrm_Progress final : public Tfrm_Common<QWidget> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Progress)

public:
    explicit Tfrm_Progress(QWidget* parent = nullptr);

    Gauge* gauge() const { return m_gauge; }
    QLabel* statusLabel() const { return m_status; }
    // Hidden unless ShowCancelButton was called.
    QPushButton* cancelButton() const { return m_cancel; }
    // For an operation that may stop half-way: a Cancel button below the gauge.
    void ShowCancelButton();

    // The status line's format, with one %d for the count; bytes in the process code page.
    void SetStatusFormat(std::string format) { m_statusFormat = std::move(format); }
    const std::string& StatusFormat() const { return m_statusFormat; }
    // The number the status line shows.
    void SetCount(long long count) { m_count = count; }
    long long Count() const { return m_count; }

    // Centres the window over the visible main window, or on the screen without one.
    void CentreOverMainWindow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Timer1Timer();

    QLabel* m_status;
    Gauge* m_gauge;
    QPushButton* m_cancel;
    QTimer m_timer;
    std::string m_statusFormat;
    long long m_count = 0;
};

}  // namespace tomlet
