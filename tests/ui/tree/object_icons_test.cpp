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
