#include "PathField.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

namespace {

// What the field has for text: its width less the frame and the line edit's own margins.
int TextWidth(const QLineEdit* field) {
    const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
    const QMargins margins = field->textMargins();
    return std::max(field->width() - 2 * frame - margins.left() - margins.right() - 6, 1);
}

} // namespace

QString FitPath(const QLineEdit* field, const QString& path) {
    const QFontMetrics metrics = field->fontMetrics();
    const int width = TextWidth(field);
    if (metrics.horizontalAdvance(path) <= width) {
        return path;
    }
    const QString name = QFileInfo(path).fileName();
    const QString folder = path.left(path.size() - name.size());
    const int nameWidth = metrics.horizontalAdvance(name);
    const int ellipsis = metrics.horizontalAdvance(QString(QChar(0x2026)));
    if (nameWidth + ellipsis >= width) {
        // Not even the name fits: its middle gives way, its start and extension stay.
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    }
    return metrics.elidedText(folder, Qt::ElideMiddle, width - nameWidth) + name;
}

void ShowPathInField(QLineEdit* field, const QString& path) {
    field->setText(FitPath(field, path));
    field->setCursorPosition(0); // a text that still scrolls shows its start
    field->setToolTip(path);
}
