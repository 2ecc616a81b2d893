#include "DialogControls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

// A new trackbar spans 0 to 100.
constexpr int kTrackbarMaximum = 100;

void ApplySlider(QSlider* slider, const DialogControl& control) {
    const Qt::Orientation orientation =
        (control.style & StyleVertical) ? Qt::Vertical : Qt::Horizontal;
    // Classes of our own may arrange a vertical slider differently; leave them be when the
    // orientation already fits.
    if (slider->orientation() != orientation) {
        slider->setOrientation(orientation);
    }
    slider->setRange(0, kTrackbarMaximum);
    if (control.style & StyleNoTicks) {
        slider->setTickPosition(QSlider::NoTicks);
    } else if (control.style & StyleAutoTicks) {
        slider->setTickPosition((control.style & StyleBothSides) ? QSlider::TicksBothSides
                                                                 : QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
}

void ApplyLabel(QLabel* label, const DialogControl& control) {
    label->setText(control.text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment((control.style & StyleCentre) ? (Qt::AlignHCenter | Qt::AlignTop)
                                                      : (Qt::AlignLeft | Qt::AlignTop));
}

} // namespace

QWidget* CreateStandardControl(const DialogControl& control, QWidget* parent) {
    switch (control.kind) {
    case ControlKind::Edit:
        return new QLineEdit(parent);
    case ControlKind::PushButton:
        return new QPushButton(parent);
    case ControlKind::CheckBox:
        return new QCheckBox(parent);
    case ControlKind::RadioButton:
        return new QRadioButton(parent);
    case ControlKind::Static:
        return new QLabel(parent);
    case ControlKind::Trackbar:
        return new QSlider(parent);
    case ControlKind::Progress:
        return new QProgressBar(parent);
    }
    return new QWidget(parent);
}

void ApplyControlTemplate(QWidget* widget, const DialogControl& control) {
    widget->setObjectName(control.name);
    widget->setProperty(kControlIdProperty, control.id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(control.text);
        edit->setReadOnly(control.style & StyleReadOnly);
        edit->setFrame(control.style & StyleBorder);
        if (control.style & StyleReadOnly) {
            // A read-only edit sits on the dialog's own colour, like a static text.
            QPalette colours = edit->palette();
            colours.setColor(QPalette::Base, colours.color(QPalette::Window));
            edit->setPalette(colours);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(control.text);
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            push->setAutoDefault(false);
            push->setDefault(false);
            push->setFlat(control.style & StyleFlat);
            if (control.style & StyleFlat) {
                // A flat button draws no frame, and so no focus mark either; the keyboard's
                // button gets a dotted frame, as a flat button with the focus does.
                push->setStyleSheet(
                    QStringLiteral("QPushButton:focus { border: 1px dotted palette(text); }"));
            }
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        ApplyLabel(label, control);
    } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
        ApplySlider(slider, control);
    } else if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
    }
    // Hidden controls are created hidden and nothing shows them; the others appear with
    // the dialog.
    if (!control.shown) {
        widget->hide();
    }
}

QString GetControlText(const QWidget* widget) {
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    return QString();
}

void SetControlText(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // An edit reports a change whenever the program sets its text, even the same text
        // again; QLineEdit keeps quiet then, so the report is made here.
        if (edit->text() == text) {
            Q_EMIT edit->textChanged(text);
        } else {
            edit->setText(text);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    }
}
