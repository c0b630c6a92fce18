#include "ui/progress/splash_window.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "core/limits.h"
#include "ui/base/program_pictures.h"
#include "ui/progress/gauge.h"
#include "ui/progress/jpeg_decoder.h"

namespace tomlet {

namespace {
constexpr int GaugeHeight = 12;

// The picture at most `fit` large, its proportions kept; a null image for a file that is no
// regular file or is larger than MaxPictureFileBytes, found out before anything is read.
QImage LoadPictureFile(const QString& path, QSize fit) {
    QFile file(path);
    const QFileInfo facts(path);
    if (!facts.isFile() || facts.size() > MaxPictureFileBytes || !file.open(QIODevice::ReadOnly))
        return {};
    // Read with the bound, should the file grow in the meantime.
    const QByteArray data = file.read(MaxPictureFileBytes + 1);
    if (data.size() > MaxPictureFileBytes)
        return {};
    QImage picture;
    const QString extension = facts.suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        picture = DecodeJpeg(data, fit);
    } else if (extension == QLatin1String("bmp")) {
        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer, "BMP");
        const QSize size = reader.size();
        if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
            return {};
        picture = reader.read();
    }
    if (picture.isNull() || fit.isEmpty() ||
        (picture.width() <= fit.width() && picture.height() <= fit.height()))
        return picture;
    return picture.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
}  // namespace

Tfrm_Splash::Tfrm_Splash(QWidget* parent)
    : Tfrm_Common<QWidget>(parent,
                           Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_image(new QLabel(this)),
      m_gauge(new Gauge(this)) {
    setObjectName(QStringLiteral("frm_Splash"));
    setWindowTitle(QStringLiteral("Tomlet Splash"));
    resize(471, 363);

    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(0, 0, 471, 330);
    m_gauge->SetBackColor(QColor(0xC0, 0xC0, 0xC0));
    m_gauge->setGeometry(0, 330, 471, GaugeHeight);
    SetPicture(DecodeJpeg(BuiltInSplashJpeg()));

    m_timer.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer, &QTimer::timeout, this, &Tfrm_Splash::Timer1Timer);
    m_timer.start(DefaultShowTimeMs);
}

bool Tfrm_Splash::LoadPicture(const QString& path) {
    // A picture larger than the screen is shown as large as the screen allows, the gauge below it.
    QSize screenRoom = screen()->availableGeometry().size();
    if (!m_gauge->isHidden())
        screenRoom.rheight() -= GaugeHeight;
    const QImage picture = LoadPictureFile(path, screenRoom);
    if (picture.isNull())
        return false;
    SetPicture(picture);
    return true;
}

void Tfrm_Splash::SetPicture(const QImage& picture) {
    m_picture = picture;
    m_image->setPixmap(QPixmap::fromImage(picture));
}

void Tfrm_Splash::SetShowTime(int ms) {
    ms = std::clamp(ms, 0, MaxSplashShowTime);
    m_timer.setInterval(ms);
    if (ms > 0)
        m_timer.start();
    else
        m_timer.stop();
}

void Tfrm_Splash::HideGauge() {
    m_gauge->hide();
}

void Tfrm_Splash::FitToPicture() {
    const QSize picture = m_picture.size();
    m_image->setGeometry(0, 0, picture.width(), picture.height());
    m_gauge->setGeometry(0, picture.height(), picture.width(), GaugeHeight);
    const int gaugeHeight = m_gauge->isHidden() ? 0 : GaugeHeight;
    resize(picture.width(), picture.height() + gaugeHeight);
    CentreOnScreen();
}

void Tfrm_Splash::ShowAndWait() {
    if (!IsTimerOn())
        return;
    show();
    raise();
    repaint();
    QEventLoop wait;
    connect(&m_timer, &QTimer::timeout, &wait, &QEventLoop::quit);
    if (IsTimerOn())
        wait.exec();
}

void Tfrm_Splash::Timer1Timer() {
    m_timer.stop();
}

}  // namespace tomlet
