// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office engine's figures: a session start on a warm engine, a cold start, a whole warm
// round (start a session, open the template, fill six bookmarks, save as, close, quit)
// beside a cold one (a fresh office per round), the time that making the filled texts fit
// their boxes adds to a round (also with every field at its limit), and the serving office's
// memory over many requests, with the office renewed after its share of sessions and without.
//
//     office_bench [--template path.dot] [--requests N] [--pause ms] [--memory-only]
//     FESTORIA_BENCH_FIT_ONLY=1 office_bench     stops after the fit's figures
//
// The memory part makes N requests as a click does (default 200), each followed by a pause
// as a user reads the preview (default 300 ms): the office does its idle work and starts a
// successor only in such pauses. office_bench --memory-only --requests 2000 gives the long
// run (22 minutes on this 2-core machine).

#include "office/libreoffice/LibreOffice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double millisecondsOf(const std::function<void()>& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Resident memory of every process in the office's process group, in KiB.
long officeMemoryKiB(pid_t group) {
    long total = 0;
    for (const QString& entry :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number || ::getpgid(pid) != group)
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                total += line.mid(6).trimmed().split(' ').front().toLong();
    }
    return total;
}

const char* const kBookmarks[] = {"bEvent", "bWhen", "bWhere", "bBring", "bDrive", "bRSVP"};

// The request's fit: the event's name within its box, the details box may grow.
const QList<office::TextFit> kTextFits = {{QStringLiteral("bEvent"), false, 14},
                                          {QStringLiteral("bWhen"), true, 7}};

void round(office::Office& office, const QString& dot, const QString& out) {
    auto word = office.startSession();
    office::Document& doc = word->open(dot, true);
    for (const char* name : kBookmarks)
        doc.setBookmarkText(QString::fromLatin1(name),
                            QStringLiteral("Some text for ") + QString::fromLatin1(name));
    doc.saveAs(out);
    word->setDisplayAlerts(false);
    doc.close();
    word->quit();
}

// The invitation's details, with the event's name and the driving directions of one case.
void fill(office::Document& doc, const QString& event, const QString& drive) {
    doc.setBookmarkText(QStringLiteral("bEvent"), event);
    doc.setBookmarkText(QStringLiteral("bWhen"),
                        QStringLiteral(" Saturday, August 21st, 2021  7:30 PM"));
    doc.setBookmarkText(QStringLiteral("bWhere"), QStringLiteral(" Haverhill MA"));
    doc.setBookmarkText(QStringLiteral("bBring"),
                        QStringLiteral("bib, meat extractors, cracking utensils, butter"));
    doc.setBookmarkText(QStringLiteral("bDrive"), drive);
    doc.setBookmarkText(QStringLiteral("bRSVP"), QStringLiteral("jane.doe@example.com"));
}

const QString kSampleDrive = QStringLiteral(
    "Take 66 West to 267 West, take the Wiehle exit heading north (make a right off the exit), "
    "stay on Wiehle for approximately 3 miles until you pass the Baron Cameron intersection.");

// How long fitting the texts takes, from texts that fit to directions far too long.
void fitFigures(office::Office& office, const QString& dot) {
    const QString& sampleDrive = kSampleDrive;
    QString longDrive;
    while (longDrive.size() < 2000)
        longDrive += QStringLiteral("Keep straight on past the mill, the church and the school, ");
    longDrive.truncate(2000);
    const struct {
        const char* what;
        QString event, drive;
    } cases[] = {
        {"texts that fit", QStringLiteral("Gala"), QStringLiteral("Second left.")},
        {"sample data (the box grows)", QStringLiteral("Lobster Eating Party"), sampleDrive},
        {"41-character name (type steps down)",
         QStringLiteral("Annual Company Summer Picnic and Barbecue"), sampleDrive},
        {"70-character name",
         QStringLiteral("Grand Reopening Celebration of the New Riverside Community Arts Centre"),
         sampleDrive},
        {"2,000 characters of directions (too long)", QStringLiteral("Lobster Eating Party"),
         longDrive},
    };
    for (const auto& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < 25; ++i) {
            auto word = office.startSession();
            office::Document& doc = word->open(dot, true);
            fill(doc, c.event, c.drive);
            times.push_back(millisecondsOf([&] { doc.fitText(kTextFits); }));
            doc.close();
            word->quit();
        }
        std::printf("fitting the texts, %-42s median %6.2f ms, max %6.2f ms  (25 rounds)\n", c.what,
                    median(times), *std::max_element(times.begin(), times.end()));
    }
}

// The worst a user can type: every field at its limit of 32,767 characters, filled and then
// fitted (which reports every box too long); also of characters that fonts draw as boxes or
// as nothing.
void longestTextFigures(office::Office& office, const QString& dot) {
    const struct {
        const char* what;
        QString piece;
    } cases[] = {
        {"words", QStringLiteral("Lobster feast by the lake, ")},
        {"private-use characters", QString(QChar(0xE000))},
        {"unassigned characters", QString(QChar(0x0378))},
        {"letters between joiners", QStringLiteral("W\u200D\u200D\u200D\u200D\u200D\u200D\u200D")},
    };
    for (const auto& c : cases) {
        QString longest;
        while (longest.size() < 32767)
            longest += c.piece;
        longest.truncate(32767);
        std::vector<double> fills, fits;
        for (int i = 0; i < 3; ++i) {
            auto word = office.startSession();
            office::Document& doc = word->open(dot, true);
            fills.push_back(millisecondsOf([&] {
                for (const char* name : kBookmarks)
                    doc.setBookmarkText(QString::fromLatin1(name), longest);
            }));
            fits.push_back(millisecondsOf([&] { doc.fitText(kTextFits); }));
            doc.close();
            word->quit();
        }
        std::printf("every field at 32,767 %-24s filling median %8.2f ms, fitting median "
                    "%8.2f ms  (3 rounds)\n",
                    c.what, median(fills), median(fits));
    }
}

