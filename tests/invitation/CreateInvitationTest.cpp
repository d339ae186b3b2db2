// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The request against a fake office: step order, statement numbers, failures and the
// busy guard.
#include "core/Files.h"
#include "invitation/RequestFakes.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

using Field = InvitationHost::Field;
using Op = FakeOffice::Op;

namespace {
const QByteArray kTemplateBytes = "template bytes";

class CreateInvitationTest : public ::testing::Test {
protected:
    CreateInvitationTest() : request(host, office, prompts, clipboard) {
        request.setTemplateSource([] { return kTemplateBytes; });
        host.texts = {{Field::EventName, "Ann's 40th"},
                      {Field::Location, "12 Elm St"},
                      {Field::Items, "Salad"},
                      {Field::Drive, "Left at the oak"},
                      {Field::RSVP, "Ann, 555-0100"}};
    }

    // The office calls without the active-document look-ups.
    QStringList officeCalls() const {
        QStringList calls = office.log;
        calls.removeAll(QStringLiteral("active"));
        return calls;
    }

    ScopedTemp temp;
    FakeOffice office;
    FakeHost host;
    FakeClipboard clipboard;
    ScriptedPrompts prompts;
    CreateInvitation request;
};
} // namespace

TEST_F(CreateInvitationTest, RunsEveryStepInOrderAndLeavesOnlyTheDocument) {
    request.run();

    EXPECT_EQ(prompts.reports(), QStringList());
    const QString doc = request.documentPath();
    static const QRegularExpression name(QStringLiteral("/qorvel[1-9]{8}\\.doc$"));
    EXPECT_TRUE(name.match(doc).hasMatch()) << doc.toStdString();
    EXPECT_EQ(doc, temp.file(QFileInfo(doc).fileName()));

    const QString tpl = office.log.value(1).mid(5).chopped(3); // a private copy of the template
    EXPECT_TRUE(QRegularExpression("^" + temp.path() + "/template-[A-Za-z0-9]{8}\\.dot$")
                    .match(tpl)
                    .hasMatch())
        << tpl.toStdString();
    EXPECT_EQ(officeCalls(),
              QStringList({"start", "open " + tpl + " ro", "fill bEvent", "fill bWhen",
                           "fill bWhere", "fill bBring", "fill bDrive", "fill bRSVP",
                           "fit bEvent bWhen", "save " + doc, "alerts off", "close", "quit",
                           "start", "open " + doc + " rw", "render 816 0.5", "close", "quit"}));
    EXPECT_EQ(office.liveSessions, 0);

    EXPECT_EQ(office.bookmarkTexts.value("bEvent"), "Ann's 40th");
    EXPECT_EQ(office.bookmarkTexts.value("bWhen"), " Saturday, August 21st, 2021  7:30 PM");
    EXPECT_EQ(office.bookmarkTexts.value("bWhere"), " 12 Elm St");
    EXPECT_EQ(office.bookmarkTexts.value("bBring"), "Salad");
    EXPECT_EQ(office.bookmarkTexts.value("bDrive"), "Left at the oak");
    EXPECT_EQ(office.bookmarkTexts.value("bRSVP"), "Ann, 555-0100");

    EXPECT_EQ(host.calls, QStringList({"hourglass on", "hourglass off", "picture", "document",
                                       "show", "hide"}));
    EXPECT_EQ(host.document, doc);
    // As typed: the message's subject and the calendar event are made from them.
    const EventDetails& handed = host.details;
    EXPECT_EQ(
        QStringList({handed.name, handed.location, handed.items, handed.directions, handed.rsvp}),
        QStringList({"Ann's 40th", "12 Elm St", "Salad", "Left at the oak", "Ann, 555-0100"}));
    EXPECT_EQ(QDateTime(handed.date, handed.time), QDateTime(host.date, host.time));
    EXPECT_FALSE(handed.invitationId.isNull());
    // The picture keeps its logical size (half a Letter page) through "temp.bmp".
    EXPECT_EQ(host.picture.size(), QSize(816, 1056));
    EXPECT_NEAR(host.picture.width() / (host.picture.dotsPerMeterX() / 39.37) * 1440, 6120, 1);
    EXPECT_NEAR(host.picture.height() / (host.picture.dotsPerMeterY() / 39.37) * 1440, 7920, 1);

    EXPECT_EQ(temp.entries(), QStringList({QFileInfo(doc).fileName()}));
    EXPECT_FALSE(request.busy());
    // The clipboard holds the document's picture afterwards.
    ASSERT_TRUE(clipboard.content.has_value());
    EXPECT_EQ(clipboard.content->picture.size(), QSize(816, 1056));
}

