#pragma once
// A text label without a background of its own: its text is drawn in the chosen font and
// colour over whatever the dialog painted beneath it. It can let the user move the whole
// window by dragging it.
#include <QColor>
#include <QLabel>
#include <QPoint>

class CTMStatic : public QLabel {
    Q_OBJECT
public:
    explicit CTMStatic(QWidget* parent = nullptr);

    // Changes the text and repaints the dialog beneath the label; an unchanged text
    // (compared exactly) repaints nothing, so a per-tick update costs nothing when idle.
    void SetText(const QString& newText);
    void SetTextColour(const QColor& colour);
    // Size in tenths of a point, as 260 for 26 points.
    void SetLabelFont(int tenthsOfPoint, const QString& faceName);

    int dragsParent = 0; // nonzero: a left press on the label moves its window
    QColor textColour{0, 0, 0};

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void InvalidateUnderLabel();

    // Used where the window system cannot move the window itself.
    bool movingWindow = false;
    QPoint grabOffset;
};
