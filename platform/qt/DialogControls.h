#pragma once
// Widgets for the rows of a dialog template: which Qt widget stands for which kind of
// control, and how the row's text, style and visibility are put on it.
//
//   edit      QLineEdit       readonly -> read-only; no border -> no frame
//   button    QPushButton     never a default button, so Enter clicks nothing; flat
//   checkbox  QCheckBox
//   radio     QRadioButton
//   static    QLabel          left and top aligned, or centred; words wrap
//   trackbar  QSlider         range 0 to 100 as a new trackbar has; vert; ticks
//   progress  QProgressBar    range 0 to 100, no text
#include "DialogTemplate.h"

#include <QWidget>
#include <functional>

// Builds the widget for one row: a class of the dialog's own (already parented), or nullptr
// to take the standard widget of the row's kind.
using ControlConstructor = std::function<QWidget*(const DialogControl& control, QWidget* parent)>;

QWidget* CreateStandardControl(const DialogControl& control, QWidget* parent);

// Puts text, style and visibility of the row on a widget of the row's kind (or a class
// derived from it), and names it after the row. Geometry is the dialog's business.
void ApplyControlTemplate(QWidget* widget, const DialogControl& control);

// The window text of a control, as the dialog reads and writes it: the text of an edit,
// a button or a static; empty for the others. Setting an edit's text always reports a
// change (textChanged), also when the text stays the same.
QString GetControlText(const QWidget* widget);
void SetControlText(QWidget* widget, const QString& text);

// Name of the widget property that carries the control id.
inline constexpr const char* kControlIdProperty = "controlId";
