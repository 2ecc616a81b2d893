#include "CTMStatic.h"
#include "WidgetTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <gtest/gtest.h>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

class LabelTest : public ::testing::Test {
protected:
    LabelTest() {
        parent.resize(200, 80);
        parent.setAutoFillBackground(true);
        label = new CTMStatic(&parent);
        label->setGeometry(20, 20, 150, 40);
        label->SetText("00:00/00:00");
    }

    // Paints whatever is pending on the shown window.
    static void Flush() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    int PaintsAfter(const std::function<void()>& change) {
        parent.show();
        Flush();
        PaintCounter counter;
        label->installEventFilter(&counter);
        parent.installEventFilter(&counter);
        change();
        Flush();
        label->removeEventFilter(&counter);
        parent.removeEventFilter(&counter);
        return counter.paints;
    }

    RecordingParent parent;
    CTMStatic* label = nullptr;
};

} // namespace

TEST_F(LabelTest, UnchangedTextRepaintsNothing) {
    EXPECT_EQ(PaintsAfter([&] { label->SetText("00:00/00:00"); }), 0);
    EXPECT_GT(PaintsAfter([&] { label->SetText("00:01/00:00"); }), 0);
    EXPECT_EQ(label->text(), "00:01/00:00");
}

TEST_F(LabelTest, TextComparisonIsExact) {
    label->SetText("abc");
    label->SetText("ABC");
    EXPECT_EQ(label->text(), "ABC");
}

TEST_F(LabelTest, DrawsOnlyItsTextOverTheDialog) {
    const QColor background(240, 240, 200);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, background);
    parent.setPalette(colours);
    label->SetLabelFont(260, "Times New Roman");
    label->SetTextColour(QColor(0, 0, 255));
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 26.0);
    EXPECT_EQ(label->textColour, QColor(0, 0, 255));

    QImage image(parent.size(), QImage::Format_RGB32);
    parent.render(&image);
    int backgroundPixels = 0;
    int textPixels = 0;
    const QRect area = label->geometry();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c(image.pixel(x, y));
            backgroundPixels += c == background ? 1 : 0;
            textPixels += c.blue() > 200 && c.red() < 60 ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_GT(backgroundPixels, area.width() * area.height() / 2) << "no fill of its own";
}

TEST_F(LabelTest, DraggingMovesTheWindowOnlyWhenAsked) {
    parent.move(100, 100);
    parent.show();
    const QPoint start = parent.pos();
    SendMouse(label, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    SendMouse(label, QEvent::MouseMove, Qt::LeftButton, {25, 15});
    SendMouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, {25, 15});
    EXPECT_EQ(parent.pos(), start);

    label->dragsParent = 1;
    SendMouse(label, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    SendMouse(label, QEvent::MouseMove, Qt::LeftButton, {25, 15});
    SendMouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, {25, 15});
    EXPECT_EQ(parent.pos(), start + QPoint(20, 10));
}
