// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Start Creating Template" end to end: from the click until the preview window is on the
// screen, with the program's one warm office (renewed in the background after its share of
// sessions), step by step; a click after the office was killed while the user read the
// preview; the same request done the naive way (a fresh office process for each of its two
// office uses); and the program's and the office's memory over many requests. Prints its
// figures; it asserts nothing.
//
// Between clicks the user reads the preview and goes back: the program's office uses that
// time to open the next request's template ahead. FESTORIA_BENCH_NO_AHEAD=1 measures without
// (every click opens the template itself, as before).
//
//   request_bench [warm runs = 200] [naive runs = 5] [ms between clicks = 300]
#include "core/Files.h"
#include "core/Memory.h"
#include "core/Prompts.h"
#include "invitation/CreateInvitation.h"
#include "invitation/PreviewPicture.h"
#include "invitation/Template.h"
#include "office/libreoffice/LibreOffice.h"
#include "preview/PreviewWindow.h"
#include "support/WatchedOffice.h"
#include "widgets/QtClipboard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
// Answers every dialog with OK, and counts the error reports.
class CountingPrompts : public Prompts {
public:
    int reports = 0;
    Answer message(const QString& text, const QString& caption, Icon, Buttons) override {
        if (caption == QStringLiteral("Application Error")) {
            ++reports;
            std::fprintf(stderr, "report: %s\n", qPrintable(text));
        }
        return Answer::Ok;
    }
    QString saveFileName(const QString&, const QString&, const QString&, QString&) override {
        return {};
    }
    bool setUpPrinter(QPrinter&) override { return false; }
};

// Where a request's time goes: milliseconds per step, summed over one request.
using StepTimes = std::map<QString, double>;
StepTimes* currentSteps = nullptr;

class StepTimer {
public:
    explicit StepTimer(const char* step) : mStep(QString::fromLatin1(step)) { mTimer.start(); }
    ~StepTimer() {
        if (currentSteps)
            (*currentSteps)[mStep] += mTimer.nsecsElapsed() / 1e6;
    }

private:
    QString mStep;
    QElapsedTimer mTimer;
};

// Times each office operation of the program's office into the current request's steps.
void timeOfficeSteps(WatchedOffice& office) {
    static QElapsedTimer timer;
    office.before = [](const QString&) { timer.start(); };
    office.after = [](const QString& operation) {
        if (!currentSteps)
            return;
        const QString step =
            operation == QStringLiteral("open")               ? QStringLiteral("open the template")
            : operation == QStringLiteral("open for editing") ? QStringLiteral("reopen")
            : operation == QStringLiteral("start")            ? QStringLiteral("start a session")
                                                              : operation;
        (*currentSteps)[step] += timer.nsecsElapsed() / 1e6;
    };
}

// The main window's side of the request, with the real preview window.
class BenchHost : public InvitationHost {
public:
    BenchHost(Prompts& prompts, office::Office& office)
        : mainWindow(),
          preview(prompts, office, &mainWindow, QCoreApplication::applicationDirPath(), [] {}) {
        mainWindow.resize(400, 300);
    }
    QString fieldText(Field field) override {
        switch (field) {
        case Field::EventName:
            return QStringLiteral("Lobster Eating Party");
        case Field::Location:
            return QStringLiteral("Haverhill MA");
        case Field::Items:
            return QStringLiteral("bib, meat extractors, cracking utensils, butter");
        case Field::Drive:
            return QStringLiteral("Take 66 West to 267 West, take the Wiehle exit heading north "
                                  "(make a right off the exit), stay on Wiehle for approximately "
                                  "3 miles until you pass the Baron Cameron intersection.");
        case Field::RSVP:
            return QStringLiteral("jane.doe@example.com");
        }
        return {};
    }
    QDate eventDate() override { return QDate(2021, 8, 21); }
    QTime eventTime() override { return QTime(19, 30); }
    void setHourglass(bool on) override {
        if (on)
            mainWindow.setCursor(Qt::WaitCursor);
        else
            mainWindow.unsetCursor();
    }
    void loadPreviewPicture(const QString& path) override {
        StepTimer step("load into the preview");
        preview.setPicture(loadPicture(path));
    }
    void setPreviewDocument(const QString& path, const EventDetails& details) override {
        preview.setDocumentPath(path);
        preview.setEventDetails(details);
    }
    void showPreview() override {
        StepTimer step("show");
        preview.show();
    }
    void hideMainWindow() override { mainWindow.hide(); }

