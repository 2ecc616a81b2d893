#include "C3DBar.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(C3DBar, ShadesStepBy51WithoutClamping) {
    C3DBar bar;
    EXPECT_EQ(bar.light1, QColor(255, 151, 51));
    EXPECT_EQ(bar.light2, QColor(255, 202, 102));
    EXPECT_EQ(bar.light3, QColor(255, 253, 153));
    EXPECT_EQ(bar.dark1, QColor(204, 49, 0));
    EXPECT_EQ(bar.dark2, QColor(153, 49, 0));

    bar.baseColour = QColor(0, 100, 0);
    bar.ComputeShades();
    EXPECT_EQ(bar.light1, QColor(51, 151, 51));
    EXPECT_EQ(bar.light2, QColor(102, 202, 102));
    EXPECT_EQ(bar.light3, QColor(153, 253, 153));
    EXPECT_EQ(bar.dark1, QColor(0, 49, 0));
    EXPECT_EQ(bar.dark2, QColor(0, 49, 0));
}

TEST(C3DBar, MidShadowLiesHalfwayRoundedDown) {
    C3DBar bar;
    for (auto part : {&QColor::red, &QColor::green, &QColor::blue}) {
        const int low = std::min((bar.shadow.*part)(), (bar.darkShadow.*part)());
        const int high = std::max((bar.shadow.*part)(), (bar.darkShadow.*part)());
        EXPECT_EQ((bar.midShadow.*part)(), (low + high) / 2);
    }
}

namespace {
QImage Canvas() {
    QImage image(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}
} // namespace

TEST(C3DBar, ZeroWidthDrawsNothing) {
    const C3DBar bar;
    QImage image = Canvas();
    {
        QPainter painter(&image);
        bar.Draw(painter, QRect(10, 4, 0, 10));
    }
    EXPECT_EQ(image, Canvas());
}

TEST(C3DBar, FillsWithTheLightestShadeAndCastsAShadowToTheRight) {
    C3DBar bar;
    QImage image = Canvas();
    {
        QPainter painter(&image);
        bar.Draw(painter, QRect(10, 4, 30, 10)); // right edge 40, bottom 14
    }
    EXPECT_EQ(QColor(image.pixel(25, 8)), bar.light3);
    EXPECT_EQ(QColor(image.pixel(25, 9)), bar.light2);
    EXPECT_EQ(QColor(image.pixel(10, 8)), bar.baseColour) << "left edge";
    EXPECT_EQ(QColor(image.pixel(20, 13)), bar.dark2) << "bottom row";
    EXPECT_EQ(QColor(image.pixel(40, 8)), bar.midShadow);
    EXPECT_EQ(QColor(image.pixel(41, 8)), bar.shadow);
    EXPECT_EQ(QColor(image.pixel(42, 8)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(40, 14)), QColor(Qt::white)) << "lines leave out their end";
}
