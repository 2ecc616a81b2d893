#pragma once
// A painter on an off-screen pixmap that copies its picture to the target painter when it
// goes out of scope, so a control is drawn in one piece and never flickers. Drawing uses the
// target's coordinates: the pixmap covers `rect` of the target.
#include <QPainter>
#include <QPixmap>
#include <QRect>

class CStaticDC : public QPainter {
public:
    // An all-zero rect stands for the target's clip box (or its whole device without clip).
    CStaticDC(QPainter* target, const QRect& rect);
    ~CStaticDC();
    CStaticDC(const CStaticDC&) = delete;
    CStaticDC& operator=(const CStaticDC&) = delete;

private:
    QPixmap offscreen;
    QPainter* targetPainter;
    QRect area;
};
