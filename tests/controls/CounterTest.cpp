#include "CStaticCounter.h"
#include "CStaticDC.h"
#include "WidgetTestSupport.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QColor kBack(10, 10, 10);
const QColor kLit(9, 84, 224);
const QColor kGhost(60, 60, 60);

class CounterTest : public ::testing::Test {
protected:
    CounterTest() {
        parent.resize(200, 100);
        counter = new CStaticCounter(&parent);
        counter->setGeometry(0, 0, 120, 45);
        counter->backColour = kBack;
        counter->litColour = kLit;
        counter->useGhostColour = true;
        counter->ghostColour = kGhost;
    }

    QImage Render() {
        QImage image(counter->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        counter->render(&image);
        return image;
    }

    void RightClick(int x) {
        SendMouse(counter, QEvent::MouseButtonPress, Qt::RightButton, {x, 10});
        SendMouse(counter, QEvent::MouseButtonRelease, Qt::RightButton, {x, 10});
    }
    void RightDrag(std::initializer_list<int> xs) {
        const int first = *xs.begin();
        SendMouse(counter, QEvent::MouseButtonPress, Qt::RightButton, {first, 10});
        int last = first;
        for (int x : xs) {
            SendMouse(counter, QEvent::MouseMove, Qt::RightButton, {x, 10});
            last = x;
        }
        SendMouse(counter, QEvent::MouseButtonRelease, Qt::RightButton, {last, 10});
    }

    RecordingParent parent;
    CStaticCounter* counter = nullptr;
};

QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

} // namespace

TEST_F(CounterTest, MetricsComeFromTheFirstPaintAndStay) {
    EXPECT_FALSE(counter->MetricsValid());
    Render();
    ASSERT_TRUE(counter->MetricsValid());
    EXPECT_EQ(counter->Metrics().segUnit, 2);
    EXPECT_EQ(counter->Metrics().segLength, 15);
    EXPECT_EQ(counter->PenWidth(), 6);
    counter->resize(240, 90);
    Render();
    EXPECT_EQ(counter->Metrics().segLength, 15) << "a later size does not rescale";
}

TEST_F(CounterTest, PaintsLitAndGhostSegmentsOverTheBackground) {
    counter->SetText("12:34");
    const QImage image = Render();
    // m = 2, L = 15: segment a of a cell at x runs along y = 2 from x + 4 to x + 15.
    EXPECT_EQ(At(image, 9, 2), kGhost) << "'1' leaves a unlit";
    EXPECT_EQ(At(image, 23 + 9, 2), kLit) << "'2' lights a";
    EXPECT_EQ(At(image, 40 + 9, 15), kLit) << "the colon's upper dot";
    EXPECT_EQ(At(image, 40 + 9, 2), kBack) << "no ghost figure behind a colon";
    EXPECT_EQ(At(image, 110, 20), kBack);
}

TEST_F(CounterTest, ShortTextGetsGhostCellsInFront) {
    counter->minChars = 5;
    counter->SetText("7");
    QImage image = Render();
    EXPECT_EQ(At(image, 9, 2), kGhost) << "first blank cell";
    EXPECT_EQ(At(image, 4 * 23 + 9, 2), kLit) << "the 7 in the fifth cell";

    counter->showGhosts = false;
    image = Render();
    EXPECT_EQ(At(image, 9, 2), kBack);
}

TEST_F(CounterTest, DecimalPointSharesItsCellWithAGhostFigure) {
    counter->setGeometry(0, 0, 140, 45); // wide enough for six cells at full size
    counter->SetText("0.0100");
    const QImage image = Render();
    const int cell = 23; // the '.' is the second of six cells
    EXPECT_EQ(At(image, cell + 5, 38), kLit) << "the point";
    EXPECT_EQ(At(image, cell + 13, 38), kGhost) << "the ghost of d beside it";
    EXPECT_EQ(At(image, cell + 9, 2), kGhost);
}

TEST_F(CounterTest, LongTimesKeepEveryFigureInsideTheBox) {
    // The main window's counter box; each pair differs in its last figure only.
    counter->setGeometry(0, 0, 150, 62);
    counter->minChars = 5;
    const std::pair<const char*, const char*> rows[] = {
        {"59:59", "59:58"}, {"1:03:44", "1:03:45"}, {"596:31:23", "596:31:24"}};
    for (const auto& [text, other] : rows) {
        counter->SetText(QString::fromLatin1(text));
        const QImage image = Render();
        counter->SetText(QString::fromLatin1(other));
        EXPECT_NE(image, Render()) << text << ": the last figure is not drawn";
        for (int y = 0; y < image.height(); ++y) {
            ASSERT_EQ(At(image, image.width() - 1, y), kBack) << text << ": cut at the edge";
        }
    }
}

