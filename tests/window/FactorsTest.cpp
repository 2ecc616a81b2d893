// Speed and pitch: the "+"/"-" buttons, dragging the vertical sliders, keys and the wheel.
#include "ControlIds.h"
#include "WindowActions.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QWheelEvent>

class FactorsTest : public WindowTest {
protected:
    QSlider* Slider(CTesmiraDlg& dialog, int id) {
        return qobject_cast<QSlider*>(dialog.GetDlgItem(id));
    }
    QString LastCall(const QString& name) const {
        const QStringList calls = fake.CallsOf({name});
        return calls.isEmpty() ? QString() : calls.last();
    }
};

TEST_F(FactorsTest, OneStepChangesTheTextAndThePlayerAtOnce) {
    auto dialog = MakeDialog();
    Click(*dialog, IDC_BTN_SPEED_PLUS);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.01");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 1.01");
    EXPECT_EQ(Slider(*dialog, IDC_SLIDER_SPEED)->value(), 9);

    Click(*dialog, IDC_BTN_PITCH_MINUS);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH), "0.99");
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch 0.99");
    EXPECT_EQ(Slider(*dialog, IDC_SLIDER_PITCH)->value(), 21);
    // No source is needed; neither factor is sent at set-up.
    EXPECT_EQ(fake.CallsOf({"SetRate", "SetPitch"}).size(), 2);
}

TEST_F(FactorsTest, StepsStopAtTheTableEndsWithTheExactTableValues) {
    auto dialog = MakeDialog();
    for (int click = 0; click < 10; ++click) {
        Click(*dialog, IDC_BTN_SPEED_PLUS);
    }
    // The log shows the shortest text of the double: 1.1 and not 1.1000000000000001.
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.10");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 1.1");
    Click(*dialog, IDC_BTN_SPEED_PLUS); // at the top already: same text, same call again
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.10");
    EXPECT_EQ(fake.CallsOf({"SetRate"}).mid(9), QStringList(2, "SetRate 1.1"));

    for (int click = 0; click < 25; ++click) {
        Click(*dialog, IDC_BTN_SPEED_MINUS);
    }
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "0.90");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 0.9");

    for (int click = 0; click < 20; ++click) {
        Click(*dialog, IDC_BTN_PITCH_PLUS);
    }
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH), "1.20");
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch 1.2");
    for (int click = 0; click < 37; ++click) {
        Click(*dialog, IDC_BTN_PITCH_MINUS);
    }
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH), "0.83");
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch 0.83");
}

TEST_F(FactorsTest, DraggingASliderToAnEndShowsAndSendsItsFactor) {
    auto dialog = MakeDialog();
    QSlider* pitch = Slider(*dialog, IDC_SLIDER_PITCH);
    const int x = pitch->width() / 2;
    DragSlider(*dialog, pitch, QPoint(x, pitch->height() / 2), QPoint(x, pitch->height() + 20));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH), "0.80");
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch 0.8");
    DragSlider(*dialog, pitch, QPoint(x, 0), QPoint(x, -20));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH), "1.20");
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch 1.2");

    QSlider* speed = Slider(*dialog, IDC_SLIDER_SPEED);
    DragSlider(*dialog, speed, QPoint(x, speed->height() - 1), QPoint(x, speed->height() - 1));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "0.90");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 0.9");
}

TEST_F(FactorsTest, KeysAndWheelChangeTheFactorLikeTheButtons) {
    auto dialog = MakeDialog();
    QSlider* speed = Slider(*dialog, IDC_SLIDER_SPEED);
    speed->setFocus();
    PressKey(*dialog, speed, Qt::Key_Up);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.01");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 1.01");
    Click(*dialog, IDC_BTN_SPEED_PLUS); // the next step goes on from there
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.02");
    PressKey(*dialog, speed, Qt::Key_PageUp); // a fifth of the range
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.06");
    EXPECT_EQ(LastCall("SetRate"), "SetRate 1.06");
    // The middle and right buttons move nothing.
    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(5, speed->height() - 2),
                              speed->mapToGlobal(QPointF(5, speed->height() - 2)), button,
                              type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(speed, &event);
        }
    }
    QCoreApplication::sendPostedEvents(dialog.get());
    EXPECT_EQ(speed->value(), 4);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.06");

    QSlider* pitch = Slider(*dialog, IDC_SLIDER_PITCH);
    QWheelEvent wheel(QPointF(5, 5), pitch->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pitch, &wheel);
    QCoreApplication::sendPostedEvents(dialog.get());
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_PITCH),
              QString::number(1.20 - 0.01 * pitch->value(), 'f', 2));
    EXPECT_NE(pitch->value(), 20);
    EXPECT_EQ(LastCall("SetPitch"), "SetPitch " + dialog->GetDlgItemText(IDC_EDIT_PITCH));
}
