// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Start Creating Template" timed from outside the program, as a user sees it: from the
// moment the click is sent (real input through the X server) to the moment the
// X server maps the preview window; then "< Back", a pause, and again.
//   festoria-click-to-preview <main window id> <clicks> <pause ms>
// Prints each click's time and the median and maximum. Runs under any X server without a
// window manager (the program's windows are then the root window's own children).
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

// Clicks at (x, y) in the window: real pointer input, which the X server's XTEST extension
// queues at once. (xdotool, run as a process, took about 100 ms to start, click and end: a
// clock waiting for it timed xdotool, not the program.)
void click(Display* display, Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = None;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}

// Waits for a window other than `not` to be mapped (any, when want is None), or for want.
Window waitForMap(Display* display, Window want, Window notThis) {
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        const Window mapped = event.xmap.window;
        if (want != None ? mapped == want : mapped != notThis)
            return mapped;
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: festoria-click-to-preview <main window id> <clicks> "
                             "<pause ms>\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "festoria-click-to-preview: no display\n");
        return 1;
    }
    const Window main = std::strtoul(argv[1], nullptr, 0);
    const int clicks = std::atoi(argv[2]);
    const auto pause = std::chrono::milliseconds(std::atoi(argv[3]));
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    std::vector<double> times;
    Window preview = None;
    for (int i = 0; i < clicks; ++i) {
        const Clock::time_point pressed = Clock::now();
        click(display, main, 268, 21); // Start Creating Template
        preview = waitForMap(display, preview, main);
        const std::chrono::duration<double, std::milli> took = Clock::now() - pressed;
        times.push_back(took.count());
        std::printf("click %3d: %7.1f ms\n", i + 1, took.count());
        std::fflush(stdout);
        std::this_thread::sleep_for(pause); // the user looks at the preview
        click(display, preview, 164, 603);  // < Back
        waitForMap(display, main, None);
        std::this_thread::sleep_for(pause);
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("click to preview from outside: median %.1f ms, max %.1f ms (%d clicks)\n",
                sorted[sorted.size() / 2], sorted.back(), clicks);
    XCloseDisplay(display);
    return 0;
}
