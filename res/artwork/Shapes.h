#pragma once
// The icon described once as simple shapes, so the same picture becomes a PNG (through
// QPainter) and a scalable SVG.
#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

struct Shape {
    enum class Kind { RoundedRect, Ring, Disc, Polygon };
    Kind kind = Kind::Polygon;
    QRectF bounds;        // rounded rectangle, ring and disc
    double radius = 0;    // corner radius of a rounded rectangle
    double lineWidth = 0; // stroke of a ring
    QPolygonF points;     // polygon
    QColor colour;
    QColor bottomColour; // valid: a vertical gradient from colour down to bottomColour
};

// The program icon on a size x size canvas: a rounded tile, an open pair of scissors over a
// waveform whose middle part (the piece being cut) is green.
std::vector<Shape> IconShapes(double size);

void PaintShapes(QPainter& painter, const std::vector<Shape>& shapes);

QString ShapesToSvg(const std::vector<Shape>& shapes, int size);