TEST_F(CreateInvitationTest, WithoutAnOfficeEveryOfficeStepReportsAndNothingIsHandedOver) {
    office.fail(Op::StartSession);
    request.run();

    EXPECT_EQ(prompts.reportLines(),
              QList<int>({106, 112, 120, 122, 124, 126, 128, 130, 131, 148, 150, 152, 154}));
    for (const QString& report : prompts.reports())
        EXPECT_TRUE(report.contains("\r\nin Festoria2021/08/31.Form1.PushButton6_Click at line "))
            << report.toStdString();
    EXPECT_TRUE(
        prompts.reports().value(0).startsWith("Fake office: create application failed\r\n"));
    EXPECT_TRUE(
        prompts.reports().value(1).startsWith("No office session: an earlier step failed.\r\n"));
    // No preview of a document that does not exist: the main window stays.
    EXPECT_EQ(host.calls, QStringList({"hourglass on", "hourglass off"}));
    EXPECT_EQ(office.applicationsCreated, 0);
    EXPECT_EQ(temp.entries(), QStringList());
    EXPECT_FALSE(request.busy());

    // The next click runs again in full.
    office.clearFailures();
    prompts.clear();
    request.run();
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_TRUE(host.calls.endsWith("hide"));
}

TEST_F(CreateInvitationTest, AMissingBookmarkIsOneReportAndTheRestIsFilledAndSaved) {
    office.bookmarks.remove("bDrive");
    request.run();

    EXPECT_EQ(prompts.reportLines(), QList<int>({128}));
    EXPECT_TRUE(prompts.reports().value(0).contains("bDrive"));
    EXPECT_EQ(office.bookmarkTexts.keys(),
              QStringList({"bBring", "bEvent", "bRSVP", "bWhen", "bWhere"}));
    EXPECT_TRUE(QFile::exists(request.documentPath()));
    EXPECT_TRUE(host.calls.endsWith("hide"));
}

// Each field takes 32,767 characters as typed, whatever the program adds around them; one
// more is one report naming the field as the window labels it, and only its bookmark is empty.
TEST_F(CreateInvitationTest, ATypedTextOverTheLimitIsOneReportNamingItsLabel) {
    const std::tuple<Field, QString, int, QString> fields[] = {
        {Field::EventName, "bEvent", 120, "Name of Event"},
        {Field::Location, "bWhere", 124, "Event Location"},
        {Field::Items, "bBring", 126, "What To Bring"},
        {Field::Drive, "bDrive", 128, "Driving Directions"},
        {Field::RSVP, "bRSVP", 130, "RSVP To"}};
    const auto typedTexts = host.texts;
    for (const auto& [field, bookmark, step, label] : fields) {
        for (const bool fits : {true, false}) {
            SCOPED_TRACE(label.toStdString() + (fits ? " fits" : " too long"));
            host.texts = typedTexts;
            host.texts[field] = QString(kMaxTypedTextLength + (fits ? 0 : 1), QChar(0x1F61));
            office.bookmarkTexts.clear();
            prompts.clear();
            request.run();
            EXPECT_EQ(prompts.reportLines(), fits ? QList<int>() : QList<int>{step});
            EXPECT_EQ(
                prompts.reports().value(0).section("\r\n", 0, 0),
                fits ? QString()
                     : "The text for \"" + label +
                           "\" is too long for the invitation: 32768 characters, at most 32767.");
            EXPECT_EQ(office.bookmarkTexts.value(bookmark).endsWith(host.texts[field]), fits);
            EXPECT_TRUE(host.calls.endsWith("hide"));
        }
    }
}

// A character no installed font has is named in one message, not an error report; the
// invitation is still made.
TEST_F(CreateInvitationTest, CharactersNoFontCanDrawAreNamedOnceBeforeTheDocumentIsMade) {
    const char32_t privateUse = 0x10fffd;
    host.texts[Field::Items] = "cake " + QString::fromUcs4(&privateUse, 1);
    host.texts[Field::Drive] = QString::fromUcs4(&privateUse, 1);
    request.run();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("in 'What To Bring'."));
    EXPECT_TRUE(prompts.shown[0].text.contains("in 'Driving Directions'."));
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_TRUE(host.calls.endsWith("hide")) << "the invitation is still shown";
}

TEST_F(CreateInvitationTest, TextsTooLongForTheirBoxesAreOneReportNamingTheFieldToShorten) {
    host.texts[Field::Items] = QString(900, QLatin1Char('b'));
    const struct {
        QStringList boxes;
        QString report;
    } cases[] = {
        {{"bWhen"},
         "The list of what to bring is too long to fit on the invitation; shorten it and "
         "create it again."},
        {{"bEvent", "bWhen"},
         "The name of the event is too long to fit on the invitation; shorten "
         "it and create it again. The list of what to bring is too long to "
         "fit on the invitation; shorten it and create it again."},
    };
    for (const auto& c : cases) {
        office.tooLongToFit = c.boxes;
        prompts.clear();
        request.run();
        ASSERT_EQ(prompts.reportLines(), QList<int>({131}));
        EXPECT_EQ(prompts.reports().at(0).section("\r\n", 0, 0), c.report);
        EXPECT_TRUE(host.calls.endsWith("hide")) << "the invitation is still made";
    }
}

