#include "ui/progress/splash_window.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "core/limits.h"
#include "support/jpeg_encoding.h"
#include "support/temp_folder.h"
#include "ui/base/program_pictures.h"
#include "ui/progress/gauge.h"
#include "ui/progress/jpeg_decoder.h"

namespace tomlet {
namespace {

using testing::EncodeJpeg;
using testing::TempFolder;

std::string Bytes(const QByteArray& data) {
    return data.toStdString();
}

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

TEST(JpegDecoderTest, DecodesTheBuiltInPicture) {
    const QImage picture = DecodeJpeg(BuiltInSplashJpeg());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(450, 330));
    // A dark blue gradient: the top-left corner is more blue than red.
    const QColor corner = picture.pixelColor(2, 2);
    EXPECT_GT(corner.blue(), corner.red() + 20);
}

TEST(JpegDecoderTest, RefusesDamagedPictures) {
    const QByteArray whole = BuiltInSplashJpeg();
    EXPECT_TRUE(DecodeJpeg(whole.left(whole.size() / 2)).isNull());  // libjpeg only warns here
    EXPECT_TRUE(DecodeJpeg(whole.left(100)).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("BM not a jpeg at all")).isNull());
}

class SplashWindowTest : public ::testing::Test {
protected:
    QPoint CentredOnScreen(QSize size) const {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return {screen.x() + CentredPosition(screen.width(), size.width()),
                screen.y() + CentredPosition(screen.height(), size.height())};
    }

    TempFolder Folder;
    Tfrm_Splash Splash;
};

TEST_F(SplashWindowTest, StartsWithTheBuiltInPictureAndTheDefaultTime) {
    EXPECT_EQ(Splash.objectName(), QStringLiteral("frm_Splash"));
    EXPECT_EQ(Splash.Picture().size(), QSize(450, 330));
    EXPECT_TRUE(Splash.IsTimerOn());
    EXPECT_EQ(Splash.gauge()->Maximum(), 0);
}

TEST_F(SplashWindowTest, FitsThePictureWithAndWithoutTheGauge) {
    Splash.FitToPicture();
    EXPECT_EQ(Splash.size(), QSize(450, 342));
    EXPECT_EQ(Splash.gauge()->geometry(), QRect(0, 330, 450, 12));
    EXPECT_EQ(Splash.pos(), CentredOnScreen(Splash.frameGeometry().size()));

    Splash.HideGauge();
    Splash.FitToPicture();
    EXPECT_EQ(Splash.size(), QSize(450, 330));
}

TEST_F(SplashWindowTest, LoadsAProjectsBmpAndJpegPictures) {
    QImage bmp(200, 120, QImage::Format_RGB32);
    bmp.fill(Qt::darkGreen);
    const std::string bmpPath = Folder / "Splash.BMP";
    ASSERT_TRUE(bmp.save(Q(bmpPath), "BMP"));
    ASSERT_TRUE(Splash.LoadPicture(Q(bmpPath)));
    Splash.FitToPicture();
    EXPECT_EQ(Splash.size(), QSize(200, 132));
    EXPECT_EQ(Splash.Picture().pixelColor(10, 10), QColor(Qt::darkGreen));

    const std::string jpegPath = Folder.WriteFile("picture.jpeg", Bytes(BuiltInSplashJpeg()));
    EXPECT_TRUE(Splash.LoadPicture(Q(jpegPath)));
    EXPECT_EQ(Splash.Picture().size(), QSize(450, 330));
}

TEST_F(SplashWindowTest, ARefusedPictureLeavesTheOneShown) {
    const QByteArray jpeg = BuiltInSplashJpeg();
    const std::string truncated = Folder.WriteFile("cut.jpg", Bytes(jpeg.left(jpeg.size() - 200)));
    const std::string wrongKind = Folder.WriteFile("picture.png", Bytes(jpeg));
    const std::string notBmp = Folder.WriteFile("picture.bmp", "not a bitmap");

    EXPECT_FALSE(Splash.LoadPicture(Q(truncated)));
    EXPECT_FALSE(Splash.LoadPicture(Q(wrongKind)));
    EXPECT_FALSE(Splash.LoadPicture(Q(notBmp)));
    EXPECT_FALSE(Splash.LoadPicture(Q(Folder / "missing.jpg")));
    EXPECT_EQ(Splash.Picture(), DecodeJpeg(jpeg));
}

// A header may claim any size: past the bound nothing is decoded and the picture shown stays.
TEST_F(SplashWindowTest, PicturesWiderOrHigherThanTheBoundAreRefused) {
    for (const std::string format : {"jpg", "bmp"}) {
        const auto written = [&](QSize size) {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QByteArray bytes;
            if (format == "jpg") {
                bytes = EncodeJpeg(picture);
            } else {
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                EXPECT_TRUE(picture.save(&buffer, "BMP"));
            }
            return Q(Folder.WriteFile("picture." + format, Bytes(bytes)));
        };
        for (const QSize size : {QSize(MaxPictureSide + 1, 2), QSize(2, MaxPictureSide + 1)}) {
            EXPECT_FALSE(Splash.LoadPicture(written(size))) << format << " " << size.width();
            EXPECT_EQ(Splash.Picture().size(), QSize(450, 330));
        }
        EXPECT_TRUE(Splash.LoadPicture(written(QSize(MaxPictureSide, 2)))) << format;
        EXPECT_EQ(Splash.Picture().size(), QSize(MaxPictureSide, 2));
        Splash.LoadPicture(Q(Folder.WriteFile("built-in.jpg", Bytes(BuiltInSplashJpeg()))));
    }
}

TEST_F(SplashWindowTest, ShowTimeIsHeldToTheEditorsRange) {
    Splash.SetShowTime(2147483647);
    EXPECT_EQ(Splash.ShowTime(), MaxSplashShowTime);
    EXPECT_TRUE(Splash.IsTimerOn());
}

TEST_F(SplashWindowTest, NoShowTimeShowsNothingAndDoesNotWait) {
    Splash.SetShowTime(-500);
    EXPECT_FALSE(Splash.IsTimerOn());
    Splash.ShowAndWait();
    EXPECT_FALSE(Splash.isVisible());
}

TEST_F(SplashWindowTest, ShowAndWaitReturnsOnceTheTimerFired) {
    Splash.SetShowTime(60);
    ASSERT_TRUE(Splash.IsTimerOn());
    Splash.ShowAndWait();
    EXPECT_TRUE(Splash.isVisible());
    EXPECT_FALSE(Splash.IsTimerOn());
}

}  // namespace
}  // namespace tomlet
