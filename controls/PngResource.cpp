#include "PngResource.h"

#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace.
void InitSkinResources() {
    static const bool initialised = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)initialised;
}

QString PngResourcePath(int id) {
    return QStringLiteral(":/RCPNG/%1").arg(id);
}

bool LoadPngResource(QImage& image, int id) {
    InitSkinResources();
    QFile resource(PngResourcePath(id));
    if (!resource.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = resource.readAll();
    image = QImage::fromData(bytes, "PNG"); // a decoding failure leaves it empty
    if (!image.isNull() && image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        PremultiplyAlpha(image);
    }
    return true;
}

bool PremultiplyAlpha(QImage& image) {
    if (image.format() != QImage::Format_ARGB32 || image.width() <= 0) {
        return false;
    }
    uchar* bits = image.bits();
    const qsizetype pitch = image.bytesPerLine();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            QRgb& pixel = reinterpret_cast<QRgb*>(bits + y * pitch)[x];
            const int alpha = qAlpha(pixel);
            pixel = qRgba(qRed(pixel) * alpha / 255, qGreen(pixel) * alpha / 255,
                          qBlue(pixel) * alpha / 255, alpha);
        }
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}
