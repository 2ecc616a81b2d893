// Draws Tesmira's images: the logo banner (resource 135), the four step icons (131 to 134)
// and the program icon (PNG and SVG). Usage: tesmira-artwork <output folder>
#include "Shapes.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor kInk(30, 58, 95);

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage DrawIcon(int size) {
    QImage image = Canvas(size, size);
    QPainter painter(&image);
    PaintShapes(painter, IconShapes(size));
    return image;
}

// A round blue button with a white figure, one for each step of the work.
QImage DrawStepIcon(int digit) {
    QImage image = Canvas(33, 33);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(12, 10), 22);
    glow.setColorAt(0, QColor(110, 170, 235));
    glow.setColorAt(1, QColor(20, 70, 160));
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    painter.setBrush(glow);
    painter.drawEllipse(QRectF(1.5, 1.5, 30, 30));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(19);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, 33, 33), Qt::AlignCenter, QString::number(digit));
    return image;
}

// The banner: the icon at the left, the name and a line saying what the program does.
QImage DrawLogo() {
    QImage image = Canvas(412, 97);
    QPainter painter(&image);
    painter.translate(6, 6);
    PaintShapes(painter, IconShapes(85));
    painter.resetTransform();
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setBold(true);
    name.setPixelSize(46);
    painter.setFont(name);
    painter.setPen(kInk);
    painter.drawText(QRectF(104, 4, 300, 58), Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("Tesmira"));

    painter.fillRect(QRectF(106, 64, 220, 3), QColor(73, 209, 0));
    QFont tagline(QStringLiteral("WenQuanYi Zen Hei"));
    tagline.setPixelSize(17);
    painter.setFont(tagline);
    painter.setPen(QColor(70, 90, 110));
    painter.drawText(QRectF(106, 70, 300, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("MP3 剪切 · 淡入淡出 · 变速变调"));
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tesmira-artwork <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = Save(DrawLogo(), out.filePath(QStringLiteral("logo.png")));
    for (int digit = 1; digit <= 4; ++digit) {
        ok =
            Save(DrawStepIcon(digit), out.filePath(QStringLiteral("step-%1.png").arg(digit))) && ok;
    }
    ok = Save(DrawIcon(128), out.filePath(QStringLiteral("tesmira-128.png"))) && ok;
    QFile svg(out.filePath(QStringLiteral("tesmira.svg")));
    if (svg.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        svg.write(ShapesToSvg(IconShapes(128), 128).toUtf8());
    } else {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        ok = false;
    }
    return ok ? 0 : 1;
}
