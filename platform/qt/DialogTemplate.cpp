#include "DialogTemplate.h"

#include <QFile>
#include <QStringList>
#include <utility>

namespace {

const std::pair<const char*, ControlKind> kKinds[] = {
    {"edit", ControlKind::Edit},         {"button", ControlKind::PushButton},
    {"checkbox", ControlKind::CheckBox}, {"radio", ControlKind::RadioButton},
    {"static", ControlKind::Static},     {"trackbar", ControlKind::Trackbar},
    {"progress", ControlKind::Progress},
};

const std::pair<const char*, unsigned> kStyles[] = {
    {"border", StyleBorder},     {"autohscroll", StyleAutoHScroll},
    {"readonly", StyleReadOnly}, {"vert", StyleVertical},
    {"noticks", StyleNoTicks},   {"autoticks", StyleAutoTicks},
    {"both", StyleBothSides},    {"selrange", StyleSelRange},
    {"center", StyleCentre},     {"notify", StyleNotify},
    {"group", StyleGroup},       {"flat", StyleFlat},
};

// Splits a line into fields; a quoted field may be empty or hold spaces. False when a
// quote is left open.
bool SplitFields(const QString& line, QStringList& fields) {
    int i = 0;
    const int n = static_cast<int>(line.size());
    while (i < n) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        QString field;
        if (line[i] == QLatin1Char('"')) {
            ++i;
            bool closed = false;
            while (i < n && !closed) {
                if (line[i] == QLatin1Char('\\') && i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    i += 2;
                } else if (line[i] == QLatin1Char('"')) {
                    closed = true;
                    ++i;
                } else {
                    field += line[i++];
                }
            }
            if (!closed) {
                return false;
            }
        } else {
            while (i < n && !line[i].isSpace()) {
                field += line[i++];
            }
        }
        fields.push_back(field);
    }
    return true;
}

bool ToInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

bool ToStyle(const QString& text, unsigned& style) {
    style = 0;
    if (text == QLatin1String("-")) {
        return true;
    }
    for (const QString& word : text.split(QLatin1Char('|'))) {
        bool known = false;
        for (const auto& [name, bit] : kStyles) {
            if (word == QLatin1String(name)) {
                style |= bit;
                known = true;
            }
        }
        if (!known) {
            return false;
        }
    }
    return true;
}

bool ParseDialogLine(const QStringList& f, DialogTemplate& dialog) {
    // DIALOG id width height face size weight flags title
    if (f.size() != 9 || !ToInt(f[1], dialog.id) || !ToInt(f[2], dialog.width) ||
        !ToInt(f[3], dialog.height) || !ToInt(f[5], dialog.pointSize) ||
        !ToInt(f[6], dialog.fontWeight)) {
        return false;
    }
    dialog.fontFace = f[4];
    if (f[7] != QLatin1String("-") && f[7] != QLatin1String("acceptfiles")) {
        return false;
    }
    dialog.acceptFiles = f[7] == QLatin1String("acceptfiles");
    dialog.title = f[8];
    return true;
}

bool ParseControlLine(const QStringList& f, DialogControl& control) {
    // id name kind text x y w h shown style
    if (f.size() != 10) {
        return false;
    }
    if (f[0] != QLatin1String("-") && !ToInt(f[0], control.id)) {
        return false;
    }
    control.name = f[1] == QLatin1String("-") ? QString() : f[1];
    bool kindKnown = false;
    for (const auto& [name, kind] : kKinds) {
        if (f[2] == QLatin1String(name)) {
            control.kind = kind;
            kindKnown = true;
        }
    }
    int x = 0, y = 0, w = 0, h = 0;
    if (!kindKnown || !ToInt(f[4], x) || !ToInt(f[5], y) || !ToInt(f[6], w) || !ToInt(f[7], h)) {
        return false;
    }
    control.text = f[3];
    control.units = QRect(x, y, w, h);
    if (f[8] != QLatin1String("shown") && f[8] != QLatin1String("hidden")) {
        return false;
    }
    control.shown = f[8] == QLatin1String("shown");
    return ToStyle(f[9], control.style);
}

} // namespace

const DialogControl* DialogTemplate::Find(int controlId) const {
    for (const DialogControl& control : controls) {
        if (control.id == controlId && controlId != kStaticControlId) {
            return &control;
        }
    }
    return nullptr;
}

std::optional<DialogTemplate> DialogTemplate::Parse(const QString& text, QString* error) {
    DialogTemplate dialog;
    bool haveHeader = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        QStringList fields;
        bool ok = SplitFields(line, fields);
        if (ok && fields[0] == QLatin1String("DIALOG")) {
            ok = !haveHeader && ParseDialogLine(fields, dialog);
            haveHeader = true;
        } else if (ok) {
            DialogControl control;
            ok = haveHeader && ParseControlLine(fields, control);
            dialog.controls.push_back(control);
        }
        if (!ok) {
            if (error) {
                *error = QStringLiteral("line %1: %2").arg(number).arg(line);
            }
            return std::nullopt;
        }
    }
    if (!haveHeader) {
        if (error) {
            *error = QStringLiteral("no DIALOG line");
        }
        return std::nullopt;
    }
    return dialog;
}

std::optional<DialogTemplate> DialogTemplate::Load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("cannot read %1").arg(path);
        }
        return std::nullopt;
    }
    return Parse(QString::fromUtf8(file.readAll()), error);
}
