// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// "Start Creating Template": fills the invitation template with the event details, saves
// it under a fresh name in the temporary folder, renders its preview picture and hands
// both to the preview window. The request talks to its window only through
// InvitationHost, so it runs without widgets as well.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include <functional>
#include <memory>
#include <utility>

class Clipboard;
class DigitSource;
struct EventDetails;
class Prompts;
namespace office {
class Office;
}

// The template's name in the temporary folder as earlier versions wrote it (a copy left there
// is used); each request writes its own copy under a private name of this stem.
inline const QString kTemplateFileName = QStringLiteral("template.dot");
// The longest text a field may hold for the invitation, counted as typed (what the program
// adds around it, such as the space before the location, does not count). The office lays
// out longer texts so slowly (a long line in the template's text boxes takes minutes) that
// it would be ended as hung and the whole invitation lost; such a text gets its own report
// and the rest goes on.
inline constexpr qsizetype kMaxTypedTextLength = 32767;

// The window that runs the request (the main window). Each call is made at the step that
// needs it; any of them may throw AppError, which is reported for that step.
class InvitationHost {
public:
    enum class Field { EventName, Location, Items, Drive, RSVP };

    virtual ~InvitationHost() = default;

    // The text of a field exactly as typed: the name of the event, its location, what to
    // bring, the driving directions, whom to answer.
    virtual QString fieldText(Field field) = 0;
    // The date picker's date and the time picker's time of day.
    virtual QDate eventDate() = 0;
    virtual QTime eventTime() = 0;

    // The main window's pointer: the hourglass (true) or the default (false).
    virtual void setHourglass(bool on) = 0;

    // Loads the picture file as the preview window's page, loading the preview window first
    // if needed (use loadPicture, which keeps the resolution the file records).
    virtual void loadPreviewPicture(const QString& picturePath) = 0;
    // Tells the preview window which document it shows (and deletes when it is left), and the
    // details the document was filled with, as typed, for the forms the invitation leaves
    // the program in besides the document (a message's subject, a calendar event).
    virtual void setPreviewDocument(const QString& documentPath, const EventDetails& details) = 0;
    // Shows the preview window modeless, without an owner window.
    virtual void showPreview() = 0;
    // Hides the main window.
    virtual void hideMainWindow() = 0;
};

// A text field as the main window labels it, without the colon ("Event Location"), so that
// reports name fields as the user sees them.
QString fieldLabel(InvitationHost::Field field);

class CreateInvitation {
public:
    CreateInvitation(InvitationHost& host, office::Office& office, Prompts& prompts,
                     Clipboard& clipboard);
    ~CreateInvitation();

    // Runs the whole request. Returns at once, without any effect, while a request runs or
    // once the program is ending.
    void run();

    // The program is ending (its main window was closed), and nothing it made may stay in the
    // temporary folder. A request that runs leaves out its remaining office work, hands
    // nothing over and, when it ends, removes every file it made, its document too; the
    // document the last request handed over is removed at once.
    void programEnds();

    bool busy() const { return mBusy; }
    // The document path chosen by the last request (empty before the first).
    QString documentPath() const { return mDocumentPath; }

    // Where the template's bytes come from (the built-in resource unless replaced).
    void setTemplateSource(std::function<QByteArray()> source);
    // Where the digits of document names come from.
    void setDigitSource(std::unique_ptr<DigitSource> digits);

private:
    struct Run; // one request's office objects, files and step trap
    // Names the characters typed that no installed font can draw, in one message.
    void reportMissingFonts();
    void prepare(Run& run);
    void fill(Run& run);
    struct Filling;
    void fillBookmark(Run& run, const QString& bookmark, const Filling& filling);
    void fitTexts(Run& run);
    void nameAndSave(Run& run);
    QString freshDocumentPath(Run& run);
    void makePicture(Run& run);
    void handOver(Run& run);
    void endRun(Run& run);
    void removeDocument();

    InvitationHost& mHost;
    office::Office& mOffice;
    Prompts& mPrompts;
    Clipboard& mClipboard;
    std::function<QByteArray()> mTemplateSource;
    std::unique_ptr<DigitSource> mDigits;
    bool mBusy = false;
    bool mProgramEnds = false;
    QString mDocumentPath;
    // The document this object saved last and which file it is, until it is removed.
    QString mDocument;
    std::pair<quint64, quint64> mDocumentIdentity;
};
