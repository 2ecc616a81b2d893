#include "CTesmiraDlg.h"
#include "ControlIds.h"

// Which control notification goes to which handler, in the order the window was designed
// with. Clicks on the check boxes 1041 and 1045 have no handler.
std::span<const MessageMapEntry<CTesmiraDlg>> CTesmiraDlg::MessageMap() {
    static const MessageMapEntry<CTesmiraDlg> rows[] = {
        {IDC_BTN_SELECT_SOURCE, Notification::Clicked, &CTesmiraDlg::OnSelectSource},
        {IDC_BTN_OPEN_SAVE_FOLDER, Notification::Clicked, &CTesmiraDlg::OnOpenSaveFolder},
        {IDC_BTN_SET_SAVE_FOLDER, Notification::Clicked, &CTesmiraDlg::OnSetSaveFolder},
        {IDC_BTN_MAKER_PAGE, Notification::Clicked, &CTesmiraDlg::OnMakerPage},
        {IDCANCEL, Notification::Clicked, &CTesmiraDlg::OnCancel},
    };
    return rows;
}

void CTesmiraDlg::WireMessages() {
    WireMessageMap(MessageMap());
}
