#include "ui/tree/object_icons.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "core/object_pictures.h"
#include "core/records.h"
#include "core/web_resources.h"

namespace tomlet {
namespace {

TEST(ObjectIcons, IndexByTypeWithOpenFoldersWhenSelected) {
    EXPECT_EQ(ObjectImageIndex(otFolder, false), 0);
    EXPECT_EQ(ObjectImageIndex(otFolder, true), 1);
    EXPECT_EQ(ObjectImageIndex(otVirtualFolder, false), 2);
    EXPECT_EQ(ObjectImageIndex(otVirtualFolder, true), 3);
    const int others[][2] = {
        {otExecuteFile, 4},  {otPatch, 5},    {otSerial, 6},    {otKeyFile, 7},
        {otLanguageFile, 8}, {otTextFile, 9}, {otHelpFile, 10}, {otWebPage, 11},
        {otPicture, 12},     {otFile, 13},    {12, 13},         {255, 13}};
    for (const auto& [type, index] : others) {
        EXPECT_EQ(ObjectImageIndex(static_cast<std::uint8_t>(type), false), index) << type;
        EXPECT_EQ(ObjectImageIndex(static_cast<std::uint8_t>(type), true), index) << type;
    }
}

TEST(ObjectIcons, SeventeenDistinctPicturesOnTransparentGround) {
    std::vector<QImage> images;
    for (int index = 0; index < ObjectImageCount; ++index) {
        const QImage image = ObjectImage(index).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        int opaque = 0;
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                (qAlpha(image.pixel(x, y)) == 255 ? opaque : transparent) += 1;
        EXPECT_GT(opaque, 40) << "picture " << index << " is nearly empty";
        EXPECT_GT(transparent, 0) << "picture " << index << " fills its whole square";
        for (size_t other = 0; other < images.size(); ++other)
            EXPECT_NE(image, images[other]) << "pictures " << other << " and " << index;
        images.push_back(image);
    }
}

TEST(ObjectIcons, TypeIconShowsTheOpenPictureOnlyWhenSelected) {
    const auto picture = [](std::uint8_t type, QIcon::Mode mode) {
        return ObjectTypeIcon(type).pixmap(QSize(16, 16), mode).toImage();
    };
    EXPECT_EQ(picture(otFolder, QIcon::Normal), ObjectImage(0).toImage());
    EXPECT_EQ(picture(otFolder, QIcon::Selected), ObjectImage(1).toImage());
    EXPECT_EQ(picture(otVirtualFolder, QIcon::Selected), ObjectImage(3).toImage());
    // Other types keep their picture untinted when selected.
    EXPECT_EQ(picture(otExecuteFile, QIcon::Selected), ObjectImage(4).toImage());
    EXPECT_EQ(picture(77, QIcon::Normal), ObjectImage(13).toImage());
}

// The web page shows the tree's own pictures, shipped as PNG files at 16 and 32 pixels. When a
// picture is redrawn, this test fails and leaves the new files to copy into resources/web.
TEST(ObjectIcons, WebPageShipsTheTreesPictures) {
    const QString redrawn = QDir::current().filePath(QStringLiteral("web-pictures"));
    for (const int size : {16, 32}) {
        for (int index = 0; index < ObjectTypeImageCount; ++index) {
            const std::string name =
                "pictures/" + std::to_string(size) + "/" + std::to_string(index) + ".png";
            const std::string_view shipped = WebPageResource(name);
            const QImage drawn =
                ObjectImage(index, size).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage loaded =
                QImage::fromData(reinterpret_cast<const uchar*>(shipped.data()),
                                 static_cast<int>(shipped.size()), "PNG")
                    .convertToFormat(QImage::Format_ARGB32);
            if (loaded == drawn)
                continue;
            const QString file = redrawn + QLatin1Char('/') + QString::fromStdString(name);
            QDir().mkpath(QFileInfo(file).path());
            drawn.save(file, "PNG");
            ADD_FAILURE() << name << " differs from the tree's picture; copy "
                          << redrawn.toStdString() << "/pictures into resources/web/";
        }
    }
}

}  // namespace
}  // namespace tomlet
