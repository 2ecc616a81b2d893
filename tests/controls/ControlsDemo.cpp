// Renders the skinned controls the way the main dialog sets them up, into a PNG to look at.
// Usage: controls_demo <file.png>
#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "PngResource.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <cstdio>

namespace {

// The dialog's part of the picture: the logo and, for show, the step icons.
class Backdrop : public QWidget {
public:
    Backdrop() {
        LoadPngResource(logo, 135);
        for (int i = 0; i < 4; ++i) {
            LoadPngResource(steps[i], 131 + i);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(14, 236), logo);
        for (int i = 0; i < 4; ++i) {
            painter.drawImage(QPoint(460 + (i % 2) * 40, 250 + (i / 2) * 40), steps[i]);
        }
    }

private:
    QImage logo;
    QImage steps[4];
};

void AddCounters(QWidget* panel) {
    auto* counter = new CStaticCounter(panel);
    counter->setGeometry(380, 52, 115, 48);
    counter->minChars = 5;
    counter->useGhostColour = true;
    counter->ghostColour = panel->palette().color(QPalette::Button);
    counter->backColour = panel->palette().color(QPalette::Button);
    counter->litColour = QColor(9, 84, 224);
    counter->bar.baseColour = QColor(0, 100, 0);
    counter->bar.ComputeShades();
    counter->bar.CreatePens();
    counter->SetText("01:05");

    auto* dial = new CStaticCounter(panel);
    dial->setGeometry(380, 110, 160, 56);
    dial->showBar = true;
    dial->value = 62.5f;
    dial->SetFloat(dial->value, "%.4f");
}

void AddSliders(QWidget* panel) {
    auto* position = new CMySliderControl(panel);
    position->setGeometry(20, 14, 520, 28);
    position->setTickPosition(QSlider::NoTicks);
    position->setRange(0, 215000);
    position->setValue(64000);
    position->startMark = 52000;
    position->endMark = 131000;

    QStyle* classic = QStyleFactory::create("Windows");
    for (int i = 0; i < 2; ++i) {
        auto* factor = new CMySliderControl(Qt::Vertical, panel);
        factor->setStyle(classic);
        factor->setGeometry(260 + i * 70, 60, 44, 130);
        factor->setTickPosition(QSlider::TicksBothSides);
        factor->setRange(0, i == 0 ? 20 : 40);
        factor->setValue(i == 0 ? 10 : 14);
        factor->startMark = 2; // ignored: vertical sliders show no mark
    }
}

void AddLabels(QWidget* panel) {
    auto* time = new CTMStatic(panel);
    time->setGeometry(20, 56, 220, 40);
    time->SetLabelFont(260, "Times New Roman");
    time->SetTextColour(QColor(0, 0, 0));
    time->SetText("01:05/03:35");
    const char* steps[] = {"1、", "2、", "3、", "4、"};
    for (int i = 0; i < 4; ++i) {
        auto* step = new CTMStatic(panel);
        step->setGeometry(20 + i * 50, 110, 40, 30);
        step->SetTextColour(QColor(0, 0, 255));
        step->SetLabelFont(180, "Times New Roman");
        step->SetText(QString::fromUtf8(steps[i]));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: controls_demo <file.png>\n");
        return 2;
    }
    Backdrop panel;
    panel.resize(560, 340);
    panel.setAutoFillBackground(true);
    AddSliders(&panel);
    AddCounters(&panel);
    AddLabels(&panel);
    return panel.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
