#include "ui/tree/object_icons.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>

#include "core/records.h"

namespace tomlet {

namespace {

// Every picture is drawn on a 16 × 16 grid; outlines sit on half pixels so that they stay sharp.
using Draw = void (*)(QPainter&);

const QColor Outline(60, 60, 60);

struct BookColours {
    QColor Light;
    QColor Cover;
    QColor Dark;
};

const BookColours BlueBook{QColor(110, 160, 240), QColor(40, 95, 200), QColor(20, 50, 120)};
const BookColours MagentaBook{QColor(240, 120, 225), QColor(190, 40, 170), QColor(110, 20, 100)};

QPen Pen(const QColor& colour, qreal width = 1.0) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void ClosedBook(QPainter& p, const BookColours& colours) {
    // Page edges showing to the right of and below the cover.
    p.setPen(Pen(QColor(150, 150, 150)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 2.5, 9, 12));
    p.setPen(Pen(QColor(200, 200, 200)));
    p.drawLine(QPointF(13.5, 4.5), QPointF(13.5, 13.5));
    QLinearGradient cover(2, 0, 13, 0);
    cover.setColorAt(0, colours.Light);
    cover.setColorAt(1, colours.Cover);
    p.setPen(Pen(colours.Dark));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(2.5, 1.5, 10, 12), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(colours.Dark);
    p.drawRect(QRectF(3, 2, 1.5, 11));  // spine
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRectF(6, 4, 5, 2));  // title label
}

void OpenBook(QPainter& p, const BookColours& colours, qreal top = 3) {
    const qreal bottom = 14.5;
    QPainterPath cover;
    cover.moveTo(0.5, top + 2);
    cover.lineTo(8, top + 3.5);
    cover.lineTo(15.5, top + 2);
    cover.lineTo(15.5, bottom - 0.5);
    cover.lineTo(8, bottom + 1);
    cover.lineTo(0.5, bottom - 0.5);
    cover.closeSubpath();
    p.setPen(Pen(colours.Dark));
    p.setBrush(colours.Cover);
    p.drawPath(cover);

    const auto page = [&](qreal outer) {
        QPainterPath path;
        path.moveTo(outer, top + 0.5);
        path.quadTo((outer + 8) / 2, top - 0.5, 8, top + 1.5);
        path.lineTo(8, bottom - 0.5);
        path.quadTo((outer + 8) / 2, bottom - 2.5, outer, bottom - 1.5);
        path.closeSubpath();
        return path;
    };
    p.setPen(Pen(QColor(120, 120, 120)));
    p.setBrush(Qt::white);
    p.drawPath(page(1.5));
    p.drawPath(page(14.5));
    p.setPen(Pen(colours.Light));
    for (qreal y = top + 3; y < bottom - 2; y += 2) {
        p.drawLine(QPointF(3, y), QPointF(6.5, y + 0.5));
        p.drawLine(QPointF(9.5, y + 0.5), QPointF(13, y));
    }
}

void FolderClosed(QPainter& p) {
    ClosedBook(p, BlueBook);
}
void FolderOpen(QPainter& p) {
    OpenBook(p, BlueBook);
}
void VirtualClosed(QPainter& p) {
    ClosedBook(p, MagentaBook);
}
void VirtualOpen(QPainter& p) {
    OpenBook(p, MagentaBook);
}

void Computer(QPainter& p) {
    p.setPen(Pen(Outline));
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRectF(1.5, 0.5, 13, 10), 1, 1);
    QLinearGradient screen(0, 2, 0, 9);
    screen.setColorAt(0, QColor(90, 200, 255));
    screen.setColorAt(1, QColor(20, 80, 180));
    p.setPen(Pen(QColor(90, 90, 90)));
    p.setBrush(screen);
    p.drawRect(QRectF(3.5, 2.5, 9, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 130, 130));
    p.drawRect(QRectF(6.5, 11, 3, 1.5));  // stand
    p.setPen(Pen(Outline));
    p.setBrush(QColor(225, 215, 190));
    p.drawRect(QRectF(0.5, 12.5, 15, 3));  // keyboard
    p.setPen(Pen(QColor(150, 140, 120)));
    for (qreal x = 2.5; x < 15; x += 2)
        p.drawPoint(QPointF(x, 14));
}

void Lightning(QPainter& p) {
    const QPointF bolt[] = {{10.5, 0.5}, {3.5, 8.5}, {7.5, 8.5}, {4.5, 15.5},
                            {13.5, 6.5}, {9.5, 6.5}, {12.5, 0.5}};
    QLinearGradient fill(0, 0, 0, 16);
    fill.setColorAt(0, QColor(255, 240, 120));
    fill.setColorAt(1, QColor(255, 180, 0));
    p.setPen(Pen(QColor(150, 95, 0)));
    p.setBrush(fill);
    p.drawPolygon(bolt, 7);
}

