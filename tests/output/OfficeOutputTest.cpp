// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Saving, printing and sending by email against the real office: every format is made from
// a sample invitation and read back as what it claims to be (the .docx and .odt carrying the
// invitation's font); the printout is the office's one US Letter page, with its text as
// text; the mail program is handed a one-page PDF of the invitation.
#include "core/Files.h"
#include "core/Product.h"
#include "invitation/InvitationText.h"
#include "invitation/RequestFakes.h"
#include "invitation/Template.h"
#include "office/libreoffice/LibreOffice.h"
#include "output/Export.h"
#include "output/Outbox.h"
#include "output/PageImage.h"
#include "output/PrintQueue.h"
#include "output/Printout.h"
#include "preview/PreviewCommands.h"
#include "preview/PreviewWindow.h"
#include "support/MailDesktop.h"
#include "support/QtPrinting.h"
#include "support/SamePage.h"
#include "support/ScriptedPrompts.h"
#include "support/office/OfficeDocuments.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/mount.h>

using Field = InvitationHost::Field;

namespace {
office::LibreOffice& sharedOffice() {
    static std::unique_ptr<office::LibreOffice> office = office::makeLibreOffice();
    return *office;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The output of a poppler tool; empty when it fails.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Checks a PDF: one page of 612 x 792 points, every font embedded, the invitation's
// Palatino-style face among them, and ink on the page.
void expectOneLetterPage(const QString& path, bool officeFonts) {
    EXPECT_TRUE(readAll(path).startsWith("%PDF-")) << path.toStdString();
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+612 x 792 pts"))))
        << info.toStdString();
    if (officeFonts) {
        // pdffonts: a header of two lines, then one line per font; column "emb" says yes/no.
        const QStringList lines =
            run(QStringLiteral("pdffonts"), {path}).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_GT(lines.size(), 2);
        const qsizetype emb = lines[0].indexOf(QStringLiteral("emb"));
        for (const QString& line : lines.mid(2))
            EXPECT_EQ(line.mid(emb, 3), QStringLiteral("yes")) << line.toStdString();
        EXPECT_TRUE(lines.join(u'\n').contains(QStringLiteral("P052")))
            << lines.join(u'\n').toStdString();
    }
    // A small render of the page: part of it is ink, most of it paper.
    QTemporaryDir folder;
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), path, folder.filePath(QStringLiteral("page"))});
    const QImage page(folder.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    int ink = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 160;
    EXPECT_GT(ink, 200) << "the page is blank";
    EXPECT_LT(ink, page.width() * page.height() / 2);
}

// The file of the face the office draws a family with: the program's own font configuration.
QByteArray fontFileFor(const QString& family) {
    QProcess match;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), QCoreApplication::applicationDirPath() +
                                                              QStringLiteral("/fonts/fonts.conf"));
    match.setProcessEnvironment(environment);
    match.start(QStringLiteral("fc-match"),
                {QStringLiteral("-f"), QStringLiteral("%{file}"), family});
    match.waitForFinished(60000);
    return readAll(QString::fromLocal8Bit(match.readAllStandardOutput()));
}

// Checks that a .docx or .odt carries the font file the invitation's text is drawn with.
// A .docx scrambles the first 32 bytes of each font it carries (its obfuscation); the rest
// is the file itself.
void expectInvitationFontInside(const QString& zip) {
    const QByteArray font = fontFileFor(QStringLiteral("Book Antiqua"));
    ASSERT_GT(font.size(), 32);
    bool found = false;
    const QStringList entries =
        run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), zip}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, entry});
        unzip.waitForFinished(60000);
        const QByteArray bytes = unzip.readAllStandardOutput();
        found = found || (bytes.size() == font.size() && bytes.mid(32) == font.mid(32));
    }
    EXPECT_TRUE(found) << zip.toStdString() << " holds: " << entries.join(u' ').toStdString();
}

// The words pdftotext reads in a PDF, on one line.
QString wordsIn(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).simplified();
}

class OfficeSave : public ::testing::Test {
protected:
    // One sample invitation, made by the request as the program makes it.
    static void SetUpTestSuite() {
        temp = new ScopedTemp;
        FakeHost host;
        host.texts = {{Field::EventName, "Lobster Fête & Feast"},
                      {Field::Location, "Haverhill MA"},
                      {Field::Items, "bib, meat extractors, cracking utensils, butter"},
                      {Field::Drive, "Take 66 West to 267 West"},
                      {Field::RSVP, "jane.doe@example.com"}};
        ScriptedPrompts prompts;
        FakeClipboard clipboard;
        CreateInvitation request(host, sharedOffice(), prompts, clipboard);
        request.run();
        document = new QString(request.documentPath());
        expected = new QMap<QString, QString>{
            {"bEvent", invitation::eventText(host.texts.value(Field::EventName))},
            {"bWhen", whenTextOf(host.date, host.time)},
            {"bWhere", invitation::whereText(host.texts.value(Field::Location))},
            {"bBring", host.texts.value(Field::Items)},
            {"bDrive", host.texts.value(Field::Drive)},
            {"bRSVP", host.texts.value(Field::RSVP)}};
    }
    static void TearDownTestSuite() {
        delete document;
        delete expected;
        delete temp;
    }
    void SetUp() override {
        setApplicationTitle();
        ASSERT_TRUE(QFile::exists(*document));
    }

