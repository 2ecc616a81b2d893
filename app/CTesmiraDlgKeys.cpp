// Keys users of other cutters expect: Space plays or pauses, Ctrl+O opens a file, I and O
// take the play position as start and end, P prelistens the range. Space reaches the focused
// control first: a button is pressed with it and a text field types it, as in any dialog;
// only what no control takes plays or pauses.
#include "CTesmiraDlg.h"

#include <QKeyEvent>
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
    bind(QKeySequence::Open, &CTesmiraDlg::OnSelectSource);
    bind(QKeySequence(Qt::Key_I), &CTesmiraDlg::OnSetStart);
    bind(QKeySequence(Qt::Key_O), &CTesmiraDlg::OnSetEnd);
    bind(QKeySequence(Qt::Key_P), &CTesmiraDlg::OnPrelisten);
}

// Space left over by the focused control (the sliders leave it), or with no control focused.
void CTesmiraDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            OnPlayPauseKey();
        }
        event->accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CTesmiraDlg::OnPlayPauseKey() {
    if (!CheckSourceOpen()) {
        return;
    }
    if (player.GetState() == kPlayerPlaying) {
        player.Pause();
    } else {
        StartPlayback();
    }
}
