#include "ui/progress/splash_window.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/limits.h"
#include "support/file_system_faults.h"
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

// libjpeg decodes a picture larger than wanted at the smallest of its scales n/8 that still
// reaches the width or the height wanted, or at 1/8.
TEST(JpegDecoderTest, DecodesALargePictureAtTheLargestScaleThatFits) {
    QImage picture(1600, 1200, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QByteArray jpeg = EncodeJpeg(picture);
    const std::pair<QSize, QSize> cases[] = {
        {QSize(), QSize(1600, 1200)},       {QSize(2000, 2000), QSize(1600, 1200)},
        {QSize(800, 600), QSize(800, 600)}, {QSize(500, 500), QSize(600, 450)},
        {QSize(100, 100), QSize(200, 150)}, {QSize(1000, 100), QSize(200, 150)}};
    for (const auto& [fit, decoded] : cases)
        EXPECT_EQ(DecodeJpeg(jpeg, fit).size(), decoded) << fit.width() << "x" << fit.height();
}

// A progressive JPEG keeps every coefficient until its last scan: for 8192 x 8192 pixels in 4:4:4
// that is 384 MB, whatever the scale. Written by libjpeg with arithmetic coding, which makes
// the plain picture 366 bytes.
TEST(JpegDecoderTest, RefusesAPictureThatNeedsMoreMemoryThanTheBound) {
    static const char progressive[] =
        "\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xDB"
        "\x00\x43"
        "\x00\x08\x06\x06\x07\x06\x05\x08\x07\x07\x07\x09\x09\x08\x0A\x0C\x14\x0D\x0C\x0B\x0B\x0C"
        "\x19\x12"
        "\x13\x0F\x14\x1D\x1A\x1F\x1E\x1D\x1A\x1C\x1C\x20\x24\x2E\x27\x20\x22\x2C\x23\x1C\x1C\x28"
        "\x37\x29"
        "\x2C\x30\x31\x34\x34\x34\x1F\x27\x39\x3D\x38\x32\x3C\x2E\x33\x34\x32\xFF\xDB\x00\x43\x01"
        "\x09\x09"
        "\x09\x0C\x0B\x0C\x18\x0D\x0D\x18\x32\x21\x1C\x21\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
        "\x32\x32"
        "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
        "\x32\x32"
        "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\xFF\xCA\x00\x11\x08\x20\x00\x20"
        "\x00\x03"
        "\x01\x11\x00\x02\x11\x01\x03\x11\x01\xFF\xCC\x00\x06\x00\x10\x01\x10\xFF\xDA\x00\x0C\x03"
        "\x01\x00"
        "\x02\x10\x03\x10\x00\x00\x01\xFE\x77\x25\xA4\x40\xFF\xCC\x00\x04\x10\x05\xFF\xDA\x00\x08"
        "\x01\x01"
        "\x00\x01\x05\x02\xA5\xE3\xFF\xCC\x00\x04\x11\x05\xFF\xDA\x00\x08\x01\x03\x01\x01\x3F\x01"
        "\xA5\xE3"
        "\xFF\xCC\x00\x04\x11\x05\xFF\xDA\x00\x08\x01\x02\x01\x01\x3F\x01\xA5\xE3\xFF\xCC\x00\x04"
        "\x10\x05"
        "\xFF\xDA\x00\x08\x01\x01\x00\x06\x3F\x02\xA5\xE3\xFF\xCC\x00\x04\x10\x05\xFF\xDA\x00\x08"
        "\x01\x01"
        "\x00\x01\x3F\x21\xA5\xE3\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x10\x4B\xC6"
        "\xFF\xCC"
        "\x00\x04\x11\x05\xFF\xDA\x00\x08\x01\x03\x01\x01\x3F\x10\xA5\xE3\xFF\xCC\x00\x04\x11\x05"
        "\xFF\xDA"
        "\x00\x08\x01\x02\x01\x01\x3F\x10\xA5\xE3\xFF\xCC\x00\x04\x10\x05\xFF\xDA\x00\x08\x01\x01"
        "\x00\x01"
        "\x3F\x10\xA5\xE3\xFF\xD9";
    const QByteArray jpeg(progressive, sizeof progressive - 1);
    EXPECT_TRUE(DecodeJpeg(jpeg).isNull());
    EXPECT_TRUE(DecodeJpeg(jpeg, QSize(800, 600)).isNull());
}

class SplashWindowTest : public ::testing::Test {
protected:
    QSize AvailableScreen() const { return Splash.screen()->availableGeometry().size(); }

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
        EXPECT_EQ(Splash.Picture().width(), std::min(MaxPictureSide, AvailableScreen().width()));
        Splash.LoadPicture(Q(Folder.WriteFile("built-in.jpg", Bytes(BuiltInSplashJpeg()))));
    }
}

// A picture larger than the screen is shown as large as the screen allows, its proportions kept.
TEST_F(SplashWindowTest, APictureLargerThanTheScreenIsShownAsLargeAsTheScreenAllows) {
    Splash.HideGauge();  // which would take its height below the picture
    const QSize screen = AvailableScreen();
    QImage picture(screen * 3, QImage::Format_RGB32);
    picture.fill(Qt::darkYellow);
    const std::string jpeg = Folder.WriteFile("large.jpg", Bytes(EncodeJpeg(picture)));
    const std::string bmp = Folder / "large.bmp";
    ASSERT_TRUE(picture.save(Q(bmp), "BMP"));
    for (const std::string& path : {jpeg, bmp}) {
        ASSERT_TRUE(Splash.LoadPicture(Q(path))) << path;
        const QSize shown = Splash.Picture().size();
        EXPECT_TRUE(shown.width() == screen.width() || shown.height() == screen.height()) << path;
        EXPECT_TRUE(screen.expandedTo(shown) == screen) << path;
    }
    Tfrm_Splash withGauge;
    ASSERT_TRUE(withGauge.LoadPicture(Q(jpeg)));
    withGauge.FitToPicture();
    EXPECT_LE(withGauge.height(), screen.height());
}

// Found out before anything is read: a file larger than the bound (sparse here), a folder, and a
// pipe, which would keep the start waiting for good.
TEST_F(SplashWindowTest, PictureFilesTooLargeOrNoFilesAreRefusedUnread) {
    const std::string large = Folder.WriteFile("large.jpg", Bytes(BuiltInSplashJpeg()));
    std::filesystem::resize_file(large, MaxPictureFileBytes + 1);
    std::vector<std::string> refused = {large, Folder.MakeFolder("folder.jpg")};
    if (testing::MakeNamedPipe(Folder / "pipe.jpg"))
        refused.push_back(Folder / "pipe.jpg");
    for (const std::string& path : refused) {
        EXPECT_FALSE(Splash.LoadPicture(Q(path))) << path;
        EXPECT_EQ(Splash.Picture().size(), QSize(450, 330));
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