TEST_F(CreateInvitationTest, ASecondClickDuringTheRequestDoesNothing) {
    int innerClicks = 0;
    office.beforeCall = [&](Op op) {
        // A click delivered while the office works, and one while the preview is rendered.
        if (op == Op::SetBookmarkText || op == Op::RenderPicture) {
            ++innerClicks;
            request.run();
        }
    };
    host.onCall = [&](const QString& call) {
        if (call == "picture")
            request.run();
    };
    request.run();
    office.beforeCall = nullptr;
    host.onCall = nullptr;

    EXPECT_EQ(innerClicks, 7);
    EXPECT_EQ(office.applicationsCreated, 2);
    EXPECT_EQ(office.savedPaths.size(), 1);
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(host.calls.count("show"), 1);
    EXPECT_FALSE(request.busy());

    // Once the request is over, the button works again.
    request.run();
    EXPECT_EQ(office.savedPaths.size(), 2);
    EXPECT_NE(office.savedPaths.at(0), office.savedPaths.at(1));
}

// What a failed save leaves (a full disk leaves an empty or partial file) is not the
// document: it is removed, and nothing is handed to the preview window.
TEST_F(CreateInvitationTest, AFailedSaveHandsOverNothing) {
    struct Case {
        const char* name;
        std::optional<QByteArray> left; // what the office leaves at the path
        bool saveFails;
        const char* leftName = "qorvel12345678.doc";
    };
    const Case cases[] = {
        {"fails, leaves nothing", std::nullopt, true},
        {"killed while saving, leaves its temporary file", QByteArray("half"), true,
         "lu4711abcd.tmp"},
        {"fails, leaves an empty file", QByteArray(), true},
        {"fails, leaves part of the document", QByteArray("half a docu"), true},
        {"claims success, leaves an empty file", QByteArray(), false},
        {"claims success, leaves nothing", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        host.calls.clear();
        office.clearFailures();
        request.setDigitSource(std::make_unique<ScriptedDigits>("12345678"));
        const QString doc = temp.file(c.leftName);
        office.writeSavedFiles = false;
        office.beforeCall = [&](Op op) {
            if (op != Op::SaveAs || !c.left)
                return;
            QFile file(doc);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*c.left);
        };
        if (c.saveFails)
            office.fail(Op::SaveAs, 1);
        request.run();
        office.beforeCall = nullptr;

        EXPECT_EQ(prompts.reportLines(), QList<int>({148}));
        EXPECT_EQ(host.calls, QStringList({"hourglass on", "hourglass off"}));
        EXPECT_EQ(temp.entries(), QStringList());
        EXPECT_FALSE(request.busy());
    }
    office.writeSavedFiles = true;
    EXPECT_EQ(office.applicationsCreated, 6); // never a preview rendering of a missing file
}

TEST_F(CreateInvitationTest, NoPictureMeansReportsAndAnEmptyPreviewNeverAnOldPicture) {
    // A picture from an earlier run, and an unrelated picture on the clipboard.
    QImage old(10, 10, QImage::Format_RGB32);
    old.fill(Qt::red);
    ASSERT_TRUE(old.save(temp.file("temp.bmp"), "BMP"));
    clipboard.content = ClipboardPicture{old, QByteArray()};
    office.fail(Op::RenderPicture);

    request.run();

    ASSERT_EQ(prompts.reportLines(), QList<int>({120, 122, 164}));
    EXPECT_TRUE(prompts.reports().at(0).contains("Form1.SaveDocAsJPG at line 120"));
    EXPECT_TRUE(prompts.reports().at(1).contains("Form1.SaveDocAsJPG at line 122"));
    EXPECT_TRUE(prompts.reports().at(2).contains("Form1.PushButton6_Click at line 164"));
    EXPECT_TRUE(host.picture.isNull());
    // The document exists, so the preview still opens (without a picture) and owns it.
    EXPECT_EQ(host.calls, QStringList({"hourglass on", "hourglass off", "picture", "document",
                                       "show", "hide"}));
    EXPECT_EQ(temp.entries(), QStringList({QFileInfo(request.documentPath()).fileName()}));
    EXPECT_TRUE(office.log.endsWith("quit"));
    EXPECT_EQ(office.liveSessions, 0);
}

