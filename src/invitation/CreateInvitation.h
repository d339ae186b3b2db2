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

class Clipboard;
class DigitSource;
class Prompts;
namespace office {
class Office;
}

inline const QString kCreateInvitationProcedure =
    QStringLiteral("in Festoria2021/08/31.Form1.PushButton6_Click ");
inline const QString kTemplateFileName = QStringLiteral("template.dot");
// The longest text one bookmark takes. The office lays out longer texts so slowly (a long
// line in the template's text boxes takes minutes) that it would be ended as hung and the
// whole invitation lost; such a text gets its own report and the rest goes on.
inline constexpr qsizetype kMaxBookmarkTextLength = 32767;

// The window that runs the request (MainWindow). Each call is made at the step that needs it;
// any of them may throw AppError, which is reported for that step.
class InvitationHost {
public:
    enum class Field { EventName, Location, Items, Drive, RSVP };

    virtual ~InvitationHost() = default;

    // The text of a field exactly as typed (txtEventName, txtLocation, txtItems, txtDrive,
    // txtRSVP).
    virtual QString fieldText(Field field) = 0;
    // dtpDate's date and dtpTime's time of day.
    virtual QDate eventDate() = 0;
    virtual QTime eventTime() = 0;

    // The main window's pointer: the hourglass (true) or the default (false).
    virtual void setHourglass(bool on) = 0;

    // Loads the picture file into the preview window's Picture1, loading the preview window
    // first if needed (use loadPicture, which keeps the resolution the file records).
    virtual void loadPreviewPicture(const QString& picturePath) = 0;
    // Sets the preview window's mWordFile.
    virtual void setPreviewWordFile(const QString& documentPath) = 0;
    // Shows the preview window modeless, without an owner window.
    virtual void showPreview() = 0;
    // Hides the main window.
    virtual void hideMainWindow() = 0;
};

class CreateInvitation {
public:
    CreateInvitation(InvitationHost& host, office::Office& office, Prompts& prompts,
                     Clipboard& clipboard);
    ~CreateInvitation();

    // Runs the whole request. Returns at once, without any effect, while a request runs.
    void PushButton6_Click();

    bool busy() const { return mBusy; }
    // The document path chosen by the last request (empty before the first).
    QString documentPath() const { return mDocumentPath; }

    // Where the template's bytes come from (the built-in resource unless replaced).
    void setTemplateSource(std::function<QByteArray()> source);
    // Where the digits of document names come from.
    void setDigitSource(std::unique_ptr<DigitSource> digits);

private:
    InvitationHost& mHost;
    office::Office& mOffice;
    Prompts& mPrompts;
    Clipboard& mClipboard;
    std::function<QByteArray()> mTemplateSource;
    std::unique_ptr<DigitSource> mDigits;
    bool mBusy = false;
    QString mDocumentPath;
};
