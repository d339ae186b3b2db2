#include "invitation/CreateInvitation.h"

#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "invitation/DocumentName.h"
#include "invitation/InvitationText.h"
#include "invitation/PreviewPicture.h"
#include "invitation/Template.h"
#include "office/Office.h"

#include <QFileInfo>

namespace {
using Field = InvitationHost::Field;

const QString kNoDigits = QStringLiteral("No source of digits");

// How the boxes of the filled texts may change so that every text is readable: the event's
// name shrinks within its box; the details box grows, then its text shrinks.
const QList<office::TextFit> kTextFits = {
    {QStringLiteral("bEvent"), false, 14},
    {QStringLiteral("bWhen"), true, 7},
};

// The field to shorten when the details do not fit: the longest one typed.
QString detailsTooLong(InvitationHost& host) {
    struct Sentence {
        Field field;
        QString text;
    };
    const Sentence sentences[] = {
        {Field::Drive,
         QStringLiteral("The driving directions are too long to fit on the invitation; "
                        "shorten them and create it again.")},
        {Field::Items,
         QStringLiteral("The list of what to bring is too long to fit on the invitation; "
                        "shorten it and create it again.")},
        {Field::Location, QStringLiteral("The location is too long to fit on the invitation; "
                                         "shorten it and create it again.")},
        {Field::RSVP, QStringLiteral("The RSVP details are too long to fit on the invitation; "
                                     "shorten them and create it again.")},
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
    return longest->text;
}

QString tooLongToFit(const QStringList& boxes, InvitationHost& host) {
    QStringList sentences;
    if (boxes.contains(QStringLiteral("bEvent")))
        sentences << QStringLiteral("The name of the event is too long to fit on the invitation; "
                                    "shorten it and create it again.");
    if (boxes.contains(QStringLiteral("bWhen")))
        sentences << detailsTooLong(host);
    return sentences.join(QLatin1Char(' '));
}
} // namespace

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

void CreateInvitation::PushButton6_Click() {
    // 100: a click handled while a request runs (its events are still delivered) does
    // nothing at all.
    if (mBusy)
        return;
    ErrorTrap trap(mPrompts, kCreateInvitationProcedure);

    // Should anything escape the trap, the window must not stay busy or show the hourglass.
    struct Finish {
        CreateInvitation& request;
        bool done = false;
        ~Finish() {
            if (done)
                return;
            request.mBusy = false;
            try {
                request.mHost.setHourglass(false);
            } catch (...) {
            }
        }
    } finish{*this};

    trap(102, [&] { mBusy = true; });
    trap(104, [&] { mHost.setHourglass(true); });

    std::unique_ptr<office::Session> word;
    office::Document* document = nullptr;
    QByteArray templateBytes;
    // The temporary folder is worked out at the first step that needs it, so that a refused
    // folder is reported there; later steps use what that step found.
    QString folder;
    auto inFolder = [&](const QString& name) {
        if (folder.isEmpty())
            throw AppError(QStringLiteral("There is no temporary folder for '%1'.").arg(name));
        return pathIn(folder, name);
    };
    // Set only for a template this program wrote (now or in an earlier run): nothing else is
    // opened as the template, nor deleted.
    QString templatePath;
    trap(106, [&] { word = mOffice.startSession(); });
    trap(108, [&] { templateBytes = mTemplateSource(); });
    trap(110, [&] {
        folder = tempFolder();
        const QString candidate = inFolder(kTemplateFileName);
        if (!fileExists(candidate))
            WriteBytesToFile(templateBytes, candidate);
        else if (!isOwnPlainFile(candidate))
            throw AppError(QStringLiteral("'%1' is not a template this program made; it is "
                                          "neither used nor deleted.")
                               .arg(candidate));
        templatePath = candidate;
    });
    trap(112, [&] {
        if (templatePath.isEmpty())
            throw AppError(QStringLiteral("There is no template to open."));
        document = &object(word, kNoSession).open(templatePath, true);
    });

    QString dayText, dateText, locationText;
    trap(114, [&] { dayText = invitation::dayText(mHost.eventDate()); });
    trap(116, [&] { dateText = invitation::dateText(mHost.eventDate(), dayText); });
    trap(118, [&] { locationText = invitation::whereText(mHost.fieldText(Field::Location)); });

    auto fill = [&](const QString& bookmark, const QString& text) {
        office::Document& active = object(word, kNoSession).activeDocument();
        if (text.size() > kMaxBookmarkTextLength)
            throw AppError(QStringLiteral("The text for %1 is too long for the invitation: %2 "
                                          "characters, at most %3.")
                               .arg(bookmark)
                               .arg(text.size())
                               .arg(kMaxBookmarkTextLength));
        active.setBookmarkText(bookmark, text);
    };
    trap(120, [&] {
        fill(QStringLiteral("bEvent"), invitation::eventText(mHost.fieldText(Field::EventName)));
    });
    trap(122,
         [&] { fill(QStringLiteral("bWhen"), invitation::whenText(dateText, mHost.eventTime())); });
    trap(124, [&] { fill(QStringLiteral("bWhere"), locationText); });
    trap(126, [&] { fill(QStringLiteral("bBring"), mHost.fieldText(Field::Items)); });
    trap(128, [&] { fill(QStringLiteral("bDrive"), mHost.fieldText(Field::Drive)); });
    trap(130, [&] { fill(QStringLiteral("bRSVP"), mHost.fieldText(Field::RSVP)); });
    // 131: the boxes have fixed sizes, and the office cuts off what does not fit; the
    // invitation is made as far as it fits, and what is too long is named.
    trap(131, [&] {
        const QStringList tooLong = object(document, kNoDocument).fitText(kTextFits);
        if (!tooLong.isEmpty())
            throw AppError(tooLongToFit(tooLong, mHost));
    });

    // 132..146: a fresh name, drawn again while anything exists under it.
    QString name;
    QString path;
    bool taken = true;
    while (taken) {
        taken = false;
        trap(132, [&] { name = kDocumentNamePrefix; });
        for (int i = 0; i < 8; ++i) { // 134..142
            int digit = 0;
            trap(136, [&] { object(mDigits, kNoDigits).reseed(secondsSinceMidnight()); });
            trap(138, [&] { digit = object(mDigits, kNoDigits).drawDigit(); });
            trap(140, [&] { name += QString::number(digit); });
        }
        trap(144, [&] { path = inFolder(name + kDocumentNameSuffix); });
        trap(146, [&] { taken = nameTaken(path); });
    }
    mDocumentPath = path;

    // A save that failed (a full disk, say) may leave an empty or partial file: that is not
    // the document, so it goes, and the request goes on as without one.
    const bool saved = trap(148, [&] {
        try {
            object(document, kNoDocument).saveAs(path);
            if (!isOwnPlainFile(path) || QFileInfo(path).size() == 0)
                throw AppError(
                    QStringLiteral("The document could not be saved as '%1': the office left "
                                   "no document there.")
                        .arg(path));
        } catch (...) {
            if (isOwnPlainFile(path))
                deleteFile(path);
            throw;
        }
    });
    trap(150, [&] { object(word, kNoSession).setDisplayAlerts(false); });
    trap(152, [&] {
        office::Document* closing = document;
        document = nullptr; // the application may discard a closed document
        object(closing, kNoDocument).close();
    });
    trap(154, [&] { object(word, kNoSession).quit(); });
    trap(156, [&] { document = nullptr; });
    trap(158, [&] { word.reset(); });

    // Without a saved document there is nothing to preview: the main window stays, and
    // the preview window is neither given a picture nor shown.
    const bool haveDocument = saved && isOwnPlainFile(path);
    // Only the picture this request wrote is shown (an empty path: none was written).
    QString picturePath;
    if (haveDocument)
        trap(160, [&] { picturePath = writePreviewPicture(path, mOffice, mClipboard, mPrompts); });
    trap(162, [&] { mHost.setHourglass(false); });
    if (haveDocument) {
        trap(164, [&] { mHost.loadPreviewPicture(picturePath); });
        trap(166, [&] { mHost.setPreviewWordFile(path); });
        trap(168, [&] { mHost.showPreview(); });
        trap(170, [&] { mHost.hideMainWindow(); });
    }
    trap(172, [&] {
        if (!folder.isEmpty() && isOwnPlainFile(inFolder(kPreviewPictureName)))
            deleteFile(inFolder(kPreviewPictureName));
    });
    trap(174, [&] {
        if (!templatePath.isEmpty())
            deleteFile(templatePath);
    });
    trap(176, [&] { mBusy = false; });
    finish.done = true;
}
