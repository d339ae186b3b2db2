// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/CreateInvitation.h"

#include "core/ErrorTrap.h"
#include "core/EventDetails.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/RunFiles.h"
#include "invitation/DocumentName.h"
#include "invitation/FontCoverage.h"
#include "invitation/InvitationText.h"
#include "invitation/PreviewPicture.h"
#include "invitation/RequestFiles.h"
#include "invitation/Template.h"
#include "office/Office.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {
using Field = InvitationHost::Field;

// The request's steps, numbered as the error report prints them. Steps that cannot fail
// (setting the busy flag, building the name from its digits, checking whether a name is
// taken, releasing the office objects, rendering the picture, which reports its own steps,
// and deleting the temporary files) are no steps of their own.
enum class Step {
    ShowHourglass = 104,
    StartSession = 106,
    LoadTemplate = 108,
    WriteTemplate = 110,
    OpenTemplate = 112,
    DayText = 114,
    DateText = 116,
    LocationText = 118,
    FillEvent = 120,
    FillWhen = 122,
    FillWhere = 124,
    FillBring = 126,
    FillDrive = 128,
    FillRsvp = 130,
    FitTexts = 131,
    ReseedDigits = 136,
    DrawDigit = 138,
    DocumentPath = 144,
    Save = 148,
    AlertsOff = 150,
    CloseDocument = 152,
    Quit = 154,
    HideHourglass = 162,
    LoadPicture = 164,
    HandOverDocument = 166,
    ShowPreview = 168,
    HideMainWindow = 170,
};

const QString kNoDigits = QStringLiteral("No source of digits");

// How the boxes of the filled texts may change so that every text is readable: the event's
// name shrinks within its box, its lines balanced; the details box grows where the page is
// clear of stars, then its text shrinks, and only then does it grow under the stars.
QList<office::TextFit> textFits() {
    static const int clearTop = detailsClearTop();
    return {{QStringLiteral("bEvent"), false, 14, 0, true},
            {QStringLiteral("bWhen"), true, 7, clearTop, false}};
}

// The field to shorten when the details do not fit: the longest one typed.
QString detailsTooLong(InvitationHost& host) {
    struct Sentence {
        Field field;
        const char* text;
    };
    const Sentence sentences[] = {
        {Field::Drive,
         QT_TRANSLATE_NOOP("CreateInvitation", "The driving directions are too long to fit on the "
                                               "invitation; shorten them and create it again.")},
        {Field::Items, QT_TRANSLATE_NOOP("CreateInvitation",
                                         "The list of what to bring is too long to fit on the "
                                         "invitation; shorten it and create it again.")},
        {Field::Location,
         QT_TRANSLATE_NOOP("CreateInvitation", "The location is too long to fit on the invitation; "
                                               "shorten it and create it again.")},
        {Field::RSVP,
         QT_TRANSLATE_NOOP("CreateInvitation", "The RSVP details are too long to fit on the "
                                               "invitation; shorten them and create it again.")},
    };
    const Sentence* longest = &sentences[0];
    qsizetype most = -1;
    for (const Sentence& sentence : sentences) {
        const qsizetype length = host.fieldText(sentence.field).size();
        if (length > most) {
            most = length;
            longest = &sentence;
        }
    }
    return QCoreApplication::translate("CreateInvitation", longest->text);
}

QString tooLongToFit(const QStringList& boxes, InvitationHost& host) {
    QStringList sentences;
    if (boxes.contains(QStringLiteral("bEvent")))
        sentences << QCoreApplication::translate("CreateInvitation",
                                                 "The name of the event is too long to fit on "
                                                 "the invitation; shorten it and create it again.");
    if (boxes.contains(QStringLiteral("bWhen")))
        sentences << detailsTooLong(host);
    return sentences.join(QLatin1Char(' '));
}
} // namespace