    void save(const QString& name, const QString& filter) {
        prompts.clear();
        prompts.saveNames << name;
        prompts.saveFilters << filter;
        prompts.answers << Prompts::Answer::Yes;
        SaveDocument(prompts, sharedOffice()).saveAs(*document, {});
    }
    QStringList leftovers() const {
        return QDir(folder.path())
            .entryList({QStringLiteral(".festoria-save-*")}, QDir::Files | QDir::Hidden);
    }

    static ScopedTemp* temp;
    static QString* document;
    static QMap<QString, QString>* expected;
    QTemporaryDir folder;
    ScriptedPrompts prompts;
};
ScopedTemp* OfficeSave::temp = nullptr;
QString* OfficeSave::document = nullptr;
QMap<QString, QString>* OfficeSave::expected = nullptr;
} // namespace

TEST_F(OfficeSave, EachFormatIsWhatItClaims) {
    const QString word = QStringLiteral("Word Files (*.doc)");
    enum Kind { Copy, Pdf, Zip, Png, Jpeg };
    const struct {
        const char* typed;
        QString filter;
        const char* written;
        Kind kind;
    } cases[] = {
        {"party.doc", QStringLiteral("PDF Files (*.pdf)"), "party.doc", Copy},
        {"Fête d'été.PDF", word, "Fête d'été.PDF", Pdf},
        {"party", QStringLiteral("Word 2007-365 Files (*.docx)"), "party.docx", Zip},
        {"party invitation", QStringLiteral("OpenDocument Text Files (*.odt)"),
         "party invitation.odt", Zip},
        {"party", QStringLiteral("PNG Image (*.png)"), "party.png", Png},
        {"Party.JPEG", word, "Party.JPEG", Jpeg},
    };
    // The office's own drawing of the page at 200 dpi, as the pictures must show it.
    const auto session = sharedOffice().startSession();
    const QImage page = drawPage(session->open(*document, true), PageScale::resolution(200))
                            .convertToFormat(QImage::Format_RGB32);
    session->quit();
    ASSERT_EQ(page.size(), QSize(1700, 2200));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString written = folder.filePath(QString::fromUtf8(c.written));
        // Saved twice: the second time replaces the first after the question.
        for (int round = 0; round < 2; ++round) {
            save(folder.filePath(QString::fromUtf8(c.typed)), c.filter);
            EXPECT_EQ(prompts.reports(), QStringList());
            EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Done."));
            EXPECT_EQ(prompts.shown.size(), round + 1);
        }
        switch (c.kind) {
        case Copy:
            EXPECT_EQ(readAll(written), readAll(*document));
            break;
        case Pdf:
            expectOneLetterPage(written, true);
            break;
        case Zip: {
            EXPECT_TRUE(readAll(written).startsWith("PK\x03\x04"));
            expectInvitationFontInside(written);
            // The office draws no page thumbnail into an OpenDocument file, and no PNG
            // stand-in of the star art.
            EXPECT_FALSE(readAll(written).contains("Thumbnails/"));
            EXPECT_FALSE(readAll(written).contains(".png"));
            const QMap<QString, QString> found = textsFromBookmarks(sharedOffice(), written);
            for (auto it = expected->begin(); it != expected->end(); ++it)
                EXPECT_EQ(found.value(it.key()).left(it.value().size()), it.value())
                    << it.key().toStdString();
            break;
        }
        case Png:
        case Jpeg: {
            // The resolution recorded: PNG's pHYs, JPEG's JFIF density.
            const QImage image = QImage(written).convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(qRound(image.dotsPerMeterX() * 0.0254), 200);
            EXPECT_EQ(qRound(image.dotsPerMeterY() * 0.0254), 200);
            ASSERT_EQ(image.size(), page.size());
            // Close to the office's own pixels, with the same ink in the same places.
            EXPECT_LE(meanDifference(image, page), 5) << "per pixel";
            QSet<QRgb> shades;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    shades.insert(image.pixel(x, y));
            // Smooth text: many shades where ink meets paper (a JPEG has them anyway).
            EXPECT_GT(shades.size(), 200);
            EXPECT_EQ(inkOnlyInOne(image, page), 0);
            break;
        }
        }
    }
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 6);
}

