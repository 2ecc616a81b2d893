#include "CTesmiraDlg.h"
#include "ControlIds.h"

// Which control notification goes to which handler, in the order the window was designed
// with; the fades' boxes and fields update the length label. Clicks on 1045 have no handler.
std::span<const MessageMapEntry<CTesmiraDlg>> CTesmiraDlg::MessageMap() {
    static const MessageMapEntry<CTesmiraDlg> rows[] = {
        {IDC_BTN_PLAY, Notification::Clicked, &CTesmiraDlg::OnPlay},
        {IDC_BTN_SELECT_SOURCE, Notification::Clicked, &CTesmiraDlg::OnSelectSource},
        {IDC_BTN_PAUSE, Notification::Clicked, &CTesmiraDlg::OnPause},
        {IDC_BTN_STOP, Notification::Clicked, &CTesmiraDlg::OnStop},
        {IDC_BTN_SET_START, Notification::Clicked, &CTesmiraDlg::OnSetStart},
        {IDC_BTN_SET_END, Notification::Clicked, &CTesmiraDlg::OnSetEnd},
        {IDC_BTN_START_CUT, Notification::Clicked, &CTesmiraDlg::OnStartCut},
        {IDC_BTN_OPEN_SAVE_FOLDER, Notification::Clicked, &CTesmiraDlg::OnOpenSaveFolder},
        {IDC_BTN_SET_SAVE_FOLDER, Notification::Clicked, &CTesmiraDlg::OnSetSaveFolder},
        {IDC_EDIT_START, Notification::EditChange, &CTesmiraDlg::OnStartEditChanged},
        {IDC_EDIT_END, Notification::EditChange, &CTesmiraDlg::OnEndEditChanged},
        {IDC_CHECK_FADE_IN, Notification::Clicked, &CTesmiraDlg::OnFadeChanged},
        {IDC_CHECK_FADE_OUT, Notification::Clicked, &CTesmiraDlg::OnFadeChanged},
        {IDC_EDIT_FADE_IN, Notification::EditChange, &CTesmiraDlg::OnFadeChanged},
        {IDC_EDIT_FADE_OUT, Notification::EditChange, &CTesmiraDlg::OnFadeChanged},
        {IDC_RADIO_CUSTOM_RANGE, Notification::Clicked, &CTesmiraDlg::OnCustomRangeMode},
        {IDC_RADIO_WHOLE_SOURCE, Notification::Clicked, &CTesmiraDlg::OnWholeSourceMode},
        {IDC_BTN_SPEED_PLUS, Notification::Clicked, &CTesmiraDlg::OnSpeedPlus},
        {IDC_BTN_PITCH_PLUS, Notification::Clicked, &CTesmiraDlg::OnPitchPlus},
        {IDC_BTN_PITCH_MINUS, Notification::Clicked, &CTesmiraDlg::OnPitchMinus},
        {IDC_BTN_SPEED_MINUS, Notification::Clicked, &CTesmiraDlg::OnSpeedMinus},
        {IDC_BTN_MAKER_PAGE, Notification::Clicked, &CTesmiraDlg::OnMakerPage},
        {IDC_BTN_PRELISTEN, Notification::Clicked, &CTesmiraDlg::OnPrelisten},
        {IDC_BTN_LISTEN_HEAD, Notification::Clicked, &CTesmiraDlg::OnListenHead},
        {IDC_BTN_LISTEN_TAIL, Notification::Clicked, &CTesmiraDlg::OnListenTail},
        {IDCANCEL, Notification::Clicked, &CTesmiraDlg::OnCancel},
    };
    return rows;
}

void CTesmiraDlg::WireMessages() {
    WireMessageMap(MessageMap());
}
