#include "CMySliderControl.h"
#include "ScrollNotifyEvent.h"
#include "WidgetTestSupport.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class SliderTest : public ::testing::Test {
protected:
    SliderTest() {
        parent.resize(340, 260);
        slider = new CMySliderControl(&parent);
        slider->setGeometry(10, 10, 300, 30);
    }

    // A point over the thumb's centre when the slider stands at position.
    static QPoint PointFor(const CMySliderControl* target, int position) {
        const SliderGeometry::Channel span = target->ChannelSpan();
        const double f = static_cast<double>(position - target->minimum()) /
                         (target->maximum() - target->minimum());
        const int along = span.left + static_cast<int>(std::lround(f * (span.right - span.left)));
        const QPoint middle = target->rect().center();
        return target->orientation() == Qt::Horizontal ? QPoint(along, middle.y())
                                                       : QPoint(middle.x(), along);
    }
    QPoint PointFor(int position) const { return PointFor(slider, position); }

    void Press(QPoint at) { SendMouse(slider, QEvent::MouseButtonPress, Qt::LeftButton, at); }
    void Move(QPoint to) { SendMouse(slider, QEvent::MouseMove, Qt::LeftButton, to); }
    void Release(QPoint at) { SendMouse(slider, QEvent::MouseButtonRelease, Qt::LeftButton, at); }

    RecordingParent parent;
    CMySliderControl* slider = nullptr;
};

using Codes = std::vector<int>;

} // namespace

TEST_F(SliderTest, PressJumpsToThePointAndPostsTrackAfterTheHandlerReturns) {
    slider->setRange(0, 10);
    Press(PointFor(7));
    EXPECT_EQ(slider->value(), 7);
    EXPECT_TRUE(parent.scrolls.empty()) << "posted, not sent";
    parent.DeliverPosted();
    ASSERT_EQ(parent.ScrollCodes(), Codes({5}));
    EXPECT_EQ(parent.scrolls[0].position, 7);
    EXPECT_EQ(parent.scrolls[0].source, slider);

    // The release posts the final position even though the mouse did not move.
    Release(PointFor(7));
    EXPECT_EQ(parent.ScrollCodes(), Codes({5})) << "nothing before delivery";
    parent.DeliverPosted();
    EXPECT_EQ(parent.ScrollCodes(), Codes({5, 4}));
}

TEST_F(SliderTest, PressOnTheCurrentPositionPostsNothing) {
    slider->setRange(0, 10);
    slider->setValue(3);
    Press(PointFor(3));
    Release(PointFor(3));
    parent.DeliverPosted();
    EXPECT_TRUE(parent.scrolls.empty());
    EXPECT_EQ(slider->value(), 3);
}

TEST_F(SliderTest, DragPostsTrackForEachChangeAndPositionAtRelease) {
    slider->setRange(0, 10);
    Press(PointFor(2));
    Move(PointFor(5));
    Move(PointFor(5)); // no change, nothing posted
    Move(PointFor(8));
    Release(PointFor(8));
    parent.DeliverPosted();
    ASSERT_EQ(parent.ScrollCodes(), Codes({5, 5, 5, 4}));
    EXPECT_EQ(parent.scrolls[0].position, 2);
    EXPECT_EQ(parent.scrolls[1].position, 5);
    EXPECT_EQ(parent.scrolls[2].position, 8);
    EXPECT_EQ(parent.scrolls[3].position, 8);
}

TEST_F(SliderTest, DragBeyondTheEndPostsTheEndPositionAgainOnEveryMove) {
    slider->setRange(0, 10);
    slider->setValue(10);
    const QPoint beyond = PointFor(10) + QPoint(60, 0);
    Press(PointFor(10));
    Move(beyond);
    Move(beyond + QPoint(5, 0));
    Release(beyond);
    parent.DeliverPosted();
    EXPECT_EQ(parent.ScrollCodes(), Codes({5, 5, 5, 4}));
    for (const RecordedScroll& scroll : parent.scrolls) {
        EXPECT_EQ(scroll.position, 10);
    }
    EXPECT_EQ(slider->value(), 10);
}

TEST_F(SliderTest, PressLeftOfTheChannelStaysAtZeroButCountsAsAChange) {
    slider->setRange(0, 100);
    Press(QPoint(slider->ChannelSpan().left - 5, 15));
    EXPECT_EQ(slider->value(), 0);
    parent.DeliverPosted();
    ASSERT_EQ(parent.ScrollCodes(), Codes({5}));
    EXPECT_EQ(parent.scrolls[0].position, 0);
}