void GoldKey(QPainter& p, const QPointF& ring, qreal ringRadius, qreal length) {
    const QColor gold(235, 185, 45);
    const QColor dark(130, 90, 10);
    // Shaft and teeth first, the ring over them.
    p.setPen(Pen(dark));
    p.setBrush(gold);
    const qreal x0 = ring.x() + ringRadius - 0.5;
    p.drawRect(QRectF(x0, ring.y() - 1, length, 2));
    p.drawRect(QRectF(x0 + length - 4, ring.y() + 1, 1.5, 2.5));
    p.drawRect(QRectF(x0 + length - 1.5, ring.y() + 1, 1.5, 3.5));
    p.drawEllipse(ring, ringRadius, ringRadius);
    p.setBrush(Qt::white);
    p.drawEllipse(ring, ringRadius / 3, ringRadius / 3);
}

void Key(QPainter& p) {
    GoldKey(p, QPointF(4, 8), 3.5, 8.5);
}

void PadlockWithKey(QPainter& p) {
    // The shackle lifted out of the body on its right leg: the lock is open.
    QPainterPath shackle;
    shackle.moveTo(3.5, 8);
    shackle.lineTo(3.5, 4);
    shackle.arcTo(QRectF(3.5, 0.5, 6, 7), 180, -180);
    shackle.lineTo(9.5, 5.5);
    p.setPen(Pen(QColor(110, 110, 110), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shackle);
    QLinearGradient body(0, 7, 0, 15);
    body.setColorAt(0, QColor(250, 210, 80));
    body.setColorAt(1, QColor(200, 140, 20));
    p.setPen(Pen(QColor(120, 80, 10)));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 7.5, 9, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 10));
    p.drawEllipse(QPointF(6, 10.5), 1.2, 1.2);
    p.drawRect(QRectF(5.5, 10.5, 1, 3));
    // A small key standing beside the lock.
    p.save();
    p.translate(13, 2.5);
    p.rotate(90);
    p.scale(0.75, 0.75);
    GoldKey(p, QPointF(0, 0), 2.5, 12);
    p.restore();
}

// Three letters in a 3 × 5 pixel font, one row of bits per line.
void PixelText(QPainter& p, const char* const* rows, int width, int x, int y) {
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < width; ++column)
            if (rows[row][column] == '#')
                p.drawRect(x + column, y + row, 1, 1);
}

void RusSign(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(7, 10, 2, 6));  // post
    p.setPen(Pen(QColor(20, 60, 160)));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 9), 1.5, 1.5);
    static const char* const letters[] = {"###.#.#.###", "#.#.#.#.#..", "##..#.#.###",
                                          "#.#.#.#...#", "#.#.###.###"};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 20, 20));
    PixelText(p, letters, 11, 2, 4);
}

void Notepad(QPainter& p) {
    p.setPen(Pen(QColor(110, 110, 110)));
    p.setBrush(QColor(255, 250, 200));
    p.drawRect(QRectF(2.5, 2.5, 11, 13));
    p.setPen(Pen(QColor(120, 160, 230)));
    for (qreal y = 6.5; y < 15; y += 2)
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    p.setPen(Pen(QColor(40, 40, 40), 1.2));
    for (qreal x = 4.5; x < 13; x += 3)
        p.drawLine(QPointF(x, 0.8), QPointF(x, 4));
}

void HelpBook(QPainter& p) {
    OpenBook(p, BlueBook, 9);
    QPainterPath question;
    question.moveTo(5, 3.5);
    question.cubicTo(5, 0.5, 11, 0.5, 11, 3.5);
    question.cubicTo(11, 5.5, 8, 5.5, 8, 7.5);
    p.setPen(Pen(QColor(20, 60, 200), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(question);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 200));
    p.drawEllipse(QPointF(8, 9.6), 1.1, 1.1);
}

void BlankPage(QPainter& p, const QRectF& page = QRectF(2.5, 0.5, 11, 15)) {
    const qreal fold = 3.5;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    p.setPen(Pen(QColor(110, 110, 110)));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    const QPointF corner[] = {{page.right() - fold, page.top()},
                              {page.right() - fold, page.top() + fold},
                              {page.right(), page.top() + fold}};
    p.setBrush(QColor(215, 215, 215));
    p.drawPolygon(corner, 3);
}

void File(QPainter& p) {
    BlankPage(p);
}

void GlobeWithPage(QPainter& p) {
    BlankPage(p, QRectF(1.5, 0.5, 9, 12));
    p.setPen(Pen(QColor(170, 170, 170)));
    for (qreal y = 5.5; y < 10; y += 2)
        p.drawLine(QPointF(3.5, y), QPointF(6.5, y));
    const QPointF centre(10.5, 10.5);
    QRadialGradient sea(centre - QPointF(1.5, 1.5), 6);
    sea.setColorAt(0, QColor(120, 200, 255));
    sea.setColorAt(1, QColor(20, 90, 200));
    p.setPen(Pen(QColor(10, 50, 120)));
    p.setBrush(sea);
    p.drawEllipse(centre, 5, 5);
    p.save();
    QPainterPath clip;
    clip.addEllipse(centre, 4.5, 4.5);
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 60));
    p.drawEllipse(QPointF(8.5, 9), 2.2, 2.8);
    p.drawEllipse(QPointF(12.5, 12.5), 2.5, 1.8);
    p.setPen(Pen(QColor(255, 255, 255, 120)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 2, 5);
    p.drawLine(QPointF(5.5, 10.5), QPointF(15.5, 10.5));
    p.restore();
}

