#pragma once
// The dialog a window is built on: its controls come from a dialog template table, laid
// out in dialog units by the dialog font; members are bound to controls by id
// (DoDataExchange); a message map table wires control notifications to handlers; timers
// are kept by id and all end in one OnTimer(id); dropped files arrive in OnDropFiles.
//
// No button is a default button: Enter presses the push button that has the focus, as the
// dialog manager does, and does nothing anywhere else (OnOK is not run for it); Esc and the
// close box end up in OnCancel. The base OnOK and OnCancel end the dialog.
#include "DialogBaseUnits.h"
#include "DialogControls.h"
#include "DialogTemplate.h"
#include "MessageBox.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <type_traits>

class QTimer;

// Results of EndDialog and DoModal, numbered as the commands they stand for (IDOK, 1, comes
// with the message boxes).
inline constexpr int IDCANCEL = 2;

// Control notifications a message map can name.
enum class Notification {
    Clicked,    // a button, check box or radio button was clicked
    EditChange, // an edit's text changed, by the user or by the program
};

// One row of a dialog's message map: control id, notification, handler of dialog class D.
template <class D> struct MessageMapEntry {
    int id;
    Notification code;
    void (D::*handler)();
};

// Connections are made with lambdas, so the class needs no meta-object of its own.
class CDialog : public QDialog {
public:
    explicit CDialog(QString templatePath, QWidget* parent = nullptr);
    ~CDialog() override;

    // Creates the controls from the template and runs OnInitDialog, without entering the
    // modal loop. False when the template cannot be read; only the first call does anything.
    bool Create();
    // Create (when not done yet), show the dialog and run its own loop until EndDialog. The
    // program's other windows (the folder browser) stay usable meanwhile.
    int DoModal();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    QString GetDlgItemText(int id) const;
    // Setting an edit's text always reports a change, as an edit control does.
    void SetDlgItemText(int id, const QString& text);

    // Starts timer id, or restarts it with the new interval when it runs already.
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;
    // The interval of a running timer, or -1.
    int TimerInterval(int id) const;
    // One tick of a running timer now, as if its interval had passed; false when timer id
    // does not run. Lets tests drive the timers without waiting.
    bool FireTimer(int id);

    // What the dialog manager makes of Enter and Esc: OnOK and OnCancel.
    void accept() override;
    void reject() override;

    // A message box owned by the dialog: OK button, the application's name as caption.
    int MessageBox(const QString& text);

    const DialogTemplate& Template() const { return dialogTemplate; }
    const DialogBaseUnits& BaseUnits() const { return baseUnits; }

protected:
    // Runs DoDataExchange; the result tells the caller whether to give the focus to the
    // first control (as it always does here).
    virtual bool OnInitDialog();
    virtual void DoDataExchange() {}
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnTimer(int id);
    // Called from the paint event; open a QPainter on the dialog there.
    virtual void OnPaint() {}
    virtual void OnDropFiles(const QStringList& files);

    // Control id is created as an instance of the dialog's own class T (declared before
    // Create). A slider class that takes an orientation gets the template's.
    template <class T> void RegisterControlClass(int id) {
        controlClasses[id] = [](const DialogControl& control, QWidget* parent) -> QWidget* {
            if constexpr (std::is_constructible_v<T, Qt::Orientation, QWidget*>) {
                return new T((control.style & StyleVertical) ? Qt::Vertical : Qt::Horizontal,
                             parent);
            } else {
                return new T(parent);
            }
        };
    }

    // Binds member to control id; false (member null) when there is no such control or it
    // is not of class T.
    template <class T> bool DDX_Control(int id, T*& member) {
        member = qobject_cast<T*>(GetDlgItem(id));
        return ReportBinding(id, member != nullptr);
    }

    // Connects every row's notification to its handler; false when a row names a missing
    // control or one that cannot send that notification.
    template <class D> bool WireMessageMap(std::span<const MessageMapEntry<D>> rows) {
        D* self = static_cast<D*>(this);
        bool all = true;
        for (const MessageMapEntry<D>& row : rows) {
            const auto handler = row.handler;
            all = WireRow(row.id, row.code, [self, handler] { (self->*handler)(); }) && all;
        }
        return all;
    }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool CreateControls();
    bool ReportBinding(int id, bool bound) const;
    bool WireRow(int id, Notification code, std::function<void()> handler);

    QString templatePath;
    DialogTemplate dialogTemplate;
    DialogBaseUnits baseUnits;
    bool created = false;
    std::map<int, ControlConstructor> controlClasses;
    std::map<int, QWidget*> controlsById;
    std::map<int, QTimer*> timers;
};
