#include "ui/tree/rx_popup_menu.h"

#include <gtest/gtest.h>

#include <QImage>

namespace tomlet {
namespace {

TEST(MarginGradient, OneBandPerRowUpToThirtyTwo) {
    const std::vector<GradientBand> bands = MarginGradientBands(10);
    ASSERT_EQ(bands.size(), 10u);
    EXPECT_EQ(bands.front().Colour, QColor(0, 0, 128));
    EXPECT_EQ(bands.back().Colour, QColor(255, 0, 0));
    // Channels are rounded: 255 * 5 / 9 = 141.67, 128 - 128 * 5 / 9 = 56.89.
    EXPECT_EQ(bands[5].Colour, QColor(142, 0, 57));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(bands[i].Top, i);
        EXPECT_EQ(bands[i].Height, 1);
    }
}

TEST(MarginGradient, TallMarginsGetThirtyTwoBandsAndEndColouredLeftovers) {
    const std::vector<GradientBand> bands = MarginGradientBands(100);
    ASSERT_EQ(bands.size(), 33u);
    EXPECT_EQ(bands[1].Top, 3);
    EXPECT_EQ(bands[1].Height, 3);
    EXPECT_EQ(bands[1].Colour, QColor(8, 0, 124));
    EXPECT_EQ(bands[31].Colour, QColor(255, 0, 0));
    EXPECT_EQ(bands[32].Top, 96);
    EXPECT_EQ(bands[32].Height, 4);
    EXPECT_EQ(bands[32].Colour, QColor(255, 0, 0));
}

TEST(MarginGradient, TinyMargins) {
    EXPECT_TRUE(MarginGradientBands(0).empty());
    const std::vector<GradientBand> one = MarginGradientBands(1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].Height, 1);
    EXPECT_EQ(one[0].Colour, QColor(255, 0, 0));
}

int WhitePixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += QColor(image.pixel(x, y)).lightness() > 200 ? 1 : 0;
    return count;
}

TEST(RxPopupMenu, PaintsItsMarginAndKeepsItemsRightOfIt) {
    RxPopupMenu menu;
    for (int item = 0; item < 12; ++item)
        menu.addAction(QStringLiteral("Open folder containing the object %1").arg(item));
    menu.adjustSize();
    const QImage image = menu.grab().toImage();
    const QRect margin = menu.MarginRect();
    ASSERT_GT(margin.height(), 200);
    EXPECT_EQ(margin.width(), RxPopupMenu::MarginWidth);

    EXPECT_EQ(QColor(image.pixel(margin.left(), margin.top())), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(margin.left(), margin.bottom())), QColor(255, 0, 0));
    EXPECT_EQ(image.pixel(margin.right() - 1, margin.center().y()),
              menu.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(image.pixel(margin.right(), margin.center().y()),
              menu.palette().color(QPalette::Light).rgb());

    // The maker's mark near the top, the product name near the bottom, nothing white between.
    const int third = margin.height() / 3;
    const QRect strip = margin.adjusted(0, 0, -3, 0);
    EXPECT_GT(WhitePixels(image, strip.adjusted(0, 0, 0, -2 * third)), 10);
    EXPECT_GT(WhitePixels(image, strip.adjusted(0, 2 * third, 0, 0)), 10);
    EXPECT_EQ(WhitePixels(image, strip.adjusted(0, third, 0, -third)), 0);

    for (QAction* action : menu.actions())
        EXPECT_GT(menu.actionGeometry(action).left(), margin.right());
}

}  // namespace
}  // namespace tomlet