void Picture(QPainter& p) {
    QLinearGradient frame(0, 2, 16, 14);
    frame.setColorAt(0, QColor(200, 140, 70));
    frame.setColorAt(1, QColor(120, 70, 20));
    p.setPen(Pen(QColor(80, 45, 10)));
    p.setBrush(frame);
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    QLinearGradient sky(0, 3, 0, 12);
    sky.setColorAt(0, QColor(90, 170, 250));
    sky.setColorAt(1, QColor(200, 235, 255));
    const QRectF view(2.5, 3.5, 11, 9);
    p.setPen(Pen(QColor(80, 45, 10)));
    p.setBrush(sky);
    p.drawRect(view);
    p.save();
    p.setClipRect(view.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 40));
    p.drawEllipse(QPointF(10.5, 6), 1.5, 1.5);
    const QPointF hills[] = {{2, 13}, {2, 11}, {6, 7}, {9, 10}, {11, 8.5}, {14, 11}, {14, 13}};
    p.setBrush(QColor(50, 150, 50));
    p.drawPolygon(hills, 7);
    p.restore();
}

void ScissorsPage(QPainter& p) {
    BlankPage(p);
    p.setPen(Pen(QColor(90, 90, 90), 1.2));
    p.drawLine(QPointF(6, 11), QPointF(11.5, 3));
    p.drawLine(QPointF(10, 11), QPointF(4.5, 3));
    p.setPen(Pen(QColor(200, 30, 30), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(5.2, 12.8), 1.8, 1.8);
    p.drawEllipse(QPointF(10.8, 12.8), 1.8, 1.8);
}

void MagnifierOverGrid(QPainter& p) {
    p.setPen(Pen(QColor(110, 110, 110)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 0.5, 12, 12));
    p.setPen(Pen(QColor(150, 180, 230)));
    for (qreal v = 3.5; v < 12; v += 3) {
        p.drawLine(QPointF(v, 1), QPointF(v, 12));
        p.drawLine(QPointF(1, v), QPointF(12, v));
    }
    p.setPen(Pen(QColor(110, 60, 20), 2.5));
    p.drawLine(QPointF(11.5, 11.5), QPointF(14.8, 14.8));
    p.setPen(Pen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(170, 230, 255, 170));
    p.drawEllipse(QPointF(8.5, 8.5), 3.5, 3.5);
}

void CompactDisc(QPainter& p) {
    const QPointF centre(8, 8);
    QConicalGradient sheen(centre, 45);
    sheen.setColorAt(0.0, QColor(220, 220, 230));
    sheen.setColorAt(0.15, QColor(255, 240, 170));
    sheen.setColorAt(0.3, QColor(190, 240, 210));
    sheen.setColorAt(0.45, QColor(200, 200, 250));
    sheen.setColorAt(0.6, QColor(230, 230, 235));
    sheen.setColorAt(0.75, QColor(250, 200, 230));
    sheen.setColorAt(0.9, QColor(200, 230, 250));
    sheen.setColorAt(1.0, QColor(220, 220, 230));
    p.setPen(Pen(QColor(110, 110, 120)));
    p.setBrush(sheen);
    p.drawEllipse(centre, 7.5, 7.5);
    p.setBrush(QColor(235, 235, 240));
    p.drawEllipse(centre, 2.8, 2.8);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, 1.3, 1.3);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

constexpr std::array<Draw, ObjectImageCount> Pictures{
    FolderClosed, FolderOpen,     VirtualClosed, VirtualOpen,       Computer,   Lightning,
    Key,          PadlockWithKey, RusSign,       Notepad,           HelpBook,   GlobeWithPage,
    Picture,      File,           ScissorsPage,  MagnifierOverGrid, CompactDisc};

}  // namespace

QPixmap ObjectImage(int index, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    if (index < 0 || index >= ObjectImageCount)
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    Pictures[static_cast<size_t>(index)](painter);
    return pixmap;
}

QIcon ObjectTypeIcon(std::uint8_t objectType) {
    // One slot per type and a last one for every unknown type; drawn on first use.
    static std::array<QIcon, ObjectTypeCount + 1> icons;
    QIcon& icon = icons[std::min<size_t>(objectType, ObjectTypeCount)];
    if (!icon.isNull())
        return icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(ObjectImage(ObjectImageIndex(objectType, false), size), QIcon::Normal);
        icon.addPixmap(ObjectImage(ObjectImageIndex(objectType, true), size), QIcon::Selected);
    }
    return icon;
}

}  // namespace tomlet
