// Run: QT_QPA_PLATFORM=offscreen preview_bench (QT_SCALE_FACTOR=2 for a high-density screen).
#include "core/AppError.h"
#include "core/Prompts.h"
#include "office/Office.h"
#include "preview/PreviewWindow.h"
#include "preview/PreviewFixtures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
class SilentPrompts : public Prompts {
public:
    int shown = 0;
    Answer message(const QString&, const QString&, Icon, Buttons) override {
        ++shown;
        return Answer::Ok;
    }
    QString saveFileName(const QString&, const QString&, const QString&, QString&) override {
        return {};
    }
    bool setUpPrinter(QPrinter&) override { return false; }
};

// Zooming and dragging never reach the office.
class NoOffice : public office::Office {
public:
    std::unique_ptr<office::Session> startSession() override {
        throw AppError(QStringLiteral("No office in this benchmark."));
    }
};

struct Window {
    SilentPrompts prompts;
    NoOffice office;
    QWidget form1;
    PreviewWindow form{prompts, office, &form1, QCoreApplication::applicationDirPath(), [] {}};
    explicit Window(const QImage& picture = invitationPicture()) {
        form.setPicture(picture);
        form.show();
        QApplication::processEvents();
        form.Form_Activate();
    }
    QWidget* picture() { return form.findChild<QWidget*>(QStringLiteral("Picture1")); }
};

// "Zoom In" from 125 % to 150 %: the largest size the invitation is drawn at (9087 x 11787
// twips; 175 % would pass the width limit). Timed: the handler, which scales the picture
// onto Picture1's persistent surface.
void ZoomStepToLargest(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.form.zoomModel().SetZoom(1.25f);
        state.ResumeTiming();
        w.form.PushButton1_Click();
    }
    if (w.form.zoomModel().zoom() != 1.5f || w.prompts.shown)
        state.SkipWithError("the zoom step did not reach 150 %");
}
BENCHMARK(ZoomStepToLargest)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

// The same step including the repaint of the window that follows it.
void ZoomStepToLargestAndPaint(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.form.zoomModel().SetZoom(1.25f);
        w.form.repaint();
        state.ResumeTiming();
        w.form.PushButton1_Click();
        w.form.repaint();
    }
}
BENCHMARK(ZoomStepToLargestAndPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

// About the largest size any picture may be drawn at: a page of 8220 x 11340 twips (1096 x
// 1512 pixels at 192 dpi) zoomed to 125 % is 10197 x 14097 twips, just inside both limits.
void ZoomStepToLimit(benchmark::State& state) {
    QImage page = invitationPicture().scaled(1096, 1512);
    page.setDotsPerMeterX(dotsPerMeterAt192Dpi());
    page.setDotsPerMeterY(dotsPerMeterAt192Dpi());
    Window w(page);
    for (auto _ : state) {
        state.PauseTiming();
        w.form.zoomModel().SetZoom(1.0f);
        state.ResumeTiming();
        w.form.PushButton1_Click();
    }
    if (w.form.zoomModel().zoomWidth() != 10197 || w.form.zoomModel().zoomHeight() != 14097)
        state.SkipWithError("the zoom step did not reach the limit");
}
BENCHMARK(ZoomStepToLimit)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

// A mouse event on the picture, as the window system delivers it.
void sendMouse(QWidget* picture, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(picture->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &event);
}

// One mouse move with the button held, on the picture at 150 %: the event, the model's
// arithmetic and moving the widget.
void DragMove(benchmark::State& state) {
    Window w;
    w.form.zoomModel().SetZoom(1.5f);
    QWidget* picture = w.picture();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        sendMouse(picture, type, at, held);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint at = picture->mapFromParent(QPoint(300, 300)) + QPoint(i % 40 - 20, i % 60 - 30);
        send(QEvent::MouseMove, at, Qt::LeftButton);
        ++i;
    }
    send(QEvent::MouseButtonRelease, {300, 300}, Qt::NoButton);
}
BENCHMARK(DragMove)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same move including the repaint of the viewport it uncovers.
void DragMoveAndPaint(benchmark::State& state) {
    Window w;
    w.form.zoomModel().SetZoom(1.5f);
    QWidget* picture = w.picture();
    QWidget* viewport = w.form.findChild<QWidget*>(QStringLiteral("Picture2"));
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        sendMouse(picture, type, at, held);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint at = picture->mapFromParent(QPoint(300, 300)) + QPoint(i % 40 - 20, i % 60 - 30);
        send(QEvent::MouseMove, at, Qt::LeftButton);
        viewport->repaint();
        ++i;
    }
}
BENCHMARK(DragMoveAndPaint)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
