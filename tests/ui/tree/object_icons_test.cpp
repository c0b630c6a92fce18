#include "ui/tree/object_icons.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/records.h"

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

}  // namespace
}  // namespace tomlet