TEST_F(CounterTest, ValueBarIsDrawnAlongTheBottom) {
    counter->showBar = true; // 10 pixels high: rows 35 to 44
    counter->value = 50.0f;
    const QImage image = Render();
    EXPECT_EQ(At(image, 30, 39), counter->bar.light3) << "inside the left half";
    EXPECT_EQ(At(image, 30, 44), counter->bar.dark2) << "its lower edge";
    EXPECT_EQ(At(image, 90, 39), counter->palette().color(QPalette::Button)) << "empty frame";
    EXPECT_EQ(counter->Metrics().segLength, 12) << "the bar takes its height off the figures";
}

TEST_F(CounterTest, RightClickStepsTheValueAndPostsIt) {
    counter->notifyId = 77;
    counter->SetFloat(0.0f, "%.4f");
    RightClick(20);
    EXPECT_FLOAT_EQ(counter->value, 0.01f);
    EXPECT_EQ(counter->Text(), "0.0100");
    EXPECT_TRUE(parent.values.empty()) << "posted, not sent";
    parent.DeliverPosted();
    ASSERT_EQ(parent.values.size(), 1u);
    EXPECT_EQ(parent.values[0].notifyId, 77);
    EXPECT_EQ(parent.values[0].value, 0);
    EXPECT_EQ(parent.values[0].source, counter);
}

TEST_F(CounterTest, WholeNumberModeStepsByOne) {
    counter->SetInt(0, "%.3d");
    RightClick(20);
    EXPECT_FLOAT_EQ(counter->value, 1.0f);
    EXPECT_EQ(counter->Text(), "001");
}

TEST_F(CounterTest, RightDragAddsAHundredthPerPixel) {
    counter->SetFloat(0.0f, "%.4f");
    RightDrag({0, 50, 100, 150, 200, 250});
    EXPECT_NEAR(counter->value, 2.5f, 1e-5);
    EXPECT_EQ(counter->Text(), "2.5000");
    parent.DeliverPosted();
    ASSERT_EQ(parent.values.size(), 1u);
    EXPECT_EQ(parent.values[0].value, 2);
}

TEST_F(CounterTest, DragStopsAtTheRangeEnds) {
    counter->SetFloat(0.0f, "%.4f");
    counter->value = 99.5f;
    RightDrag({0, 100});
    EXPECT_FLOAT_EQ(counter->value, 100.0f);
    counter->value = 0.5f;
    RightDrag({100, 0});
    EXPECT_FLOAT_EQ(counter->value, 0.0f);
}

TEST_F(CounterTest, ReleaseAfterAStillLastStepCountsAsAClick) {
    counter->SetFloat(0.0f, "%.4f");
    RightDrag({0, 100, 100});
    EXPECT_NEAR(counter->value, 1.01f, 1e-5);
}

TEST_F(CounterTest, ReadOnlyCounterKeepsItsValueButStillPosts) {
    counter->editable = false;
    counter->value = 5.0f;
    RightDrag({0, 80});
    RightClick(0);
    EXPECT_FLOAT_EQ(counter->value, 5.0f);
    SendMouse(counter, QEvent::MouseButtonPress, Qt::LeftButton, {3, 3});
    SendMouse(counter, QEvent::MouseButtonRelease, Qt::LeftButton, {3, 3});
    parent.DeliverPosted();
    EXPECT_EQ(parent.values.size(), 3u);
}

TEST(CStaticDC, CopiesOnlyItsRectangleInTheTargetsCoordinates) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter target(&image);
        CStaticDC dc(&target, QRect(10, 10, 20, 20));
        dc.fillRect(QRect(0, 0, 40, 40), Qt::blue);
        dc.fillRect(QRect(15, 15, 1, 1), Qt::red);
        EXPECT_EQ(QColor(image.pixel(20, 20)), QColor(Qt::white)) << "nothing before the copy";
    }
    EXPECT_EQ(QColor(image.pixel(15, 15)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(29, 29)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(9, 9)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(30, 30)), QColor(Qt::white));
}

TEST(CStaticDC, AnEmptyRectangleCoversTheWholeTarget) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter target(&image);
        CStaticDC dc(&target, QRect());
        dc.fillRect(QRect(0, 0, 16, 16), Qt::green);
    }
    EXPECT_EQ(QColor(image.pixel(15, 15)), QColor(Qt::green));
}