TEST_F(OfficeSave, AFailedExportKeepsTheOldFileAndShowsNoDone) {
    // The office cannot write into a folder that is gone by the time it exports: here the
    // target names a file inside a plain file.
    const QString blocker = folder.filePath(QStringLiteral("not a folder"));
    QFile(blocker).open(QIODevice::WriteOnly);
    save(blocker + QStringLiteral("/party.pdf"), QString());
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_FALSE(prompts.shown.last().text == QStringLiteral("Done."));

    // A target folder chosen as the name: refused, the folder untouched.
    const QString sub = folder.filePath(QStringLiteral("folder.odt"));
    QDir().mkdir(sub);
    save(sub, QString());
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(QDir(sub).isEmpty());
    EXPECT_TRUE(leftovers().isEmpty());

    // A printout with no room where it is made (a small disk as the cache, which needs the
    // superuser): the office only says it could not write; the report names the full disk.
    const QString cache = folder.filePath(QStringLiteral("small cache"));
    QDir().mkpath(cache);
    if (::mount("tmpfs", QFile::encodeName(cache).constData(), "tmpfs", 0, "size=12k") != 0) {
        std::printf("Not run without a small disk (it needs the superuser): a full disk\n");
        return;
    }
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    const auto restore = qScopeGuard([&] {
        ::umount2(QFile::encodeName(cache).constData(), MNT_DETACH);
        oldCache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", oldCache);
    });
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    prompts.clear();
    prompts.printFiles << blocker; // the old file, kept
    PrintDocument(prompts, sharedOffice()).print(*document, QString());
    ASSERT_EQ(prompts.reportLines(), QList<int>{102});
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("Cannot print to '%1': the printout "
                                                             "could not be written completely")
                                                  .arg(blocker)));
    EXPECT_EQ(QFileInfo(blocker).size(), 0);
}

// The office's PDF goes where the print dialog says: to a file in place of the old one, or
// to the chosen printer through the print queue (here a stand-in for CUPS's "lp" that keeps
// what it was given). Either way it is one US Letter page whose words are text.
TEST_F(OfficeSave, PrintingSendsTheOfficesPdfToTheFileOrThePrinter) {
    const QString out = folder.filePath(QStringLiteral("printed.pdf"));
    QFile(out).open(QIODevice::WriteOnly); // an old file, replaced
    prompts.printFiles << out;
    PrintDocument(prompts, sharedOffice()).print(*document, QString());
    EXPECT_EQ(prompts.reports(), QStringList());

    const QString spooled = folder.filePath(QStringLiteral("spooled.pdf"));
    const QString lp = folder.filePath(QStringLiteral("lp"));
    QFile script(lp);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a; do last=$a; done\necho \"$@\" > '" + spooled.toUtf8() +
                 ".args'\ncp \"$last\" '" + spooled.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    CupsPrintQueue queue(lp);
    printOnPrinter(
        sharedOffice(), *document,
        {QStringLiteral("Office-Laser"), 2, QStringLiteral("Letter"), QStringLiteral("qorvel")},
        queue);
    EXPECT_TRUE(readAll(spooled + QStringLiteral(".args"))
                    .startsWith("-d Office-Laser -n 2 -t qorvel -o media=Letter /"));

    for (const QString& pdf : {out, spooled}) {
        SCOPED_TRACE(pdf.toStdString());
        expectOneLetterPage(pdf, true);
        for (const char* mark : {"bEvent", "bWhere", "bBring", "bRSVP"})
            EXPECT_TRUE(wordsIn(pdf).contains(expected->value(mark).trimmed(), Qt::CaseInsensitive))
                << mark << ": " << wordsIn(pdf).toStdString();
    }
    EXPECT_TRUE(leftovers().isEmpty());

    // Cancelled: nothing printed.
    const QString cancelled = folder.filePath(QStringLiteral("cancelled.pdf"));
    PrintDocument(prompts, sharedOffice()).print(*document, QString());
    EXPECT_FALSE(QFile::exists(cancelled));
    EXPECT_EQ(prompts.printDialogs, 2);
}

TEST_F(OfficeSave, SendByEmailHandsTheMailProgramTheInvitationAsAPdfAndACalendarEvent) {
    const MailDesktop desktop(true);
    PreviewWindow window(prompts, sharedOffice(), nullptr, QString());
    window.setDocumentPath(*document);
    EventDetails details;
    details.name = QStringLiteral("Lobster Fête & Feast");
    details.date = QDate(2026, 7, 4);
    details.time = QTime(19, 30);
    window.setEventDetails(details);
    window.findChild<QMenu*>(QStringLiteral("pictureMenu"))->actions()[2]->trigger(); // by Email

    const QUrlQuery mail(QUrl(desktop.waitForMailto()));
    EXPECT_EQ(mail.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Lobster Fête & Feast"));
    const QStringList attached =
        mail.allQueryItemValues(QStringLiteral("attach"), QUrl::FullyDecoded);
    ASSERT_EQ(attached.size(), 2);
    const QString& pdf = attached[0];
    // The party's calendar event beside the PDF, named like it.
    EXPECT_EQ(attached[1], pdf.chopped(4) + QStringLiteral(".ics"));
    EXPECT_TRUE(readAll(attached[1]).contains("\r\nSUMMARY:Lobster Fête & Feast\r\n"));
    EXPECT_TRUE(pdf.startsWith(QFileInfo(outboxFolder()).canonicalFilePath() + u'/'));
    EXPECT_TRUE(pdf.endsWith(QStringLiteral("/Lobster Fête & Feast.pdf"))) << pdf.toStdString();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages: +1\\n")));
    EXPECT_TRUE(run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                    .contains(QStringLiteral("Lobster Fête & Feast"), Qt::CaseInsensitive));
    EXPECT_TRUE(prompts.shown.isEmpty());
}
