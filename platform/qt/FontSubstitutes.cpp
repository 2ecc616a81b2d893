#include "FontSubstitutes.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutes() {
    // Zen Hei Sharp has the Chinese face's cell: 8 pixels for a Latin letter and 16 for a
    // line at 12 points, so dialog units come out the same size.
    const QStringList chinese{QStringLiteral("WenQuanYi Zen Hei Sharp"),
                              QStringLiteral("WenQuanYi Zen Hei"),
                              QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), chinese);
    QFont::insertSubstitutions(QString::fromUtf8("宋体"), chinese);
}
