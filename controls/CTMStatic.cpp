#include "CTMStatic.h"

#include <QFont>
#include <QMouseEvent>
#include <QPalette>
#include <QWindow>

CTMStatic::CTMStatic(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour);
    setPalette(colours);
}

void CTMStatic::InvalidateUnderLabel() {
    if (QWidget* parent = parentWidget()) {
        parent->update(geometry());
    } else {
        update();
    }
}

void CTMStatic::SetText(const QString& newText) {
    if (text() == newText) {
        return;
    }
    setText(newText);
    InvalidateUnderLabel();
}

void CTMStatic::SetTextColour(const QColor& colour) {
    textColour = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour);
    setPalette(colours);
    InvalidateUnderLabel();
}

void CTMStatic::SetLabelFont(int tenthsOfPoint, const QString& faceName) {
    QFont labelFont(faceName);
    labelFont.setPointSizeF(tenthsOfPoint / 10.0);
    setFont(labelFont);
    repaint();
}

void CTMStatic::mousePressEvent(QMouseEvent* event) {
    if (dragsParent != 0 && event->button() == Qt::LeftButton) {
        QWidget* top = window();
        QWindow* handle = top->windowHandle();
        if (handle == nullptr || !handle->startSystemMove()) {
            movingWindow = true;
            grabOffset = event->globalPosition().toPoint() - top->pos();
        }
        event->accept(); // keep the following moves coming to the label
        return;
    }
    QLabel::mousePressEvent(event);
}

void CTMStatic::mouseMoveEvent(QMouseEvent* event) {
    if (movingWindow) {
        window()->move(event->globalPosition().toPoint() - grabOffset);
        event->accept();
        return;
    }
    QLabel::mouseMoveEvent(event);
}

void CTMStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (movingWindow && event->button() == Qt::LeftButton) {
        movingWindow = false;
    }
    QLabel::mouseReleaseEvent(event);
}
