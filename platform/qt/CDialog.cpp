#include "CDialog.h"

#include "FontSubstitutes.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

namespace {

// Local files among the dragged URLs, in their order.
QStringList LocalFiles(const QMimeData* mime) {
    QStringList files;
    if (mime == nullptr || !mime->hasUrls()) {
        return files;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) {
            files.push_back(url.toLocalFile());
        }
    }
    return files;
}

} // namespace

CDialog::CDialog(QString path, QWidget* parent) : QDialog(parent), templatePath(std::move(path)) {
    // Pop-up with caption, window menu, minimise box and close box, not resizable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

CDialog::~CDialog() = default;

bool CDialog::Create() {
    if (created) {
        return true;
    }
    QString error;
    std::optional<DialogTemplate> loaded = DialogTemplate::Load(templatePath, &error);
    if (!loaded) {
        qCritical("dialog template %s: %s", qPrintable(templatePath), qPrintable(error));
        return false;
    }
    dialogTemplate = std::move(*loaded);
    created = true;
    setWindowTitle(dialogTemplate.title);
    InstallFontSubstitutes();
    setFont(MakeDialogFont(dialogTemplate.fontFace, dialogTemplate.pointSize,
                           dialogTemplate.fontWeight));
    baseUnits = DialogBaseUnits::FromFont(font());
    resize(
        baseUnits.MapDialogRect(QRect(0, 0, dialogTemplate.width, dialogTemplate.height)).size());
    setAcceptDrops(dialogTemplate.acceptFiles);
    if (!CreateControls()) {
        return false;
    }
    // When OnInitDialog leaves the focus alone, Qt gives it to the first control in the tab
    // order that takes it once the window is shown, as the dialog manager does.
    OnInitDialog();
    return true;
}

bool CDialog::CreateControls() {
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = nullptr;
        const auto custom = controlClasses.find(control.id);
        if (custom != controlClasses.end() && control.id != kStaticControlId) {
            widget = custom->second(control, this);
        }
        if (widget == nullptr) {
            widget = CreateStandardControl(control, this);
        }
        ApplyControlTemplate(widget, control);
        widget->setGeometry(baseUnits.MapDialogRect(control.units));
        if (control.id != kStaticControlId) {
            if (controlsById.count(control.id) != 0) {
                qCritical("dialog template %s: control id %d used twice", qPrintable(templatePath),
                          control.id);
                return false;
            }
            controlsById[control.id] = widget;
        }
    }
    return true;
}

int CDialog::DoModal() {
    // The loop is the dialog's own, but the dialog blocks no other window: the folder
    // browser has no owner and must take the mouse and keys while it is open.
    QEventLoop loop;
    bool ended = false;
    connect(this, &QDialog::finished, &loop, [&ended, &loop] {
        ended = true;
        loop.quit();
    });
    if (!Create()) {
        return -1;
    }
    if (!ended) { // OnInitDialog may have ended it already
        show();
        loop.exec(QEventLoop::DialogExec);
    }
    return result();
}

void CDialog::EndDialog(int result) {
    done(result);
}

bool CDialog::OnInitDialog() {
    DoDataExchange();
    return true;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnTimer(int) {}

void CDialog::OnDropFiles(const QStringList&) {}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = controlsById.find(id);
    return found == controlsById.end() ? nullptr : found->second;
}

QString CDialog::GetDlgItemText(int id) const {
    const QWidget* widget = GetDlgItem(id);
    return widget ? GetControlText(widget) : QString();
}

void CDialog::SetDlgItemText(int id, const QString& text) {
    if (QWidget* widget = GetDlgItem(id)) {
        SetControlText(widget, text);
    }
}

void CDialog::SetTimer(int id, int intervalMs) {
    QTimer*& timer = timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(intervalMs);
}

void CDialog::KillTimer(int id) {
    const auto found = timers.find(id);
    if (found != timers.end()) {
        found->second->stop();
        found->second->deleteLater();
        timers.erase(found);
    }
}

bool CDialog::IsTimerRunning(int id) const {
    const auto found = timers.find(id);
    return found != timers.end() && found->second->isActive();
}

int CDialog::TimerInterval(int id) const {
    return IsTimerRunning(id) ? timers.at(id)->interval() : -1;
}

bool CDialog::FireTimer(int id) {
    if (!IsTimerRunning(id)) {
        return false;
    }
    OnTimer(id);
    return true;
}

int CDialog::MessageBox(const QString& text) {
    return ShowMessageBox(this, text);
}

bool CDialog::ReportBinding(int id, bool bound) const {
    if (!bound) {
        qCritical("dialog template %s: control %d is missing or of another class",
                  qPrintable(templatePath), id);
    }
    return bound;
}

bool CDialog::WireRow(int id, Notification code, std::function<void()> handler) {
    QWidget* widget = GetDlgItem(id);
    if (code == Notification::Clicked) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [handler] { handler(); });
            return true;
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this, [handler] { handler(); });
        return true;
    }
    qCritical("message map of %s: control %d cannot send that notification",
              qPrintable(templatePath), id);
    return false;
}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // As the dialog manager does for the push button that has the focus.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::closeEvent(QCloseEvent* event) {
    // The close box is the cancel command; the dialog ends only if OnCancel ends it.
    event->ignore();
    OnCancel();
}

void CDialog::paintEvent(QPaintEvent*) {
    OnPaint();
}

void CDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptDrops() && !LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CDialog::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    OnDropFiles(files);
}
