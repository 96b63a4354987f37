#include "mapedit/DisplayListPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace morvi::ui {
namespace {

// Paints a list on a black 32 x 32 picture.
QImage Paint(const DisplayList& list) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintDisplayList(painter, list);
    painter.end();
    return image;
}

TEST(DisplayListPainter, ReplaysEveryPrimitiveInItsColourWithoutSmoothing) {
    DisplayList list;
    list.AddPixel(3, 4, 0x0080FF); // 0x00BBGGRR: orange
    list.AddLine(10, 2, 20, 2, 0x00FF00);
    const ScreenPoint square[] = {{2, 10}, {8, 10}, {8, 16}, {2, 16}};
    list.AddPolygon(square, 0x800000);         // dark blue fill
    list.AddEllipse(20, 20, 28, 29, 0x0000FF); // red ring
    list.AddLine(10, 7, 20, 7, 0x00FF00, 2);
    const QImage image = Paint(list);
    const auto green = [&](int y) { return image.pixel(15, y) == qRgb(0, 255, 0); };
    EXPECT_EQ(green(6) + green(7) + green(8), 2); // two pixels wide
    EXPECT_EQ(image.pixel(3, 4), qRgb(255, 128, 0));
    EXPECT_EQ(image.pixel(15, 2), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(15, 3), qRgb(0, 0, 0)); // one pixel wide
    EXPECT_EQ(image.pixel(5, 13), qRgb(0, 0, 128));
    EXPECT_EQ(image.pixel(24, 24), qRgb(0, 0, 0)); // the ring is hollow
    EXPECT_EQ(image.pixel(20, 24), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(28, 24), qRgb(0, 0, 0)); // the box's right edge is excluded
}

// Lines and pixels of one colour are handed over in runs, and dots are written straight into the
// picture unless the painting is clipped: the picture must be the one that painting every primitive
// on its own gives, with the order kept where colours alternate on the same pixels (later primitives
// cover earlier ones), the pen back after a fill, and dots off the picture dropped.
TEST(DisplayListPainter, RunsAndDirectDotsPaintLikeSinglePrimitives) {
    DisplayList list;
    for (int y = 0; y < 32; y += 3)
        list.AddLine(0, y, 31, 31 - y, y % 2 ? 0x00FF00 : 0x008000);
    list.AddLine(0, 5, 31, 5, 0x00FF00);
    list.AddLine(4, 5, 12, 5, 0x0000FF);
    list.AddLine(8, 5, 20, 5, 0x00FF00);
    const ScreenPoint square[] = {{2, 20}, {9, 20}, {9, 27}, {2, 27}};
    list.AddPolygon(square, 0x00FF00);
    list.AddLine(0, 24, 31, 24, 0x00FF00);
    for (int i = -3; i < 40; ++i)
        list.AddPixel(i, (i * 7) % 35 - 2, i % 3 ? 0x40C0FF : 0x808080);
    list.AddEllipse(20, 20, 28, 29, 0x00FF00);
    list.AddPixel(24, 24, 0x00FF00);

    QImage single(32, 32, QImage::Format_RGB32), clipped(32, 32, QImage::Format_RGB32);
    single.fill(Qt::black);
    clipped.fill(Qt::black);
    QPainter painter(&single);
    for (const Primitive& p : list.primitives()) {
        DisplayList one;
        if (p.m_Kind == PrimitiveKind::Polygon)
            one.AddPolygon(list.points(p), p.m_crColour);
        else if (p.m_Kind == PrimitiveKind::Pixel)
            one.AddPixel(p.m_nX1, p.m_nY1, p.m_crColour);
        else if (p.m_Kind == PrimitiveKind::Line)
            one.AddLine(p.m_nX1, p.m_nY1, p.m_nX2, p.m_nY2, p.m_crColour);
        else
            one.AddEllipse(p.m_nX1, p.m_nY1, p.m_nX2, p.m_nY2, p.m_crColour);
        PaintDisplayList(painter, one);
    }
    painter.end();
    QPainter clipping(&clipped);
    clipping.setClipRect(0, 0, 32, 32);
    PaintDisplayList(clipping, list);
    clipping.end();
    const QImage batched = Paint(list);
    EXPECT_EQ(batched, single);
    EXPECT_EQ(batched, clipped);
    EXPECT_EQ(batched.pixel(10, 5), qRgb(0, 255, 0));
    EXPECT_EQ(batched.pixel(5, 5), qRgb(255, 0, 0)); // (6, 5) is a dot
    EXPECT_EQ(batched.pixel(5, 24), qRgb(0, 255, 0));
    EXPECT_EQ(batched.pixel(24, 24), qRgb(0, 255, 0));
}

} // namespace
} // namespace morvi::ui