QString fieldLabel(Field field) {
    switch (field) {
    case Field::EventName:
        return QCoreApplication::translate("CreateInvitation", "Name of Event");
    case Field::Location:
        return QCoreApplication::translate("CreateInvitation", "Event Location");
    case Field::Items:
        return QCoreApplication::translate("CreateInvitation", "What To Bring");
    case Field::Drive:
        return QCoreApplication::translate("CreateInvitation", "Driving Directions");
    case Field::RSVP:
        return QCoreApplication::translate("CreateInvitation", "RSVP To");
    }
    return QString();
}

CreateInvitation::CreateInvitation(InvitationHost& host, office::Office& office, Prompts& prompts,
                                   Clipboard& clipboard)
    : mHost(host), mOffice(office), mPrompts(prompts), mClipboard(clipboard),
      mTemplateSource(&loadTemplateResource), mDigits(std::make_unique<DigitSource>()) {}

CreateInvitation::~CreateInvitation() = default;

void CreateInvitation::setTemplateSource(std::function<QByteArray()> source) {
    mTemplateSource = std::move(source);
}

void CreateInvitation::setDigitSource(std::unique_ptr<DigitSource> digits) {
    mDigits = std::move(digits);
}

struct CreateInvitation::Run {
    explicit Run(Prompts& prompts) : trap(prompts, procedures::createInvitation) {
        details.invitationId = QUuid::createUuid();
    }

    // Whether the user cancelled the office's work: the request then ends quietly, leaving
    // nothing behind.
    bool cancelled() const { return trap.cancelled() || pictureCancelled; }

    // The path of a name in the temporary folder, which is worked out at the first step that
    // needs it, so that a refused folder is reported there; later steps use what it found.
    QString inFolder(const QString& name) const {
        if (folder.isEmpty())
            throw AppError(QStringLiteral("There is no temporary folder for '%1'.").arg(name));
        return pathIn(folder, name);
    }

    StepTrap<Step> trap;
    std::unique_ptr<office::Session> session;
    office::Document* document = nullptr;
    QByteArray templateBytes;
    QString folder;
    // Set only for this request's private template: nothing else is opened as the template,
    // nor deleted.
    QString templatePath;
    QString documentPath;
    EventDetails details; // as filled in
    bool saved = false;
    bool pictureCancelled = false;
    // Only the picture this request wrote is shown (empty: none was written).
    QString picturePath;
};

void CreateInvitation::run() {
    // A click handled while a request runs (its events are still delivered) does nothing.
    if (mBusy || mProgramEnds)
        return;
    mBusy = true;
    try {
        reportMissingFonts();
        Run run(mPrompts);
        prepare(run);
        // Once the program is ending or the user cancelled, the office work left is of no
        // use to anyone.
        const auto goOn = [&] { return !mProgramEnds && !run.cancelled(); };
        if (goOn())
            fill(run);
        if (goOn())
            nameAndSave(run);
        if (goOn())
            makePicture(run);
        handOver(run);
        endRun(run);
    } catch (...) {
        // Should anything escape the steps' trap, the window must not stay busy or show the
        // hourglass.
        mBusy = false;
        try {
            mHost.setHourglass(false);
        } catch (...) {
            // The exception under way is the one that matters.
        }
        throw;
    }
    mBusy = false;
}

void CreateInvitation::programEnds() {
    mProgramEnds = true;
    if (!mBusy)
        removeDocument();
}

