#include "PngResource.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
QImage OnePixel(QRgb pixel) {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, pixel);
    return image;
}

QRgb Stored(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}
} // namespace

TEST(PremultiplyAlpha, ScalesColoursByAlphaTruncating) {
    QImage image = OnePixel(qRgba(200, 100, 50, 128));
    ASSERT_TRUE(PremultiplyAlpha(image));
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(Stored(image, 0, 0), qRgba(100, 50, 25, 128));

    image = OnePixel(qRgba(1, 255, 254, 128)); // 1 * 128 / 255 truncates to 0
    PremultiplyAlpha(image);
    EXPECT_EQ(Stored(image, 0, 0), qRgba(0, 128, 127, 128));
}

TEST(PremultiplyAlpha, OpaqueAndTransparentEnds) {
    QImage image = OnePixel(qRgba(200, 100, 50, 255));
    PremultiplyAlpha(image);
    EXPECT_EQ(Stored(image, 0, 0), qRgba(200, 100, 50, 255));
    image = OnePixel(qRgba(200, 100, 50, 0));
    PremultiplyAlpha(image);
    EXPECT_EQ(Stored(image, 0, 0), qRgba(0, 0, 0, 0));
}

TEST(PremultiplyAlpha, VisitsEveryPixelThroughThePitch) {
    QImage image(3, 2, QImage::Format_ARGB32); // 12-byte rows padded to the pitch
    image.fill(qRgba(255, 255, 255, 51));
    PremultiplyAlpha(image);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Stored(image, x, y), qRgba(51, 51, 51, 51)) << x << "," << y;
        }
    }
}

TEST(PremultiplyAlpha, LeavesImagesWithoutStraightAlphaAlone) {
    QImage opaque(2, 2, QImage::Format_RGB32);
    opaque.fill(qRgb(10, 20, 30));
    const QImage before = opaque;
    EXPECT_FALSE(PremultiplyAlpha(opaque));
    EXPECT_EQ(opaque, before);
    QImage empty;
    EXPECT_FALSE(PremultiplyAlpha(empty));
}

TEST(LoadPngResource, LoadsTheFiveImagesPremultiplied) {
    const struct {
        int id;
        QSize size;
    } expected[] = {
        {131, {33, 33}}, {132, {33, 33}}, {133, {33, 33}}, {134, {33, 33}}, {135, {412, 97}}};
    for (const auto& e : expected) {
        QImage image;
        ASSERT_TRUE(LoadPngResource(image, e.id)) << e.id;
        EXPECT_EQ(image.size(), e.size) << e.id;
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied) << e.id;
        int translucent = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = Stored(image, x, y);
                ASSERT_LE(qRed(p), qAlpha(p));
                ASSERT_LE(qGreen(p), qAlpha(p));
                ASSERT_LE(qBlue(p), qAlpha(p));
                translucent += qAlpha(p) < 255 ? 1 : 0;
            }
        }
        EXPECT_GT(translucent, 0) << e.id << " carries alpha";
    }
}

TEST(LoadPngResource, MissingResourceLeavesTheImageAlone) {
    QImage image(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(LoadPngResource(image, 136));
    EXPECT_EQ(image.size(), QSize(4, 4));
}

TEST(LoadPngResource, IconIsInTheResources) {
    InitSkinResources();
    const QImage icon(":/ICON/128");
    EXPECT_EQ(icon.size(), QSize(128, 128));
    EXPECT_TRUE(QFile::exists(PngResourcePath(135)));
}