    QWidget mainWindow;
    PreviewWindow preview;
};

constexpr int kShotDragPixels = 560;
int pauseBetweenClicks = 300; // milliseconds

void keepPreviewShot(PreviewWindow& preview, const QString& path) {
    for (int i = 0; i < 2; ++i) // 100 % to 150 %
        preview.findChild<QPushButton*>(QStringLiteral("zoomInButton"))->click();
    QCoreApplication::processEvents();
    // Drag the page up, as a user does, until the details are in view.
    QWidget* page = preview.findChild<QWidget*>(QStringLiteral("page"));
    const QPoint start(300, 400);
    QMouseEvent press(QEvent::MouseButtonPress, start, page->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &press);
    for (int step = 1; step <= 30; ++step) {
        const QPoint at =
            page->mapFromGlobal(page->mapToGlobal(start) - QPoint(0, step * kShotDragPixels / 30));
        QMouseEvent move(QEvent::MouseMove, at, page->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(page, &move);
        QCoreApplication::processEvents();
    }
    QMouseEvent release(QEvent::MouseButtonRelease, start, page->mapToGlobal(start), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(page, &release);
    QTest::qWait(200);
    preview.grab().save(path);
}

// One click, until the preview window is exposed and painted; then "< Back".
double oneRequest(CreateInvitation& request, BenchHost& host, StepTimes* steps = nullptr) {
    currentSteps = steps;
    QElapsedTimer timer;
    timer.start();
    request.run();
    QElapsedTimer shown;
    shown.start();
    if (!QTest::qWaitForWindowExposed(&host.preview, 5000))
        std::fprintf(stderr, "the preview window was not exposed\n");
    QCoreApplication::processEvents(); // the first paint
    const double ms = timer.nsecsElapsed() / 1e6;
    if (steps) {
        (*steps)[QStringLiteral("show")] += shown.nsecsElapsed() / 1e6;
        double known = 0;
        for (const auto& [step, time] : *steps)
            known += time;
        (*steps)[QStringLiteral("the rest (picture hand-over, files)")] = ms - known;
    }
    currentSteps = nullptr;
    host.preview.back(); // "< Back": deletes the document, main window again
    QTest::qWait(pauseBetweenClicks);
    return ms;
}

// The office the naive way: every session start starts an office process of its own, and the
// application object ends it again when released.
class FreshOfficePerUse : public office::Office {
    class OwnOfficeSession : public office::Session {
    public:
        OwnOfficeSession(std::unique_ptr<office::LibreOffice> office)
            : mOffice(std::move(office)), mSession(mOffice->startSession()) {}
        ~OwnOfficeSession() override { mSession.reset(); } // then the office process ends
        office::Document& open(const QString& path, bool readOnly) override {
            return mSession->open(path, readOnly);
        }
        office::Document& activeDocument() override { return mSession->activeDocument(); }
        void setDisplayAlerts(bool on) override { mSession->setDisplayAlerts(on); }
        void quit() override { mSession->quit(); }

    private:
        std::unique_ptr<office::LibreOffice> mOffice;
        std::unique_ptr<office::Session> mSession;
    };

public:
    std::unique_ptr<office::Session> startSession() override {
        return std::make_unique<OwnOfficeSession>(office::makeLibreOffice());
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
long residentKiB(const QString& pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The office processes serving this program (their pipe names carry our process id), and
// the memory of those in the serving office's process group (not a successor that is
// starting beside it).
struct Offices {
    int count = 0;
    long residentKiB = 0;
};
Offices officeProcesses(pid_t serving = 0) {
    const QByteArray ours = "name=festoria-" + QByteArray::number(::getpid()) + "-";
    Offices offices;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = cmdline.readAll();
        if (text.contains("soffice.bin") && text.contains(ours)) {
            ++offices.count;
            if (::getpgid(pid.toInt()) == serving)
                offices.residentKiB += residentKiB(pid);
        }
    }
    return offices;
}

// What the requests with the warm office measured.
struct WarmFigures {
    std::vector<double> times;
    std::map<QString, std::vector<double>> steps;
    std::vector<double> afterKill;
    std::vector<long> rssByFifty; // the program's memory after every fifty requests
    long rssAfter20 = 0;
    long rssAfterAll = 0;
    long officeAfter20 = 0;
    long officeAfterAll = 0;
    int mostOffices = 0;
    int fewestOffices = 1 << 30;
};

// The first request warms fonts, the template and the clipboard; it is not counted.
// FESTORIA_BENCH_SHOT=<file.png> keeps a picture of its preview window at 150 %, scrolled
// down to the details.
void warmUp(CreateInvitation& request, BenchHost& host) {
    request.run();
    (void)QTest::qWaitForWindowExposed(&host.preview, 5000);
    QTest::qWait(200);
    if (qEnvironmentVariableIsSet("FESTORIA_BENCH_SHOT"))
        keepPreviewShot(host.preview, qEnvironmentVariable("FESTORIA_BENCH_SHOT"));
    host.preview.back();
    QCoreApplication::processEvents();
}

// Runs and counts the i-th timed request.
void timedRequest(WarmFigures& figures, int i, CreateInvitation& request, BenchHost& host,
                  pid_t office) {
    // FESTORIA_BENCH_SLOW=<ms>: the click time above which a request's steps are shown.
    static const int asked = qEnvironmentVariableIntValue("FESTORIA_BENCH_SLOW");
    static const int slow = asked > 0 ? asked : 300;
    StepTimes times;
    const int officesBefore = officeProcesses(office).count;
    figures.times.push_back(oneRequest(request, host, &times));
    const Offices offices = officeProcesses(office);
    if (figures.times.back() > slow) {
        std::fprintf(stderr, "slow request %d: %.1f ms, offices %d then %d:", i + 1,
                     figures.times.back(), officesBefore, offices.count);
        for (const auto& [step, ms] : times)
            std::fprintf(stderr, " %s %.1f;", qPrintable(step), ms);
        std::fprintf(stderr, "\n");
    }
    for (const auto& [step, ms] : times)
        figures.steps[step].push_back(ms);
    figures.mostOffices = std::max(figures.mostOffices, offices.count);
    figures.fewestOffices = std::min(figures.fewestOffices, offices.count);
    if ((i + 1) % 50 == 0)
        figures.rssByFifty.push_back(residentKiB());
    if (i + 1 == 20) {
        figures.rssAfter20 = residentKiB();
        figures.officeAfter20 = offices.residentKiB;
    }
}

// The warm office: started once, as the program's start-up check does.
WarmFigures warmRequests(Prompts& prompts, Clipboard& clipboard, int runs) {
    WarmFigures figures;
    office::LibreOfficeOptions options;
    if (!qEnvironmentVariableIsSet("FESTORIA_BENCH_NO_AHEAD"))
        options.templateAhead = loadTemplateResource(); // as the program does
    auto office = office::makeLibreOffice(options);
    office->startSession()->quit();
    // The office prepares itself in its first idle moment after the start-up check (a
    // rehearsal of a request, a third of a second), while a user reads the window.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    WatchedOffice timed(*office);
    timeOfficeSteps(timed);
    BenchHost host(prompts, *office);
    CreateInvitation request(host, timed, prompts, clipboard);
    host.mainWindow.show();
    (void)QTest::qWaitForWindowExposed(&host.mainWindow);
    warmUp(request, host);
    for (int i = 0; i < runs; ++i)
        timedRequest(figures, i, request, host, office->processId());
    figures.rssAfterAll = residentKiB();
    figures.officeAfterAll = officeProcesses(office->processId()).residentKiB;

    // The office killed (crashed, out of memory) while the user reads the preview for 2 s.
    for (int i = 0; i < 5; ++i) {
        ::kill(-office->processId(), SIGKILL);
        QTest::qWait(2000);
        figures.afterKill.push_back(oneRequest(request, host));
    }
    return figures;
}

std::vector<double> naiveRequests(Prompts& prompts, Clipboard& clipboard, int runs) {
    FreshOfficePerUse office;
    BenchHost host(prompts, office);
    CreateInvitation request(host, office, prompts, clipboard);
    host.mainWindow.show();
    (void)QTest::qWaitForWindowExposed(&host.mainWindow);
    std::vector<double> naive;
    for (int i = 0; i < runs; ++i)
        naive.push_back(oneRequest(request, host));
    return naive;
}

void printWarm(const WarmFigures& f) {
    const std::vector<double>& warm = f.times;
    std::printf(
        "click to preview shown, warm office: median %.1f ms, min %.1f, max %.1f (%d runs)\n",
        median(warm), *std::min_element(warm.begin(), warm.end()),
        *std::max_element(warm.begin(), warm.end()), int(warm.size()));
    // Per fifty requests in a row: an office that slowed down with age would show here.
    std::printf("  medians by fifty:");
    for (size_t from = 0; from < warm.size(); from += 50) {
        const size_t to = std::min(warm.size(), from + 50);
        std::printf(" %.1f", median(std::vector<double>(warm.begin() + from, warm.begin() + to)));
    }
    std::printf("\n");
    std::printf("  step medians:");
    for (const auto& [step, times] : f.steps)
        std::printf(" %s %.1f;", qPrintable(step), median(times));
    std::printf("\n");
    // The same per fifty, for the steps that take time: which one slows down, if any.
    for (const auto& [step, times] : f.steps) {
        if (median(times) < 1.0)
            continue;
        std::printf("    %s by fifty:", qPrintable(step));
        for (size_t from = 0; from < times.size(); from += 50) {
            const size_t to = std::min(times.size(), from + 50);
            std::printf(" %.1f",
                        median(std::vector<double>(times.begin() + from, times.begin() + to)));
        }
        std::printf("\n");
    }
    std::printf("click 2 s after the office was killed: median %.1f ms, max %.1f (%d runs)\n",
                median(f.afterKill), *std::max_element(f.afterKill.begin(), f.afterKill.end()),
                int(f.afterKill.size()));
}

void printMemory(const WarmFigures& f) {
    const int runs = int(f.times.size());
    std::printf("program RSS: after 20 requests %.1f MB, after %d requests %.1f MB\n",
                f.rssAfter20 / 1024.0, runs, f.rssAfterAll / 1024.0);
    std::printf("  program RSS by fifty:");
    for (long kib : f.rssByFifty)
        std::printf(" %.1f", kib / 1024.0);
    std::printf(" MB\n");
    std::printf("serving office RSS: after 20 requests %.1f MB, after %d requests %.1f MB\n",
                f.officeAfter20 / 1024.0, runs, f.officeAfterAll / 1024.0);
}
} // namespace

int main(int argc, char** argv) {
    keepLargeBlocksInHeap(); // as the program does
    QApplication app(argc, argv);
    const int warmRuns = argc > 1 ? std::max(21, atoi(argv[1])) : 200;
    const int naiveRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    if (argc > 3)
        pauseBetweenClicks = std::max(0, atoi(argv[3]));

    QTemporaryDir temp;
    qputenv("TEMP", temp.path().toLocal8Bit());
    CountingPrompts prompts;
    QtClipboard clipboard;
    const WarmFigures warm = warmRequests(prompts, clipboard, warmRuns);
    QTest::qWait(500);
    const int officesAfter = officeProcesses().count;
    const std::vector<double> naive = naiveRequests(prompts, clipboard, naiveRuns);

    const QStringList left = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    printWarm(warm);
    std::printf("naive, fresh office per use: median %.1f ms (%d runs)\n", median(naive),
                int(naive.size()));
    std::printf("ratio naive / warm: %.1f\n", median(naive) / median(warm.times));
    printMemory(warm);
    std::printf("office processes during the warm requests: %d to %d; after the office ended: %d\n",
                warm.fewestOffices, warm.mostOffices, officesAfter);
    std::printf("error reports: %d; files left in TEMP: %s\n", prompts.reports,
                qPrintable(left.join(QStringLiteral(", "))));
    return 0;
}
