#pragma once
// A dialog template kept as a text table: the dialog's size, font and title, then one row
// per control with its id, kind, text, position in dialog units, visibility and style.
//
// The table's lines (blank lines and lines starting with '#' are skipped; fields are
// separated by white space, a text with spaces or an empty text is written in double
// quotes, and "\"" stands for a quote inside one):
//
//   DIALOG <id> <width> <height> <font face> <point size> <weight> <flags> <title>
//   <id> <name> <kind> <text> <x> <y> <w> <h> <shown|hidden> <styles>
//
// The id and name of a control that is never addressed are "-"; styles and flags are
// words joined by '|' ("-" for none).
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

enum class ControlKind { Edit, PushButton, CheckBox, RadioButton, Static, Trackbar, Progress };

// Styles as the table names them.
enum ControlStyle : unsigned {
    StyleBorder = 1u << 0,      // "border"
    StyleAutoHScroll = 1u << 1, // "autohscroll"
    StyleReadOnly = 1u << 2,    // "readonly"
    StyleVertical = 1u << 3,    // "vert": trackbar standing upright
    StyleNoTicks = 1u << 4,     // "noticks"
    StyleAutoTicks = 1u << 5,   // "autoticks": a tick at every position
    StyleBothSides = 1u << 6,   // "both": ticks on both sides
    StyleSelRange = 1u << 7,    // "selrange"
    StyleCentre = 1u << 8,      // "center": centred static text
    StyleNotify = 1u << 9,      // "notify"
    StyleGroup = 1u << 10,      // "group": starts a group of radio buttons
    StyleFlat = 1u << 11,       // "flat" push button
};

// The id of controls the program never addresses.
constexpr int kStaticControlId = -1;

struct DialogControl {
    int id = kStaticControlId;
    QString name; // object name of the widget
    ControlKind kind = ControlKind::Static;
    QString text;
    QRect units; // x, y, width, height in dialog units
    bool shown = true;
    unsigned style = 0;
};

struct DialogTemplate {
    int id = 0;
    QString title;
    QString fontFace;
    int pointSize = 9;
    int fontWeight = 400;
    int width = 0; // dialog units
    int height = 0;
    bool acceptFiles = false; // files may be dropped on the window
    std::vector<DialogControl> controls;

    // The control with this id, or nullptr.
    const DialogControl* Find(int controlId) const;

    // Reads a table; on a malformed line returns nothing and names the line in error.
    static std::optional<DialogTemplate> Parse(const QString& text, QString* error = nullptr);
    // Reads a table from a file or a Qt resource path.
    static std::optional<DialogTemplate> Load(const QString& path, QString* error = nullptr);
};
