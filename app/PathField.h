#pragma once
// Paths in the window's one-line fields, which are far narrower than a long path.
class QLineEdit;
class QString;

// The path as it fits into the field: the whole file name, the folder part shortened with "…"
// where needed (whole characters only), the full path as the tool tip.
QString FitPath(const QLineEdit* field, const QString& path);
// Shows path so in the field (an empty path empties it and its tool tip).
void ShowPathInField(QLineEdit* field, const QString& path);
