#include "CTesmiraDlg.h"
#include "MessageBox.h"
#include "ProcessExit.h"

namespace {

// The dialog uses timer 1 (play position) and 2 (cut progress); all low ids are killed.
constexpr int kLastTimerId = 9;

} // namespace

// Enter must never close the window.
void CTesmiraDlg::OnOK() {}

// The "退出" button, Esc and the close box.
void CTesmiraDlg::OnCancel() {
    if (ShowMessageBox(this, QString::fromUtf8("是否退出Tesmira？"),
                       MessageBoxKind::ExitQuestion) != IDYES) {
        return; // a running cut goes on
    }
    clipJob.Stop(); // the unfinished file goes; the worker is given the time to see the stop
    for (int id = 0; id <= kLastTimerId; ++id) {
        KillTimer(id);
    }
    // Ended at once: no destructors, no unloading of the player library.
    EndProcess(0);
    CDialog::OnCancel();
}