// The speed figures; false when FESTORIA_BENCH_FIT_ONLY asks to stop after the fit's.
bool speedFigures(const QString& dot, const QString& out) {
    auto office = office::makeLibreOffice();
    office->startSession()->quit(); // warm up: start the office once

    std::vector<double> w1;
    for (int i = 0; i < 50; ++i) {
        std::unique_ptr<office::Session> word;
        w1.push_back(millisecondsOf([&] { word = office->startSession(); }));
        word->quit();
    }
    std::printf("session start on a warm engine: median %8.2f ms  (50 calls)\n", median(w1));

    std::vector<double> warm;
    for (int i = 0; i < 5; ++i)
        round(*office, dot, out);
    for (int i = 0; i < 50; ++i)
        warm.push_back(millisecondsOf([&] { round(*office, dot, out); }));
    const double warmMedian = median(warm);
    std::printf(
        "warm round (start, open, fill x6, save, close, quit): median %8.2f ms  (50 rounds)\n",
        warmMedian);
    fitFigures(*office, dot);
    longestTextFigures(*office, dot);
    if (qEnvironmentVariableIsSet("FESTORIA_BENCH_FIT_ONLY"))
        return false;
    office.reset();

    std::vector<double> coldStart, coldRound;
    for (int i = 0; i < 5; ++i) {
        auto fresh = office::makeLibreOffice();
        coldStart.push_back(millisecondsOf([&] { fresh->startSession()->quit(); }));
    }
    for (int i = 0; i < 5; ++i)
        coldRound.push_back(millisecondsOf([&] {
            auto fresh = office::makeLibreOffice();
            round(*fresh, dot, out);
        }));
    std::printf("cold start to the first answer: median %8.2f ms  (5 starts)\n", median(coldStart));
    std::printf("cold round (a fresh office):     median %8.2f ms  (5 rounds)\n",
                median(coldRound));
    std::printf("cold round / warm round:                %8.1f x\n",
                median(coldRound) / warmMedian);
    return true;
}

// A request as a click makes it: the template filled with the sample's details, fitted and
// saved in one session; the saved document reopened and its page drawn at the preview's size
// in a second.
void request(office::Office& office, const QString& dot, const QString& out) {
    {
        auto word = office.startSession();
        office::Document& doc = word->open(dot, true);
        fill(doc, QStringLiteral("Lobster Eating Party"), kSampleDrive);
        doc.fitText(kTextFits);
        doc.saveAs(out);
        doc.close();
        word->quit();
    }
    auto word = office.startSession();
    office::Document& saved = word->open(out, false);
    saved.renderPicture(816, 0.5);
    saved.close();
    word->quit();
}

// The serving office's memory after `requests` requests, at a few points on the way.
void memoryFigures(const char* how, office::LibreOfficeOptions options, const QString& dot,
                   const QString& out, int requests, std::chrono::milliseconds pause) {
    options.templateAhead = [&] {
        QFile file(dot);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const auto office = office::makeLibreOffice(options);
    office->startSession()->quit(); // the start-up check
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const QList<int> points = {10, 50, 100, 200, 500, 1000, 1500, 2000};
    QSet<pid_t> offices;
    long after10 = 0;
    double worst = 0;
    for (int i = 1; i <= requests; ++i) {
        request(*office, dot, out);
        offices.insert(office->processId());
        std::this_thread::sleep_for(pause);
        if (!points.contains(i) && i != requests)
            continue;
        const long kib = officeMemoryKiB(office->processId());
        if (i == 10)
            after10 = kib;
        worst = std::max(worst, double(kib) / double(std::max(after10, 1L)));
        std::printf("%s: office memory after %5d requests: %7.1f MiB (%.2f x the 10th)\n", how, i,
                    kib / 1024.0, double(kib) / double(std::max(after10, 1L)));
        std::fflush(stdout);
    }
    std::printf("%s: %lld offices served %d requests; highest of the ratios above: %.2f x\n", how,
                static_cast<long long>(offices.size()), requests, worst);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString dot = QStringLiteral(FESTORIA_SOURCE_DIR "/resources/template.dot");
    int requests = 200;
    std::chrono::milliseconds pause{300};
    bool memoryOnly = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--memory-only"))
            memoryOnly = true;
        else if (i + 1 == args.size())
            break;
        else if (args[i] == QLatin1String("--template"))
            dot = args[++i];
        else if (args[i] == QLatin1String("--requests"))
            requests = std::max(10, args[++i].toInt());
        else if (args[i] == QLatin1String("--pause"))
            pause = std::chrono::milliseconds(std::max(0, args[++i].toInt()));
    }
    if (!QFile::exists(dot)) {
        std::fprintf(stderr, "office_bench: no template at %s\n", qPrintable(dot));
        return 1;
    }
    QTemporaryDir work;
    const QString out = work.filePath(QStringLiteral("filled.doc"));

    try {
        if (!memoryOnly && !speedFigures(dot, out))
            return 0;
        memoryFigures("renewed every 100 sessions", {}, dot, out, requests, pause);
        office::LibreOfficeOptions noRenewal;
        noRenewal.sessionsPerOffice = 1 << 30;
        memoryFigures("never renewed", noRenewal, dot, out, requests, pause);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "office_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
