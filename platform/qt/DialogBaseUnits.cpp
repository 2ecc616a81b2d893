#include "DialogBaseUnits.h"

#include <QFontMetrics>

namespace {

constexpr int kLogicalDpi = 96;

int MulDiv(int number, int numerator, int denominator) {
    // Rounded to the nearest, halves away from zero, as the platform's MulDiv does.
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

} // namespace

DialogBaseUnits DialogBaseUnits::FromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.x = (width / 26 + 1) / 2;
    units.y = metrics.height();
    if (units.x <= 0 || units.y <= 0) {
        return DialogBaseUnits{};
    }
    return units;
}

QRect DialogBaseUnits::MapDialogRect(const QRect& units) const {
    const int left = MulDiv(units.x(), x, 4);
    const int top = MulDiv(units.y(), y, 8);
    const int right = MulDiv(units.x() + units.width(), x, 4);
    const int bottom = MulDiv(units.y() + units.height(), y, 8);
    return QRect(left, top, right - left, bottom - top);
}

QFont MakeDialogFont(const QString& face, int pointSize, int weight) {
    QFont font(face);
    font.setPixelSize(MulDiv(pointSize, kLogicalDpi, 72));
    // The template's weights run from 100 to 900, as do Qt's.
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}
