#include "ui/tree/object_icons.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/records.h"

namespace tomlet {
namespace {

QImage Picture(std::uint8_t type, QIcon::Mode mode) {
    return ObjectTypeIcon(type).pixmap(QSize(16, 16), mode).toImage();
}

// Each type shows a picture of its own; only folders and virtual folders open when selected, and
// a type this program does not know shows a plain file's.
TEST(ObjectIcons, EachTypeHasItsOwnPictureAndOnlyFoldersOpen) {
    std::vector<QImage> pictures;
    for (int type = 0; type < ObjectTypeCount; ++type) {
        const QImage normal = Picture(static_cast<std::uint8_t>(type), QIcon::Normal);
        const QImage selected = Picture(static_cast<std::uint8_t>(type), QIcon::Selected);
        EXPECT_EQ(normal != selected, type == otFolder || type == otVirtualFolder) << type;
        for (size_t other = 0; other < pictures.size(); ++other)
            EXPECT_NE(normal, pictures[other]) << "types " << other << " and " << type;
        pictures.push_back(normal);
    }
    for (const int unknown : {ObjectTypeCount, 77, 255})
        EXPECT_EQ(Picture(static_cast<std::uint8_t>(unknown), QIcon::Selected), pictures[otFile]);
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

}  // namespace
}  // namespace tomlet
