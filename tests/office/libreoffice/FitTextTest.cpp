// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting texts to the template's boxes at the length limit of the program's fields: a text
// that cannot fit even at the smallest size is reported and left as the fit promises (at that
// size, the box as large as it may be), and characters that take no room are not taken for
// ones that do.

#include "office/libreoffice/LibreOffice.h"
#include "support/office/OfficeDocuments.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

constexpr qsizetype kLimit = 32767; // what a field takes
constexpr int kTwip = 3;            // 1/100 mm: the saved file keeps sizes in twips

QString repeated(const QString& piece, qsizetype length = kLimit) {
    QString text;
    while (text.size() < length)
        text += piece;
    text.truncate(length);
    return text;
}

class FitTextTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        office = office::makeLibreOffice().release();
        blank = laidOutBoxes(*office, QStringLiteral(FESTORIA_TEMPLATE), false);
    }
    static void TearDownTestSuite() {
        delete office;
        office = nullptr;
    }

    // Fills every bookmark (the sample's texts where none is given), fits the request's
    // boxes and saves; returns the boxes reported too long.
    QStringList fillFitAndSave(const QMap<QString, QString>& texts, const QString& saved) {
        QMap<QString, QString> all = {{"bEvent", "Lobster Eating Party"},
                                      {"bWhen", " Saturday, August 21st, 2021  7:30 PM"},
                                      {"bWhere", " Haverhill MA"},
                                      {"bBring", "bib, meat extractors, cracking utensils"},
                                      {"bDrive", "Take 66 West to 267 West."},
                                      {"bRSVP", "jane.doe@example.com"}};
        all.insert(texts);
        auto session = office->startSession();
        office::Document& document = session->open(QStringLiteral(FESTORIA_TEMPLATE), true);
        for (auto it = all.cbegin(); it != all.cend(); ++it)
            document.setBookmarkText(it.key(), it.value());
        const QStringList reported = document.fitText(
            {{QStringLiteral("bEvent"), false, 14, 0, true}, {QStringLiteral("bWhen"), true, 7}});
        document.saveAs(saved);
        session->quit();
        return reported;
    }

    static inline office::LibreOffice* office = nullptr;
    static inline LaidOutPage blank;
};

TEST_F(FitTextTest, TextsAtTheLimitAreReportedAndLeftAsTheFitPromises) {
    const QString feast = repeated(QStringLiteral("Lobster feast by the lake, "));
    const struct {
        const char* what;
        QMap<QString, QString> texts;
        QStringList reported;
    } cases[] = {
        {"every field at its limit",
         {{"bEvent", feast},
          {"bWhen", feast},
          {"bWhere", feast},
          {"bBring", feast},
          {"bDrive", feast},
          {"bRSVP", feast}},
         {"bEvent", "bWhen"}},
        {"the directions at their limit", {{"bDrive", feast}}, {"bWhen"}},
        {"a name of narrow letters at its limit", {{"bEvent", repeated("il.")}}, {"bEvent"}},
        {"directions of letters held apart by joiners",
         {{"bDrive", repeated(QStringLiteral("W\u200D\u200D\u200D\u200D\u200D\u200D\u200D"))}},
         {"bWhen"}},
        {"directions of characters that take no room",
         {{"bDrive", QStringLiteral("Second left.") + repeated(QChar(0x200B), kLimit - 12)}},
         {}},
    };
    const QString saved = qEnvironmentVariable("TEMP") + QStringLiteral("/fitted.doc");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fillFitAndSave(c.texts, saved), c.reported);

        const LaidOutPage laid = laidOutBoxes(*office, saved, false);
        const LaidOutBox event = laid.boxes.value("event");
        const LaidOutBox details = laid.boxes.value("details");
        const QRect blankEvent = blank.boxes.value("event").box;
        EXPECT_NEAR(event.box.top(), blankEvent.top(), kTwip);
        EXPECT_NEAR(event.box.height(), blankEvent.height(), kTwip);
        EXPECT_EQ(event.points, c.reported.contains("bEvent") ? 14 : 30);
        if (c.reported.contains("bWhen")) {
            // As large as it may be: from just below "with us!" down to the page's margin.
            EXPECT_EQ(details.points, 7);
            EXPECT_NEAR(details.box.top(), laid.boxes.value("closing").box.bottom(), kTwip);
            EXPECT_NEAR(details.box.bottom(), laid.body.bottom(), kTwip);
        } else {
            EXPECT_EQ(details.points, 10) << "the box grows, the type stays";
        }
        const QString drive = c.texts.value("bDrive", "Take 66 West to 267 West.");
        EXPECT_TRUE(textsFromBookmarks(*office, saved).value("bDrive").left(drive.size()) == drive)
            << "every character typed is kept";
        QFile::remove(saved);
    }
}

} // namespace
