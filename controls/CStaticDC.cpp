#include "CStaticDC.h"

#include <QPaintDevice>

namespace {
QRect TargetArea(QPainter* target, const QRect& rect) {
    if (rect != QRect()) {
        return rect;
    }
    if (target->hasClipping()) {
        return target->clipBoundingRect().toAlignedRect();
    }
    const QPaintDevice* device = target->device();
    return {0, 0, device->width(), device->height()};
}
} // namespace

CStaticDC::CStaticDC(QPainter* target, const QRect& rect)
    : targetPainter(target), area(TargetArea(target, rect)) {
    if (area.isEmpty()) {
        return; // nothing to paint, nothing to copy
    }
    const qreal ratio = target->device()->devicePixelRatioF();
    offscreen = QPixmap(area.size() * ratio);
    offscreen.setDevicePixelRatio(ratio);
    offscreen.fill(Qt::transparent);
    begin(&offscreen);
    translate(-area.topLeft());
}

CStaticDC::~CStaticDC() {
    if (!isActive()) {
        return;
    }
    end();
    targetPainter->drawPixmap(area.topLeft(), offscreen);
}
