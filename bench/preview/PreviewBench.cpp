// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Run: QT_QPA_PLATFORM=offscreen preview_bench (QT_SCALE_FACTOR=2 for a high-density screen).
#include "preview/PreviewFixtures.h"
#include "preview/PreviewWindow.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
// Zooming and dragging never reach the office.
struct Window {
    ScriptedPrompts prompts;
    FakeOffice office;
    QWidget mainWindow;
    PreviewWindow window{prompts, office, &mainWindow, QCoreApplication::applicationDirPath(),
                         [] {}};
    explicit Window(const QImage& picture = invitationPicture()) {
        window.setPicture(picture);
        window.show();
        QApplication::processEvents();
        window.showNewPicture();
    }
    QWidget* page() { return window.findChild<QWidget*>(QStringLiteral("page")); }
};

// "Zoom In" from 125 % to 150 %: the largest size the invitation is drawn at (9087 x 11787
// twips; 175 % would pass the width limit). Timed: the handler, which scales the picture
// onto the page's persistent surface.
void ZoomStepToLargest(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.window.zoomModel().setZoom(1.25f);
        state.ResumeTiming();
        w.window.zoomIn();
    }
    if (w.window.zoomModel().zoom() != 1.5f || !w.prompts.shown.isEmpty())
        state.SkipWithError("the zoom step did not reach 150 %");
}
BENCHMARK(ZoomStepToLargest)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same step including the repaint of the window that follows it.
void ZoomStepToLargestAndPaint(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.window.zoomModel().setZoom(1.25f);
        w.window.repaint();
        state.ResumeTiming();
        w.window.zoomIn();
        w.window.repaint();
    }
}
BENCHMARK(ZoomStepToLargestAndPaint)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// About the largest size any picture may be drawn at: a page of 8220 x 11340 twips (1096 x
// 1512 pixels at 192 dpi) zoomed to 125 % is 10197 x 14097 twips, just inside both limits.
void ZoomStepToLimit(benchmark::State& state) {
    QImage page = invitationPicture().scaled(1096, 1512);
    page.setDotsPerMeterX(dotsPerMeterAt192Dpi());
    page.setDotsPerMeterY(dotsPerMeterAt192Dpi());
    Window w(page);
    for (auto _ : state) {
        state.PauseTiming();
        w.window.zoomModel().setZoom(1.0f);
        state.ResumeTiming();
        w.window.zoomIn();
    }
    if (w.window.zoomModel().zoomedWidth() != 10197 || w.window.zoomModel().zoomedHeight() != 14097)
        state.SkipWithError("the zoom step did not reach the limit");
}
BENCHMARK(ZoomStepToLimit)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
    w.window.zoomModel().setZoom(1.5f);
    QWidget* picture = w.page();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        sendMouse(picture, type, at, held);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint at =
            picture->mapFromParent(QPoint(300, 300)) + QPoint(i % 40 - 20, i % 60 - 30);
        send(QEvent::MouseMove, at, Qt::LeftButton);
        ++i;
    }
    send(QEvent::MouseButtonRelease, {300, 300}, Qt::NoButton);
}
BENCHMARK(DragMove)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same move including the repaint of the viewport it uncovers.
void DragMoveAndPaint(benchmark::State& state) {
    Window w;
    w.window.zoomModel().setZoom(1.5f);
    QWidget* picture = w.page();
    QWidget* viewport = w.window.findChild<QWidget*>(QStringLiteral("pageFrame"));
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        sendMouse(picture, type, at, held);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    int i = 0;
    for (auto _ : state) {
        const QPoint at =
            picture->mapFromParent(QPoint(300, 300)) + QPoint(i % 40 - 20, i % 60 - 30);
        send(QEvent::MouseMove, at, Qt::LeftButton);
        viewport->repaint();
        ++i;
    }
}
BENCHMARK(DragMoveAndPaint)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
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
