#pragma once

#include <QImage>
#include <QTimer>

#include "ui/base/common_window.h"

class QLabel;

namespace tomlet {

class Gauge;

// The picture shown at start-up with a thin gauge below it for the loading of the start-up
// project. The timer says whether the show time is over: it switches itself off when it fires.
class Tfrm_Splash final : public Tfrm_Common<QWidget> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Splash)

public:
    static constexpr int DefaultShowTimeMs = 1500;

    explicit Tfrm_Splash(QWidget* parent = nullptr);

    // A JPEG or BMP picture, chosen by the extension, made smaller where it is larger than the
    // screen (a JPEG already by the decoder). False leaves the current picture: also for a file
    // larger than MaxPictureFileBytes, refused before it is read.
    bool LoadPicture(const QString& path);
    QImage Picture() const { return m_picture; }

    // The timer's interval, held to 0 to MaxSplashShowTime; it runs only for a time above 0.
    void SetShowTime(int ms);
    bool IsTimerOn() const { return m_timer.isActive(); }
    int ShowTime() const { return m_timer.interval(); }

    void HideGauge();
    // Sizes the window to the picture (and the gauge below it while the gauge is shown) and
    // centres it on the screen.
    void FitToPicture();
    // While the timer is on: shows the window, paints it at once and lets window messages through
    // until the timer fires. Otherwise does nothing.
    void ShowAndWait();

    Gauge* gauge() const { return m_gauge; }

private:
    void SetPicture(const QImage& picture);
    void Timer1Timer();

    QLabel* m_image;
    Gauge* m_gauge;
    QTimer m_timer;
    QImage m_picture;
};

}  // namespace tomlet
