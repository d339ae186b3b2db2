// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saving from the preview on a warm office: the PDF export as the user waits for it (open
// the invitation hidden and read-only, export, close, put the file in place), its median
// and worst case; the .docx and .odt exports, the page as a 200 dpi PNG and JPEG, and
// printing (the office's PDF to a file) for comparison.
//
//     save_bench [--runs N]      (default 50 PDF exports)

#include "core/ReplaceFile.h"
#include "office/libreoffice/LibreOffice.h"
#include "output/Export.h"
#include "output/PageImage.h"
#include "output/Printout.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Figures {
    double median, worst;
};

Figures measure(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return {n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2, times.back()};
}

// A filled invitation, as the request leaves it in the temporary folder.
void makeInvitation(office::Office& office, const QString& path) {
    auto session = office.startSession();
    office::Document& doc =
        session->open(QStringLiteral(FESTORIA_SOURCE_DIR "/resources/template.dot"), true);
    const std::pair<const char*, const char*> texts[] = {
        {"bEvent", "Lobster Eating Party"},
        {"bWhen", "Saturday, August 21st, 2021  7:30 PM"},
        {"bWhere", "Haverhill MA"},
        {"bBring", "bib, meat extractors, cracking utensils, butter"},
        {"bDrive", "Take 66 West to 267 West, take the Wiehle exit heading north"},
        {"bRSVP", "jane.doe@example.com"}};
    for (const auto& [mark, text] : texts)
        doc.setBookmarkText(QString::fromLatin1(mark), QString::fromLatin1(text));
    doc.saveAs(path);
    doc.close();
    session->quit();
}

// The exports and the copy of the Word file, as saving makes them. FESTORIA_BENCH_KEEP=<path>
// keeps a copy of each export and picture at <path>.<extension>.
void measureSaves(office::Office& office, const QString& document, const QTemporaryDir& folder,
                  int runs) {
    const QString pdf = folder.filePath(QStringLiteral("party.pdf"));
    const Figures p =
        measure(runs, [&] { exportFileReplacing(office, document, pdf, SaveFormat::Pdf); });
    std::printf("PDF export, warm office: median %.1f ms, worst %.1f ms (%d runs, %lld bytes)\n",
                p.median, p.worst, runs, static_cast<long long>(QFileInfo(pdf).size()));
    const int few = std::max(1, runs / 5);
    for (const auto& [format, name] :
         {std::pair{SaveFormat::Docx, "docx"}, std::pair{SaveFormat::Odt, "odt"}}) {
        const QString path = folder.filePath(QStringLiteral("party.") + QLatin1String(name));
        const Figures f =
            measure(few, [&] { exportFileReplacing(office, document, path, format); });
        std::printf(".%s export: median %.1f ms, worst %.1f ms (%d runs, %lld bytes)\n", name,
                    f.median, f.worst, few, static_cast<long long>(QFileInfo(path).size()));
        if (qEnvironmentVariableIsSet("FESTORIA_BENCH_KEEP"))
            QFile::copy(path, qEnvironmentVariable("FESTORIA_BENCH_KEEP") + u'.' + name);
    }
    const Figures c = measure(
        few, [&] { copyFileReplacing(document, folder.filePath(QStringLiteral("party.doc"))); });
    std::printf(".doc copy: median %.2f ms, worst %.2f ms (%d runs)\n", c.median, c.worst, few);
}

// The page as a picture at 200 dpi (1700 x 2200 pixels), drawn by the office, encoded and put
// in place, as saving a PNG or JPEG does.
void measureImages(office::Office& office, const QString& document, const QTemporaryDir& folder,
                   int runs) {
    for (const auto& [format, name] :
         {std::pair{SaveFormat::Png, "png"}, std::pair{SaveFormat::Jpeg, "jpg"}}) {
        const QString path = folder.filePath(QStringLiteral("party.") + QLatin1String(name));
        const Figures f =
            measure(runs, [&] { saveImageReplacing(office, document, path, format); });
        std::printf(".%s image at %d dpi: median %.1f ms, worst %.1f ms (%d runs, %lld bytes)\n",
                    name, kImageDpi, f.median, f.worst, runs,
                    static_cast<long long>(QFileInfo(path).size()));
        if (qEnvironmentVariableIsSet("FESTORIA_BENCH_KEEP"))
            QFile::copy(path, qEnvironmentVariable("FESTORIA_BENCH_KEEP") + u'.' + name);
    }
}

// Printing to a PDF file as the print menu does it: the office's PDF, written privately,
// checked, put in place.
void measurePrint(office::Office& office, const QString& document, const QTemporaryDir& folder,
                  int runs) {
    const QString printed = folder.filePath(QStringLiteral("printed.pdf"));
    const Figures r = measure(runs, [&] { printPageToFile(office, document, printed); });
    std::printf("print (the office's PDF to a file): median %.1f ms, worst %.1f ms (%d runs)\n",
                r.median, r.worst, runs);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 50;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[++i].toInt());

    QTemporaryDir folder;
    const QString document = folder.filePath(QStringLiteral("qorvel12345678.doc"));
    auto office = office::makeLibreOffice();
    office->startSession()->quit(); // warm, as after the start-up check
    makeInvitation(*office, document);
    // The first export loads the filter and the fonts; the figures are for the ones after it.
    exportFileReplacing(*office, document, folder.filePath(QStringLiteral("warm-up.pdf")),
                        SaveFormat::Pdf);
    measureSaves(*office, document, folder, runs);
    measureImages(*office, document, folder, std::max(1, runs / 2));
    measurePrint(*office, document, folder, std::max(1, runs / 5));
    return 0;
}
