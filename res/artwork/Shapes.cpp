#include "Shapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

namespace {

const QColor kTileTop(30, 58, 95);
const QColor kTileBottom(42, 122, 176);
const QColor kWave(235, 242, 250);
const QColor kCut(73, 209, 0);
const QColor kSteel(250, 250, 252);

// A blade tapering from a base of halfWidth at `from` to a point at `to`.
QPolygonF Blade(QPointF from, QPointF to, double halfWidth) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF normal(-along.y() / length * halfWidth, along.x() / length * halfWidth);
    return QPolygonF({from + normal, to, from - normal});
}

Shape Filled(Shape::Kind kind, QRectF bounds, QColor colour) {
    Shape shape;
    shape.kind = kind;
    shape.bounds = bounds;
    shape.colour = colour;
    return shape;
}

void AddWaveform(std::vector<Shape>& shapes, double s) {
    static constexpr double kHalfHeights[11] = {10, 18, 30, 22, 38, 44, 34, 26, 40, 20, 12};
    const double centre = 82 * s;
    for (int i = 0; i < 11; ++i) {
        const double x = (21 + 8.4 * i) * s;
        const double h = kHalfHeights[i] * 0.7 * s;
        Shape bar = Filled(Shape::Kind::RoundedRect, QRectF(x, centre - h, 5 * s, 2 * h),
                           i >= 4 && i <= 7 ? kCut : kWave);
        bar.radius = 2 * s;
        shapes.push_back(bar);
    }
}

void AddScissors(std::vector<Shape>& shapes, double s) {
    for (double y : {26.0, 48.0}) {
        Shape ring = Filled(Shape::Kind::Ring, QRectF(26 * s, (y - 9) * s, 18 * s, 18 * s), kSteel);
        ring.lineWidth = 4.5 * s;
        shapes.push_back(ring);
    }
    Shape upper;
    upper.points = Blade(QPointF(42 * s, 29 * s), QPointF(106 * s, 47 * s), 4 * s);
    upper.colour = kSteel;
    Shape lower = upper;
    lower.points = Blade(QPointF(42 * s, 45 * s), QPointF(106 * s, 27 * s), 4 * s);
    shapes.push_back(upper);
    shapes.push_back(lower);
    shapes.push_back(Filled(Shape::Kind::Disc, QRectF(70 * s, 34 * s, 6 * s, 6 * s), kTileTop));
}

QString SvgColour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

QString SvgPoints(const QPolygonF& points) {
    QStringList parts;
    for (const QPointF& p : points) {
        parts << QStringLiteral("%1,%2").arg(p.x(), 0, 'f', 2).arg(p.y(), 0, 'f', 2);
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

std::vector<Shape> IconShapes(double size) {
    const double s = size / 128.0;
    std::vector<Shape> shapes;
    Shape tile = Filled(Shape::Kind::RoundedRect, QRectF(6 * s, 6 * s, 116 * s, 116 * s), kTileTop);
    tile.radius = 24 * s;
    tile.bottomColour = kTileBottom;
    shapes.push_back(tile);
    AddWaveform(shapes, s);
    AddScissors(shapes, s);
    return shapes;
}

void PaintShapes(QPainter& painter, const std::vector<Shape>& shapes) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shape& shape : shapes) {
        QBrush brush(shape.colour);
        if (shape.bottomColour.isValid()) {
            QLinearGradient gradient(shape.bounds.topLeft(), shape.bounds.bottomLeft());
            gradient.setColorAt(0, shape.colour);
            gradient.setColorAt(1, shape.bottomColour);
            brush = QBrush(gradient);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(brush);
        switch (shape.kind) {
        case Shape::Kind::RoundedRect:
            painter.drawRoundedRect(shape.bounds, shape.radius, shape.radius);
            break;
        case Shape::Kind::Disc:
            painter.drawEllipse(shape.bounds);
            break;
        case Shape::Kind::Ring:
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(shape.colour, shape.lineWidth));
            painter.drawEllipse(shape.bounds);
            break;
        case Shape::Kind::Polygon:
            painter.drawPolygon(shape.points);
            break;
        }
    }
}

QString ShapesToSvg(const std::vector<Shape>& shapes, int size) {
    QString defs;
    QString body;
    int gradients = 0;
    for (const Shape& shape : shapes) {
        QString fill = SvgColour(shape.colour);
        if (shape.bottomColour.isValid()) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs +=
                QStringLiteral("    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
                               "<stop offset=\"0\" stop-color=\"%2\"/>"
                               "<stop offset=\"1\" stop-color=\"%3\"/></linearGradient>\n")
                    .arg(id, SvgColour(shape.colour), SvgColour(shape.bottomColour));
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        const QRectF& b = shape.bounds;
        const QPointF c = b.center();
        switch (shape.kind) {
        case Shape::Kind::RoundedRect:
            body += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                                   "fill=\"%6\"/>\n")
                        .arg(b.x())
                        .arg(b.y())
                        .arg(b.width())
                        .arg(b.height())
                        .arg(shape.radius)
                        .arg(fill);
            break;
        case Shape::Kind::Disc:
            body += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                        .arg(c.x())
                        .arg(c.y())
                        .arg(b.width() / 2)
                        .arg(fill);
            break;
        case Shape::Kind::Ring:
            body += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" "
                                   "stroke=\"%4\" stroke-width=\"%5\"/>\n")
                        .arg(c.x())
                        .arg(c.y())
                        .arg(b.width() / 2)
                        .arg(fill)
                        .arg(shape.lineWidth);
            break;
        case Shape::Kind::Polygon:
            body += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\"/>\n")
                        .arg(SvgPoints(shape.points), fill);
            break;
        }
    }
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n  <defs>\n%2  </defs>\n%3</svg>\n")
        .arg(size)
        .arg(defs, body);
}