void CreateInvitation::reportMissingFonts() {
    QList<LabelledText> fields;
    for (const Field field :
         {Field::EventName, Field::Location, Field::Items, Field::Drive, Field::RSVP}) {
        try {
            fields.append({fieldLabel(field), mHost.fieldText(field)});
        } catch (const AppError&) {
            // A field that cannot be read is reported by the step that fills it.
        }
    }
    const QString report = missingFontReport(fields);
    if (!report.isEmpty()) // the invitation is still made: the user learns why boxes show
        mPrompts.message(report, applicationTitle(), Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

void CreateInvitation::prepare(Run& run) {
    run.trap(Step::ShowHourglass, [&] { mHost.setHourglass(true); });
    run.trap(Step::StartSession, [&] { run.session = mOffice.startSession(); });
    run.trap(Step::LoadTemplate, [&] { run.templateBytes = mTemplateSource(); });
    run.trap(Step::WriteTemplate, [&] {
        run.folder = tempFolder();
        run.templatePath = privateTemplate(run.folder, run.templateBytes);
        runFiles::note(run.templatePath);
    });
    run.trap(Step::OpenTemplate, [&] {
        if (run.templatePath.isEmpty())
            throw AppError(QStringLiteral("There is no template to open."));
        run.document = &object(run.session, kNoSession).open(run.templatePath, true);
    });
}

// The text for one bookmark, and the field typed into it (none for the date and time).
struct CreateInvitation::Filling {
    QString text;
    std::optional<Field> field;
    qsizetype typedLength = 0;
};

void CreateInvitation::fillBookmark(Run& run, const QString& bookmark, const Filling& filling) {
    office::Document& active = object(run.session, kNoSession).activeDocument();
    if (filling.field && filling.typedLength > kMaxTypedTextLength)
        throw AppError(QStringLiteral("The text for \"%1\" is too long for the invitation: %2 "
                                      "characters, at most %3.")
                           .arg(fieldLabel(*filling.field))
                           .arg(filling.typedLength)
                           .arg(kMaxTypedTextLength));
    active.setBookmarkText(bookmark, filling.text);
}

void CreateInvitation::fill(Run& run) {
    QString dayText, dateText, typedLocation, locationText;
    run.trap(Step::DayText, [&] {
        run.details.date = mHost.eventDate();
        dayText = invitation::dayText(run.details.date);
    });
    run.trap(Step::DateText, [&] { dateText = invitation::dateText(mHost.eventDate(), dayText); });
    run.trap(Step::LocationText, [&] {
        typedLocation = run.details.location = mHost.fieldText(Field::Location);
        locationText = invitation::whereText(typedLocation);
    });

    // A field's text as typed, and as it goes into its bookmark.
    const auto typed = [&](Field field, const QString& text, const QString& filled) {
        return Filling{filled, field, text.size()};
    };
    const auto asTyped = [&](Field field, QString& detail) {
        detail = mHost.fieldText(field);
        return typed(field, detail, detail);
    };
    const struct {
        Step step;
        const char* bookmark;
        std::function<Filling()> filling;
    } bookmarks[] = {
        {Step::FillEvent, "bEvent",
         [&] {
             run.details.name = mHost.fieldText(Field::EventName);
             return typed(Field::EventName, run.details.name,
                          invitation::eventText(run.details.name));
         }},
        {Step::FillWhen, "bWhen",
         [&] {
             run.details.time = mHost.eventTime();
             return Filling{invitation::whenText(dateText, run.details.time), std::nullopt};
         }},
        {Step::FillWhere, "bWhere",
         [&] { return typed(Field::Location, typedLocation, locationText); }},
        {Step::FillBring, "bBring", [&] { return asTyped(Field::Items, run.details.items); }},
        {Step::FillDrive, "bDrive", [&] { return asTyped(Field::Drive, run.details.directions); }},
        {Step::FillRsvp, "bRSVP", [&] { return asTyped(Field::RSVP, run.details.rsvp); }},
    };
    for (const auto& b : bookmarks)
        run.trap(b.step, [&] { fillBookmark(run, QString::fromLatin1(b.bookmark), b.filling()); });
    fitTexts(run);
}

// The boxes have fixed sizes, and the office cuts off what does not fit; the invitation is
// made as far as it fits, and what is too long is named.
void CreateInvitation::fitTexts(Run& run) {
    run.trap(Step::FitTexts, [&] {
        const QStringList tooLong = object(run.document, kNoDocument).fitText(textFits());
        if (!tooLong.isEmpty())
            throw AppError(tooLongToFit(tooLong, mHost));
    });
}

// A fresh name, drawn again while anything exists under it.
QString CreateInvitation::freshDocumentPath(Run& run) {
    QString path;
    bool taken = true;
    while (taken) {
        QString name = kDocumentNamePrefix;
        for (int i = 0; i < 8; ++i) {
            int digit = 0;
            run.trap(Step::ReseedDigits,
                     [&] { object(mDigits, kNoDigits).reseed(secondsSinceMidnight()); });
            run.trap(Step::DrawDigit, [&] { digit = object(mDigits, kNoDigits).drawDigit(); });
            name += QString::number(digit);
        }
        run.trap(Step::DocumentPath, [&] { path = run.inFolder(name + kDocumentNameSuffix); });
        taken = nameTaken(path);
    }
    return path;
}

void CreateInvitation::nameAndSave(Run& run) {
    const QString path = freshDocumentPath(run);
    run.documentPath = mDocumentPath = path;
    // A save that failed (a full disk, say) may leave an empty or partial file: that is not
    // the document, so it goes, and the request goes on as without one.
    run.saved = run.trap(Step::Save, [&] {
        const OfficeLeftovers work(QFileInfo(path).path());
        try {
            object(run.document, kNoDocument).saveAs(path);
            if (!isOwnPlainFile(path) || QFileInfo(path).size() == 0)
                throw AppError(
                    QStringLiteral("The document could not be saved as '%1': the office left "
                                   "no document there.")
                        .arg(path));
        } catch (...) {
            if (isOwnPlainFile(path))
                deleteFile(path);
            work.removeLeftovers();
            throw;
        }
    });
    if (run.saved) {
        runFiles::note(path);
        mDocument = path;
        mDocumentIdentity = fileIdentity(path);
    }
    run.trap(Step::AlertsOff, [&] { object(run.session, kNoSession).setDisplayAlerts(false); });
    run.trap(Step::CloseDocument, [&] {
        office::Document* closing = run.document;
        run.document = nullptr; // the session may discard a closed document
        object(closing, kNoDocument).close();
    });
    run.trap(Step::Quit, [&] { object(run.session, kNoSession).quit(); });
    run.document = nullptr;
    run.session.reset();
}

void CreateInvitation::makePicture(Run& run) {
    // Without a saved document there is nothing to picture, nor to preview.
    run.saved = run.saved && isOwnPlainFile(run.documentPath);
    if (!run.saved)
        return;
    try {
        run.picturePath = writePreviewPicture(run.documentPath, mOffice, mClipboard, mPrompts);
    } catch (const OfficeCancelled&) {
        run.pictureCancelled = true;
    }
}

void CreateInvitation::handOver(Run& run) {
    run.trap(Step::HideHourglass, [&] { mHost.setHourglass(false); });
    // Without a document the main window stays, and the preview window is neither given a
    // picture nor shown; nor is it once the program is ending.
    if (run.saved && !mProgramEnds && !run.cancelled()) {
        run.trap(Step::LoadPicture, [&] { mHost.loadPreviewPicture(run.picturePath); });
        run.trap(Step::HandOverDocument,
                 [&] { mHost.setPreviewDocument(run.documentPath, run.details); });
        run.trap(Step::ShowPreview, [&] { mHost.showPreview(); });
        run.trap(Step::HideMainWindow, [&] { mHost.hideMainWindow(); });
    }
}

// What the request leaves behind goes: an office session still open (the program ended in
// the middle), the picture, the template, and, when the program is ending, the document.
void CreateInvitation::endRun(Run& run) {
    if (run.session) {
        run.document = nullptr;
        try {
            run.session->quit();
        } catch (...) {
            // The program is ending; the session goes with the office.
        }
        run.session.reset();
    }
    if (!run.picturePath.isEmpty())
        deleteFile(run.picturePath);
    if (!run.templatePath.isEmpty())
        deleteFile(run.templatePath);
    // Deleting lets pending events run: the main window may have been closed just now.
    // A cancelled request's document is shown nowhere.
    if (mProgramEnds || (run.cancelled() && run.saved))
        removeDocument();
}

void CreateInvitation::removeDocument() {
    if (!mDocument.isEmpty() && fileIdentity(mDocument) == mDocumentIdentity)
        deleteFile(mDocument);
    mDocument.clear();
}