TEST_F(CreateInvitationTest, ATemplateLeftFromAnEarlierRunIsUsedAndDeleted) {
    writeFile(temp.file("template.dot"), kTemplateBytes); // as an interrupted request left it
    QByteArray opened;
    office.beforeCall = [&](Op op) {
        if (op == Op::Open && opened.isEmpty()) {
            const QStringList templates = QDir(temp.path()).entryList({"template*"});
            ASSERT_EQ(templates.size(), 1) << "taken over, not copied";
            QFile file(temp.file(templates.first()));
            file.open(QIODevice::ReadOnly);
            opened = file.readAll();
        }
    };
    request.run();
    office.beforeCall = nullptr;

    EXPECT_EQ(opened, kTemplateBytes);
    EXPECT_EQ(temp.entries(), QStringList({QFileInfo(request.documentPath()).fileName()}));
    EXPECT_EQ(prompts.reports(), QStringList());
}

// Two requests sharing the temporary folder (two copies clicked at once) share no file: run in
// the middle of the first, the second opens its own template and shows its own picture.
TEST_F(CreateInvitationTest, TwoRequestsSharingTheFolderNeverShareAFile) {
    const std::tuple<const char*, Op, bool> cases[] = {
        // when the second runs, a template left
        {"as the first opens its template", Op::Open, false},
        {"the same, with a template.dot an earlier run left", Op::Open, true},
        {"once the first draws its picture", Op::RenderPicture, false}};
    for (const auto& [name, moment, leftTemplate] : cases) {
        SCOPED_TRACE(name);
        ScopedTemp shared;
        if (leftTemplate)
            writeFileNoFollow(shared.file("template.dot"), kTemplateBytes);
        FakeHost otherHost;
        CreateInvitation other(otherHost, office, prompts, clipboard);
        other.setTemplateSource([] { return kTemplateBytes; });
        office.beforeCall = [&, moment = moment, ran = false](Op op) mutable {
            if (op == moment && !std::exchange(ran, true))
                other.run();
        };
        office.log.clear();
        prompts.clear();
        request.run();
        office.beforeCall = nullptr;

        EXPECT_EQ(prompts.reports(), QStringList());
        const QStringList templates = office.log.filter(QRegularExpression(" ro$"));
        ASSERT_EQ(templates.size(), 2);
        EXPECT_NE(templates[0], templates[1]);
        for (FakeHost* h : {&host, &otherHost})
            EXPECT_EQ(h->picture.size(), QSize(816, 1056));
        const QStringList left = shared.entries();
        EXPECT_EQ(left.size(), 2);
        EXPECT_EQ(left.filter(QRegularExpression("^qorvel[1-9]{8}\\.doc$")), left)
            << "documents only";
    }
}

TEST_F(CreateInvitationTest, ATakenNameIsNeverReused) {
    request.setDigitSource(std::make_unique<ScriptedDigits>("12345678"
                                                            "23456789"
                                                            "99999999"));
    {
        QFile existing(temp.file("qorvel12345678.doc"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("someone else's");
    }
    // A link that leads nowhere is taken too: saving there would write through it.
    ASSERT_EQ(::symlink("/nonexistent/target.doc",
                        QFile::encodeName(temp.file("qorvel23456789.doc")).constData()),
              0);

    request.run();

    EXPECT_EQ(request.documentPath(), temp.file("qorvel99999999.doc"));
    QFile existing(temp.file("qorvel12345678.doc"));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "someone else's");
    EXPECT_EQ(prompts.reports(), QStringList());
}

TEST_F(CreateInvitationTest, AMissingTemporaryFolderGivesReportsAndNoCrash) {
    temp.set(QFile::encodeName(temp.path() + "/missing/folder"));
    request.run();

    ASSERT_FALSE(prompts.reportLines().isEmpty());
    EXPECT_EQ(prompts.reportLines().first(), 110);
    EXPECT_TRUE(prompts.reportLines().contains(148));
    EXPECT_FALSE(host.calls.contains("show"));
    EXPECT_EQ(host.calls.last(), "hourglass off");
    EXPECT_FALSE(request.busy());
}

TEST_F(CreateInvitationTest, FieldsAreReadAsTypedAtTheirSteps) {
    host.texts[Field::EventName] = "   ";
    host.texts[Field::Location] = "";
    host.texts[Field::Items] = "";
    host.date = QDate(2022, 3, 1);
    host.time = QTime(18, 0);
    request.run();

    EXPECT_EQ(office.bookmarkTexts.value("bEvent"), "Name of Your Event");
    EXPECT_EQ(office.bookmarkTexts.value("bWhen"), " Tuesday, March 1st, 2022  6 PM");
    EXPECT_EQ(office.bookmarkTexts.value("bWhere"), " ");
    EXPECT_EQ(office.bookmarkTexts.value("bBring"), "");
}