TEST_F(SliderTest, VerticalSliderHasItsMinimumAtTheTopAndPostsTheSameEvents) {
    auto* vertical = new CMySliderControl(Qt::Vertical, &parent);
    vertical->setGeometry(10, 50, 40, 200);
    vertical->setRange(0, 20);
    vertical->setValue(10);
    const SliderGeometry::Channel span = vertical->ChannelSpan();
    EXPECT_LT(span.left, span.right) << "position 0 sits at the top";

    SendMouse(vertical, QEvent::MouseButtonPress, Qt::LeftButton, PointFor(vertical, 3));
    SendMouse(vertical, QEvent::MouseButtonRelease, Qt::LeftButton, PointFor(vertical, 3));
    EXPECT_EQ(vertical->value(), 3);
    parent.DeliverPosted();
    ASSERT_EQ(parent.ScrollCodes(), Codes({5, 4}));
    EXPECT_EQ(parent.scrolls[0].source, vertical);

    // The up arrow moves the thumb up, towards position 0.
    SendKey(vertical, Qt::Key_Up);
    EXPECT_EQ(vertical->value(), 2);
    parent.DeliverPosted();
    EXPECT_EQ(parent.ScrollCodes(), Codes({5, 4, 8}));
}

TEST_F(SliderTest, MiddleAndRightButtonsNeitherMoveNorPost) {
    slider->setRange(0, 10);
    slider->setValue(3);
    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        SendMouse(slider, QEvent::MouseButtonPress, button, PointFor(8));
        SendMouse(slider, QEvent::MouseMove, button, PointFor(9));
        SendMouse(slider, QEvent::MouseButtonRelease, button, PointFor(9));
    }
    parent.DeliverPosted();
    EXPECT_EQ(slider->value(), 3);
    EXPECT_TRUE(parent.scrolls.empty());
}

TEST_F(SliderTest, PageIsAFifthOfTheRangeUntilTheOwnerSetsOne) {
    const std::pair<int, int> rows[] = {{20, 4}, {40, 8}, {3, 1}, {125000, 25000}};
    for (const auto& [maximum, page] : rows) {
        slider->setRange(0, maximum);
        EXPECT_EQ(slider->pageStep(), page) << maximum;
    }
    slider->SetPageSize(10000);
    slider->setRange(0, 50);
    EXPECT_EQ(slider->pageStep(), 10000);
}

TEST_F(SliderTest, KeyboardMovesPostTheEndOfAMoveOnlyWhenThePositionChanged) {
    slider->setRange(0, 10);
    slider->setValue(9);
    SendKey(slider, Qt::Key_Right);
    SendKey(slider, Qt::Key_Right); // at the end already
    EXPECT_EQ(slider->value(), 10);
    parent.DeliverPosted();
    ASSERT_EQ(parent.ScrollCodes(), Codes({8}));
    EXPECT_EQ(parent.scrolls[0].position, 10);
}

TEST_F(SliderTest, NotificationOutlivingItsSliderHasNoSource) {
    slider->setRange(0, 10);
    Press(PointFor(6));
    delete slider;
    slider = nullptr;
    parent.DeliverPosted();
    ASSERT_EQ(parent.scrolls.size(), 1u);
    EXPECT_EQ(parent.scrolls[0].source, nullptr);
    EXPECT_EQ(parent.scrolls[0].position, 6);
}

namespace {

const QColor kBackground(200, 30, 30);

QImage Render(QWidget& widget) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::Window, kBackground);
    widget.setPalette(colours);
    widget.setAutoFillBackground(true);
    QImage image(widget.size(), QImage::Format_RGB32);
    widget.render(&image);
    return image;
}

int CountMarkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += QColor(image.pixel(x, y)) == CMySliderControl::kRangeMarkColour ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST_F(SliderTest, RangeMarkIsPaintedGreenOnlyBetweenItsEnds) {
    slider->setRange(0, 99);
    slider->setValue(99); // thumb at the right, clear of the mark
    slider->startMark = 20;
    slider->endMark = 60;
    const QImage image = Render(parent);

    const QPoint origin = slider->pos();
    const int a = slider->ValueToX(20);
    const int b = slider->ValueToX(60);
    const int top = 5;
    const int bottom = 5 + slider->height() / 2 - 1;
    const QRect mark = QRect(QPoint(a, top), QPoint(b - 1, bottom)).translated(origin);
    EXPECT_EQ(CountMarkPixels(image, mark), mark.width() * mark.height());
    EXPECT_EQ(CountMarkPixels(image, slider->geometry()), mark.width() * mark.height())
        << "green nowhere else";

    // The dialog shows through beside the mark and above it.
    EXPECT_EQ(QColor(image.pixel(origin + QPoint(a - 6, top))), kBackground);
    EXPECT_EQ(QColor(image.pixel(origin + QPoint((a + b) / 2, top - 2))), kBackground);
}

TEST_F(SliderTest, NoMarkWithoutStartOrOnAVerticalSlider) {
    slider->setRange(0, 99);
    slider->startMark = -1;
    slider->endMark = 60;
    auto* vertical = new CMySliderControl(Qt::Vertical, &parent);
    vertical->setGeometry(10, 50, 40, 200);
    vertical->setRange(0, 20);
    vertical->startMark = 2;
    vertical->endMark = 15;
    const QImage image = Render(parent);
    EXPECT_EQ(CountMarkPixels(image, image.rect()), 0);
}
