#include "ui/tree/rx_popup_menu.h"

#include <gtest/gtest.h>

#include <QImage>

namespace tomlet {
namespace {

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
    // Between them the gradient only ever goes on from navy towards red.
    for (int y = margin.top() + third; y < margin.bottom() - third; ++y) {
        const QColor above(image.pixel(strip.center().x(), y));
        const QColor below(image.pixel(strip.center().x(), y + 1));
        EXPECT_GE(below.red(), above.red()) << y;
        EXPECT_LE(below.blue(), above.blue()) << y;
    }

    for (QAction* action : menu.actions())
        EXPECT_GT(menu.actionGeometry(action).left(), margin.right());
}

}  // namespace
}  // namespace tomlet
