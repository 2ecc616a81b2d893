#include "C3DBar.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <initializer_list>

namespace {

// A part too close to the end stays as it is rather than being clamped.
int Lighten(int v) {
    return v + 51 <= 255 ? v + 51 : v;
}
int Darken(int v) {
    return v >= 51 ? v - 51 : v;
}

QColor Lighten(const QColor& c) {
    return {Lighten(c.red()), Lighten(c.green()), Lighten(c.blue())};
}
QColor Darken(const QColor& c) {
    return {Darken(c.red()), Darken(c.green()), Darken(c.blue())};
}

int Midway(int shadowPart, int darkPart) {
    return shadowPart + ((darkPart - shadowPart) >> 1);
}

QPen OnePixelPen(const QColor& colour) {
    QPen pen(colour);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}

// A one-pixel line from a to b with b itself left out, as the bar's outline expects;
// every line of the bar is horizontal or vertical.
void LineTo(QPainter& painter, QPoint a, QPoint b) {
    if (a == b) {
        return;
    }
    const QPoint step((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
    painter.drawLine(a, b - step);
}

void Polyline(QPainter& painter, std::initializer_list<QPoint> points) {
    const QPoint* previous = nullptr;
    for (const QPoint& point : points) {
        if (previous != nullptr) {
            LineTo(painter, *previous, point);
        }
        previous = &point;
    }
}

void Pixel(QPainter& painter, int x, int y, const QColor& colour) {
    painter.fillRect(x, y, 1, 1, colour);
}

} // namespace

C3DBar::C3DBar() {
    ComputeShades();
    CreatePens();
}

void C3DBar::ComputeShades() {
    light1 = Lighten(baseColour);
    light2 = Lighten(light1);
    light3 = Lighten(light2);
    dark1 = Darken(baseColour);
    dark2 = Darken(dark1);
    const QPalette palette = QGuiApplication::palette();
    // Kept to 8 bits per part like every other shade.
    darkShadow = QColor(palette.color(QPalette::Shadow).rgb());
    shadow = QColor(palette.color(QPalette::Dark).rgb());
    midShadow =
        QColor(Midway(shadow.red(), darkShadow.red()), Midway(shadow.green(), darkShadow.green()),
               Midway(shadow.blue(), darkShadow.blue()));
}

void C3DBar::CreatePens() {
    basePen = OnePixelPen(baseColour);
    light1Pen = OnePixelPen(light1);
    light2Pen = OnePixelPen(light2);
    dark1Pen = OnePixelPen(dark1);
    dark2Pen = OnePixelPen(dark2);
    darkShadowPen = OnePixelPen(darkShadow);
    midShadowPen = OnePixelPen(midShadow);
    shadowPen = OnePixelPen(shadow);
}

void C3DBar::Draw(QPainter& painter, const QRect& rect) const {
    const int l0 = rect.left();
    const int t = rect.top();
    const int r = rect.left() + rect.width();
    const int b = rect.top() + rect.height();
    if (r == l0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, light3);

    painter.setPen(light1Pen);
    LineTo(painter, {l0 + 2, b - 4}, {r - 2, b - 4});
    LineTo(painter, {l0 + 2, t + 2}, {r - 2, t + 2});
    Pixel(painter, l0 + 1, b - 3, light1);
    Pixel(painter, l0 + 1, t + 1, light1);

    painter.setPen(light2Pen);
    Polyline(painter, {{l0 + 2, b - 5}, {r - 3, b - 5}, {r - 3, t + 3}, {l0 + 1, t + 3}});
    Pixel(painter, l0 + 1, b - 4, light2);
    Pixel(painter, l0 + 1, t + 2, light2);

    painter.setPen(basePen);
    Polyline(painter, {{l0, b - 1}, {l0, t}, {l0 + 2, t}});
    Pixel(painter, l0 + 1, b - 2, baseColour);
    LineTo(painter, {l0 + 2, b - 3}, {r - 2, b - 3});
    LineTo(painter, {l0 + 2, t + 1}, {r - 1, t + 1});

    painter.setPen(dark1Pen);
    Polyline(painter, {{l0 + 2, b - 2}, {r - 2, b - 2}, {r - 2, t + 1}});
    LineTo(painter, {l0 + 2, t}, {r, t});
    Pixel(painter, l0 + 1, b - 1, dark1);

    painter.setPen(dark2Pen);
    Polyline(painter, {{l0 + 2, b - 1}, {r - 1, b - 1}, {r - 1, t}});

    // A two-pixel shadow right of the bar.
    painter.setPen(midShadowPen);
    LineTo(painter, {r, t}, {r, b});
    painter.setPen(shadowPen);
    LineTo(painter, {r + 1, t}, {r + 1, b});
    painter.restore();
}
