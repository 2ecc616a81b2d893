// Keys users of other cutters expect: Space plays or pauses, Ctrl+O opens a file, I and O
// take the play position as start and end, P prelistens the range. A text field keeps the keys it
// types with.
#include "CTesmiraDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QShortcut>

namespace {

// The player's state while it plays.
constexpr int kPlayerPlaying = 2;

} // namespace

void CTesmiraDlg::InstallKeys() {
    const auto bind = [this](const QKeySequence& keys, void (CTesmiraDlg::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler] { (this->*handler)(); });
    };
    bind(QKeySequence(Qt::Key_Space), &CTesmiraDlg::OnPlayPauseKey);
    bind(QKeySequence::Open, &CTesmiraDlg::OnSelectSource);
    bind(QKeySequence(Qt::Key_I), &CTesmiraDlg::OnSetStart);
    bind(QKeySequence(Qt::Key_O), &CTesmiraDlg::OnSetEnd);
    bind(QKeySequence(Qt::Key_P), &CTesmiraDlg::OnPrelisten);
}

// Space anywhere but in a text field, which types it. A check box or radio button still
// takes it as its own (the only key that ticks a box); push buttons are pressed with Enter.
void CTesmiraDlg::OnPlayPauseKey() {
    QWidget* focus = focusWidget();
    if (qobject_cast<QCheckBox*>(focus) || qobject_cast<QRadioButton*>(focus)) {
        static_cast<QAbstractButton*>(focus)->click();
        return;
    }
    if (!CheckSourceOpen()) {
        return;
    }
    if (player.GetState() == kPlayerPlaying) {
        player.Pause();
    } else {
        player.Play();
    }
}
