// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The request against the real office: the saved document's bookmarks hold exactly the
// texts, the picture shows the page at its logical size, and only the document is left.
#include "core/Files.h"
#include "invitation/InvitationText.h"
#include "invitation/RequestFakes.h"
#include "invitation/Template.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/LibreOffice.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompts.h"
#include "support/office/OfficeDocuments.h"
#include "widgets/QtClipboard.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

using Field = InvitationHost::Field;

namespace {
office::LibreOffice& sharedOffice() {
    // The usual mask, under which new files are readable by all: the office's must not be.
    static const mode_t usualMask = (::umask(022), 022);
    (void)usualMask;
    static std::unique_ptr<office::LibreOffice> office = office::makeLibreOffice();
    return *office;
}

// A line break put into the document (CR LF, a bare CR or a bare LF) is one new line, which
// reads back as "\n".
QString asParagraphs(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

class OfficeRequestTest : public ::testing::Test {
protected:
    OfficeRequestTest() : request(host, sharedOffice(), prompts, clipboard) {
        request.setTemplateSource(&loadTemplateResource);
        host.texts = {{Field::EventName, "Lobster Eating Party"},
                      {Field::Location, "Haverhill MA"},
                      {Field::Items, "bib, meat extractors, cracking utensils, butter"},
                      {Field::Drive, "Take 66 West to 267 West, take the Wiehle exit heading "
                                     "north (make a right off the exit), stay on Wiehle for "
                                     "approximately 3 miles until you pass the Baron Cameron "
                                     "intersection."},
                      {Field::RSVP, "jane.doe@example.com"}};
    }

    QMap<QString, QString> expectedTexts() const {
        return {{"bEvent", invitation::eventText(host.texts.value(Field::EventName))},
                {"bWhen", whenTextOf(host.date, host.time)},
                {"bWhere", invitation::whereText(host.texts.value(Field::Location))},
                {"bBring", host.texts.value(Field::Items)},
                {"bDrive", host.texts.value(Field::Drive)},
                {"bRSVP", host.texts.value(Field::RSVP)}};
    }

    void expectBookmarksHoldExactly(const QMap<QString, QString>& expected) {
        const QMap<QString, QString> found =
            textsFromBookmarks(sharedOffice(), request.documentPath());
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            ASSERT_TRUE(found.contains(it.key())) << it.key().toStdString();
            const QString want = asParagraphs(it.value());
            const QString got = found.value(it.key()).left(want.size());
            EXPECT_TRUE(got == want)
                << it.key().toStdString() << ": «" << got.left(300).toStdString() << "»";
        }
    }

    ScopedTemp temp;
    FakeHost host;
    QtClipboard clipboard;
    ScriptedPrompts prompts;
    CreateInvitation request;
};

int inkPixels(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    int ink = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qGray(line[x]) < 160)
                ++ink;
    }
    return ink;
}
} // namespace

TEST_F(OfficeRequestTest, TheSampleEventBecomesADocumentAndItsPicture) {
    host.date = QDate(2021, 8, 21);
    host.time = QTime(19, 30);
    request.run();

    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(temp.entries(), QStringList({QFileInfo(request.documentPath()).fileName()}));
    EXPECT_EQ(host.calls, QStringList({"hourglass on", "hourglass off", "picture", "document",
                                       "show", "hide"}));
    EXPECT_EQ(host.document, request.documentPath());
    EXPECT_EQ(QFileInfo(request.documentPath()).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser)
        << "the user's details are for the user's eyes only, like the template";
    expectBookmarksHoldExactly(expectedTexts());

    const QImage& picture = host.picture;
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(816, 1056));
    EXPECT_EQ(qRound(picture.width() * 1440 * 39.3701 / picture.dotsPerMeterX()), 6120);
    EXPECT_EQ(qRound(picture.height() * 1440 * 39.3701 / picture.dotsPerMeterY()), 7920);
    const int ink = inkPixels(picture);
    EXPECT_GT(ink, 2000) << "the picture is blank";
    EXPECT_LT(ink, picture.width() * picture.height() * 9 / 10);
    if (qEnvironmentVariableIsSet("FESTORIA_PREVIEW_OUT"))
        picture.save(qEnvironmentVariable("FESTORIA_PREVIEW_OUT"));

    // The clipboard holds the document's picture afterwards.
    const auto onClipboard = clipboard.read();
    ASSERT_TRUE(onClipboard.has_value());
    EXPECT_EQ(onClipboard->picture.size(), QSize(816, 1056));
}

