#pragma once
// Paints the counter's value bar as a raised 3-D strip in shades of one base colour.
// After changing baseColour the owner calls ComputeShades() and CreatePens().
#include <QColor>
#include <QPen>
#include <QRect>

class QPainter;

class C3DBar {
public:
    C3DBar();
    virtual ~C3DBar() = default;

    // light1..3 and dark1..2 step by 51 per colour part from baseColour; the shadows come
    // from the system palette.
    void ComputeShades();
    void CreatePens();
    // Draws into rect (right and bottom edges exclusive) plus a two-pixel shadow to its right.
    void Draw(QPainter& painter, const QRect& rect) const;

    QColor baseColour{255, 100, 0};
    QColor light1;
    QColor light2;
    QColor light3;
    QColor dark1;
    QColor dark2;
    QColor darkShadow;
    QColor midShadow;
    QColor shadow;

private:
    QPen basePen;
    QPen light1Pen;
    QPen light2Pen;
    QPen dark1Pen;
    QPen dark2Pen;
    QPen darkShadowPen;
    QPen midShadowPen;
    QPen shadowPen;
};
