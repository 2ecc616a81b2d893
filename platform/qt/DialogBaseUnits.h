#pragma once
// Dialog units to pixels, as the dialog manager does it: a horizontal unit is a quarter of
// the dialog font's average character width, a vertical unit an eighth of its height.
#include <QFont>
#include <QRect>

struct DialogBaseUnits {
    int x = 8;  // average character width in pixels
    int y = 16; // character height in pixels

    // The average width is measured over the 52 Latin letters and rounded as the dialog
    // manager rounds it.
    static DialogBaseUnits FromFont(const QFont& font);

    // Left and top are mapped from x and y, right and bottom from x + w and y + h, so
    // neighbouring controls stay flush.
    QRect MapDialogRect(const QRect& units) const;
};

// The dialog font: face and point size turned into pixels at 96 pixels per inch, so the
// layout does not change with the screen's reported resolution.
QFont MakeDialogFont(const QString& face, int pointSize, int weight);