// A click that finds the template open ahead makes the same document and the same picture,
// pixel for pixel, as one that opens the template itself.
TEST_F(OfficeRequestTest, TheTemplateOpenedAheadMakesTheSameInvitation) {
    request.run();
    office::LibreOfficeOptions options;
    options.templateAhead = loadTemplateResource();
    const auto ahead = office::makeLibreOffice(options);
    ahead->startSession()->quit(); // as at start-up
    for (int i = 0; i < 300 && !ahead->engine().templateAheadOpen(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    FakeHost aheadHost;
    aheadHost.texts = host.texts;
    CreateInvitation aheadRequest(aheadHost, *ahead, prompts, clipboard);
    aheadRequest.run();

    EXPECT_EQ(ahead->engine().templatesTakenAhead(), 1);
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(aheadHost.picture.convertToFormat(QImage::Format_RGB32),
              host.picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(textsFromBookmarks(sharedOffice(), aheadRequest.documentPath()),
              textsFromBookmarks(sharedOffice(), request.documentPath()));
}

TEST_F(OfficeRequestTest, AwkwardInputArrivesExactly) {
    const int longSize = qEnvironmentVariableIntValue("FESTORIA_LONG_TEXT") > 0
                             ? qEnvironmentVariableIntValue("FESTORIA_LONG_TEXT")
                             : 20000;
    QString huge;
    while (huge.size() < longSize)
        huge += QStringLiteral("Lobster \u00e9\u0301 feast; ");
    host.texts = {
        {Field::EventName, QString::fromUtf8("  Gala \u0645\u0631\u062d\u0628\u0627 \U0001F389  ")},
        {Field::Location, QString::fromUtf8("\u05ea\u05dc \u05d0\u05d1\u05d9\u05d1 \U0001F99E "
                                            "\u0627\u0644\u0642\u0627\u0647\u0631\u0629")},
        {Field::Items, "tab\there { MERGEFIELD Name } {\\*\\bkmkstart x} \\ end " + huge},
        {Field::Drive, "left\r\nthen right\rthen\nstraight"},
        {Field::RSVP, QString::fromUtf8("\U0001F600 n\u0303o\u200d z\u0336")},
    };
    for (const auto& [date, time] :
         {std::pair{QDate(1601, 1, 1), QTime(0, 0)}, std::pair{QDate(9999, 12, 31), QTime(23, 59)},
          std::pair{QDate(2024, 2, 29), QTime(12, 0)}}) {
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        host.date = date;
        host.time = time;
        prompts.clear();
        request.run();
        // All of it is in the document, though far more than the invitation can show.
        EXPECT_EQ(prompts.reportLines(), QList<int>({131}));
        expectBookmarksHoldExactly(expectedTexts());
        QFile::remove(request.documentPath());
    }
}

// A location of 32,767 characters goes into the document whole, with the space the program
// puts before it (it is too long for its box, which is reported); a megabyte of what to bring
// is one report, and the rest of the invitation is made.
TEST_F(OfficeRequestTest, TypedTextsUpToTheLimitGoInAndLongerOnesAreOneReport) {
    const std::tuple<Field, const char*, qsizetype, int> cases[] = {
        {Field::Location, "bWhere", kMaxTypedTextLength, 131},
        {Field::Items, "bBring", 1 << 20, 126}};
    const auto sample = host.texts;
    for (const auto& [field, bookmark, length, reportLine] : cases) {
        SCOPED_TRACE(bookmark);
        host.texts = sample;
        host.texts[field] = QString(length, QLatin1Char('b'));
        prompts.clear();
        request.run();

        EXPECT_EQ(prompts.reportLines(), QList<int>{reportLine});
        QMap<QString, QString> expected = expectedTexts();
        if (length > kMaxTypedTextLength)
            expected.remove(bookmark);
        expectBookmarksHoldExactly(expected);
        EXPECT_EQ(host.picture.size(), QSize(816, 1056));
        EXPECT_EQ(temp.entries(), QStringList({QFileInfo(request.documentPath()).fileName()}));
        QFile::remove(request.documentPath());
    }
}

TEST_F(OfficeRequestTest, ATemplateLeftFromAnEarlierRunIsUsedAndNothingButTheDocumentStays) {
    writeFileNoFollow(temp.file("template.dot"), loadTemplateResource());
    request.run();
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(temp.entries(), QStringList({QFileInfo(request.documentPath()).fileName()}));
}

// 1/100 mm: the saved file keeps sizes in twips.
constexpr int kTwip = 3;

void expectSameBox(const QRect& saved, const QRect& blank) {
    EXPECT_NEAR(saved.left(), blank.left(), kTwip);
    EXPECT_NEAR(saved.top(), blank.top(), kTwip);
    EXPECT_NEAR(saved.width(), blank.width(), kTwip);
    EXPECT_NEAR(saved.height(), blank.height(), kTwip);
}

// Every detail typed is readable in the saved document: boxes that the texts outgrow grow or
// take smaller type, read back from the saved file's own layout in a fresh document.
TEST_F(OfficeRequestTest, EveryTypedDetailFitsItsBoxInTheSavedDocument) {
    const QString sampleName = host.texts.value(Field::EventName);
    const QString sampleDrive = host.texts.value(Field::Drive);
    const QString threeMore = QStringLiteral(
        " At the second light turn left onto Old Mill Road and follow it past the red "
        "barn. Park on the gravel lot beside the big oak tree. Walk down the path to "
        "the lake, where the party is.");
    QString twoThousand;
    while (twoThousand.size() < 2000)
        twoThousand +=
            QStringLiteral("Keep straight on past the mill, the church and the school, ");
    twoThousand.truncate(2000);
    const QString tooLong = QStringLiteral("The driving directions are too long to fit on the "
                                           "invitation; shorten them and create it again.");
    enum Expect { Unchanged, Fitted, TooLong };
    const QString everyFieldLong = QStringLiteral("A dessert to share, sunscreen, a folding chair, "
                                                  "a warm jacket for the evening and an old family "
                                                  "photo for the memory table");
    const struct {
        const char* what;
        QString name, drive;
        Expect expect;
        QMap<Field, QString> more = {};
    } cases[] = {
        {"short texts", QStringLiteral("Gala"), QStringLiteral("Second left."), Unchanged},
        {"sample data", sampleName, sampleDrive, Fitted},
        {"41-character name", QStringLiteral("Annual Company Summer Picnic and Barbecue"),
         sampleDrive, Fitted},
        {"70-character name",
         QStringLiteral("Grand Reopening Celebration of the New Riverside Community Arts Centre"),
         sampleDrive, Fitted},
        {"three more sentences", sampleName, sampleDrive + threeMore, Fitted},
        {"2,000 characters of directions", sampleName, twoThousand, TooLong},
        {"every field long",
         QStringLiteral("The Hendersons' Fiftieth Anniversary Garden Party!!"),
         sampleDrive + threeMore,
         Fitted,
         {{Field::Location, QStringLiteral("The Old Boathouse, 12 Lakeside Promenade, North "
                                           "Shore, Haverhill MA 01830")},
          {Field::Items, everyFieldLong},
          {Field::RSVP, QStringLiteral("Margaret Henderson, margaret.henderson@example.com, "
                                       "555-0142 by August 1st")}}},
        {"long Chinese name", QStringLiteral("二零二一年夏季家庭团聚烧烤派对暨生日庆祝会"),
         sampleDrive, Fitted},
    };
    const QString blankPath = temp.file("blank.dot");
    writeFileNoFollow(blankPath, loadTemplateResource());
    const LaidOutPage blank = laidOutBoxes(sharedOffice(), blankPath);
    QFile::remove(blankPath);
    const auto sampleTexts = host.texts;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host.texts = sampleTexts;
        host.texts[Field::EventName] = c.name;
        host.texts[Field::Drive] = c.drive;
        for (auto more = c.more.begin(); more != c.more.end(); ++more)
            host.texts[more.key()] = more.value();
        if (c.expect == Unchanged) {
            host.texts[Field::Items] = QStringLiteral("Salad");
            host.texts[Field::RSVP] = QStringLiteral("Ann");
        }
        prompts.clear();
        request.run();

        if (c.expect == TooLong) {
            ASSERT_EQ(prompts.reportLines(), QList<int>({131}));
            EXPECT_TRUE(prompts.reports().at(0).startsWith(tooLong + "\r\n"));
        } else {
            EXPECT_EQ(prompts.reports(), QStringList());
        }
        ASSERT_TRUE(host.calls.endsWith("hide")) << "the invitation is made";
        expectBookmarksHoldExactly(expectedTexts());

        const LaidOutPage laid = laidOutBoxes(sharedOffice(), request.documentPath());
        const LaidOutBox event = laid.boxes.value("event"), details = laid.boxes.value("details");
        for (const LaidOutBox& box : {event, details}) {
            EXPECT_TRUE(QRect(QPoint(0, 0), laid.page).contains(box.box));
            EXPECT_LE(box.box.bottom(), laid.body.bottom());
        }
        EXPECT_LE(event.contentHeight, event.box.height());
        if (c.expect != TooLong) {
            EXPECT_LE(details.contentHeight, details.box.height());
        }
        EXPECT_GE(details.box.top(), laid.boxes.value("closing").box.bottom())
            << "the details box stays below \"with us!\"";
        EXPECT_NEAR(details.box.left(), blank.boxes.value("details").box.left(), kTwip);
        EXPECT_NEAR(details.box.width(), blank.boxes.value("details").box.width(), kTwip);
        expectSameBox(event.box, blank.boxes.value("event").box);
        EXPECT_GE(event.points, 14);
        EXPECT_GE(details.points, 7);
        if (c.name == sampleName) {
            EXPECT_EQ(event.points, 30);
        }
        if (c.expect != TooLong) {
            // office_template_tests shows that band clear of stars on the drawn page
            EXPECT_GE(details.box.top(), detailsClearTop() - kTwip)
                << "the details grow only where the page is clear of stars";
        }
        if (c.expect == Unchanged) {
            expectSameBox(details.box, blank.boxes.value("details").box);
            EXPECT_EQ(event.points, 30);
            EXPECT_EQ(details.points, 10);
        }
        if (c.expect == TooLong) {
            EXPECT_EQ(details.points, 7);
        }
        QFile::remove(request.documentPath());
    }
}

// Characters a document cannot hold go, and the rest of the field stays; every kind of line
// break is a new line of the same paragraph, with the look of the line it breaks (the event
// name's purple capitals).
// Details in the world's scripts are drawn with real glyphs: the office's PDF of the
// invitation holds each text as text, which a box for a missing glyph would not be.
TEST_F(OfficeRequestTest, EveryScriptIsDrawnWithItsOwnGlyphs) {
    const QString texts[] = {
        QStringLiteral("中文派对"), QStringLiteral("日本語です"), QStringLiteral("한국어 음식"),
        QStringLiteral("שלום"),     QStringLiteral("مرحبا"),      QStringLiteral("Привет"),
        QStringLiteral("Ελληνικά"), QStringLiteral("สวัสดี"),       QStringLiteral("🎉😀")};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        host.texts[Field::Items] = text;
        prompts.clear();
        request.run();
        EXPECT_EQ(prompts.shown.size(), 0) << "no character without a font";
        const QString pdf = temp.file(QStringLiteral("scripts.pdf"));
        {
            auto session = sharedOffice().startSession();
            office::Document& document = session->open(request.documentPath(), true);
            document.exportTo(pdf, office::ExportFormat::Pdf);
            document.close();
            session->quit();
        }
        QProcess toText;
        toText.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_TRUE(toText.waitForFinished(30000));
        // pdftotext may space a combining mark off its letter (Thai): spaces do not count.
        const QRegularExpression space(QStringLiteral("\\s"));
        const QString drawn = QString::fromUtf8(toText.readAllStandardOutput()).remove(space);
        EXPECT_TRUE(drawn.contains(text.toUpper().remove(space)));
        QFile::remove(pdf);
        QFile::remove(request.documentPath());
    }
}

TEST_F(OfficeRequestTest, ControlCharactersAndLineBreaksReadBackFromTheDocument) {
    const QChar nul(0);
    const struct {
        Field field;
        const char* bookmark;
        QString typed;
        QString stored; // as read back, after the bookmark's own leading text
    } cases[] = {
        {Field::Location, "bWhere",
         QStringLiteral("A\x01"
                        "B"),
         QStringLiteral(" AB")},
        {Field::Items, "bBring",
         QStringLiteral("A\x0b"
                        "B\x0c"
                        "C"),
         QStringLiteral("A B C")},
        {Field::Drive, "bDrive",
         QStringLiteral("esc\x1b"
                        "aped\x7f tab\tkept ") +
             QChar(0xD800) + QStringLiteral("lone"),
         QStringLiteral("escaped\x7f tab\tkept lone")},
        {Field::RSVP, "bRSVP", QStringLiteral("ann") + nul + QStringLiteral("@example.org\x1f"),
         QStringLiteral("ann@example.org")},
        {Field::EventName, "bEvent",
         QStringLiteral("One\r\nTwo\rThree\nFour") + QChar(0x2028) + QStringLiteral("Five"),
         QStringLiteral("One\nTwo\nThree\nFour\nFive")},
    };
    for (const auto& c : cases)
        host.texts[c.field] = c.typed;
    request.run();
    // Five lines of name do not fit the name's box even at its smallest type: that alone is
    // reported, and the text is kept whole.
    EXPECT_EQ(prompts.reportLines(), QList<int>{131});

    const QMap<QString, QString> found = textsFromBookmarks(sharedOffice(), request.documentPath());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bookmark);
        EXPECT_EQ(found.value(c.bookmark).left(c.stored.size()), c.stored)
            << found.value(c.bookmark).left(100).toStdString();
        EXPECT_FALSE(found.value(c.bookmark).left(c.stored.size() + 1).endsWith(QChar(0x1f)));
    }
    const LineLooks looks = lineLooksAtBookmark(sharedOffice(), request.documentPath(), "bEvent");
    EXPECT_FALSE(looks.afterBreak.isEmpty());
    EXPECT_EQ(looks.afterBreak, looks.first);
    EXPECT_TRUE(looks.first.endsWith(" 1")) << "capitals: " << looks.first.toStdString();
}

// The office opens and saves in a folder with non-ASCII letters even when the user's locale
// is plain C (or one that is not installed).
TEST(OfficeLocale, ANonAsciiTemporaryFolderWorksUnderTheCLocale) {
    ScopedVariable all("LC_ALL");
    ScopedVariable lang("LANG");
    ScopedTemp temp;
    for (const char* locale : {"C", "xx_YY.UTF-8"}) {
        SCOPED_TRACE(locale);
        all.set(locale);
        lang.set(locale);
        const QString folder = temp.file(
            QString::fromUtf8("F\u00eate \u00e0 Z\u00fcrich \u2713 %1").arg(QLatin1String(locale)));
        ASSERT_TRUE(QDir().mkpath(folder));
        temp.set(QFile::encodeName(folder));
        {
            const auto office = office::makeLibreOffice(); // started under that locale
            FakeHost host;
            QtClipboard clipboard;
            ScriptedPrompts prompts;
            CreateInvitation request(host, *office, prompts, clipboard);
            request.setTemplateSource(&loadTemplateResource);
            host.texts = {{Field::EventName, QStringLiteral("Caf\u00e9 night")}};
            request.run();
            EXPECT_EQ(prompts.reports(), QStringList()) << prompts.reports().value(0).toStdString();
            EXPECT_TRUE(request.documentPath().startsWith(folder + "/"));
            EXPECT_TRUE(host.calls.endsWith("hide"));
            EXPECT_EQ(textsFromBookmarks(*office, request.documentPath()).value("bEvent").left(10),
                      QStringLiteral("Caf\u00e9 night"));
        }
    }
}
