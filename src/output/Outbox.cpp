// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/Outbox.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "output/CalendarEvent.h"
#include "output/Export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <QTimeZone>

namespace {
// eCryptfs, which encrypts some home folders, allows 143 bytes in a name; ".pdf" takes 4.
constexpr qsizetype kMaxBaseNameBytes = 139;

// The longest start of the text, cut between two characters as the reader sees them (an
// accent stays with its letter, an emoji whole), that takes at most maxBytes in UTF-8.
QString cutToBytes(const QString& text, qsizetype maxBytes) {
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype fits = 0;
    for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary()) {
        if (QStringView(text).left(end).toUtf8().size() > maxBytes)
            break;
        fits = end;
    }
    return text.left(fits);
}
} // namespace

QString attachmentBaseName(const QString& eventName) {
    // Quotes and commas also go: mail programs take the attachment in a compose line
    // ("attachment='file:///...'"), where a quote would end the value and a comma start
    // another field; a leading dash would read as an option.
    static const QRegularExpression refused(
        QStringLiteral("[/\\\\:*?\"'`,<>|\\p{Cc}\\p{Zl}\\p{Zp}]"));
    static const QRegularExpression endDotsAndSpaces(QStringLiteral("^[-. ]+|[. ]+$"));
    QString name = QString(eventName).replace(refused, QStringLiteral(" ")).simplified();
    name.remove(endDotsAndSpaces);
    name = cutToBytes(name, kMaxBaseNameBytes);
    name.remove(endDotsAndSpaces); // a cut may end at a space
    return name.isEmpty() ? kUnnamedInvitation : name;
}

QString outboxFolder() {
    return pathIn(cacheFolder(), QStringLiteral("outbox"));
}

std::unique_ptr<QTemporaryDir> newOutboxFolder() {
    const QString outbox = outboxFolder();
    QDir().mkpath(QFileInfo(cacheFolder()).path());
    ensureOwnFolder(cacheFolder(), QStringLiteral("program's cache folder"));
    ensureOwnFolder(outbox, QStringLiteral("outbox"));
    auto folder = std::make_unique<QTemporaryDir>(pathIn(outbox, QStringLiteral("XXXXXX")));
    if (!folder->isValid())
        throw AppError(QStringLiteral("Cannot create a folder in '%1': %2")
                           .arg(outbox, folder->errorString()));
    return folder;
}

void removeOutboxFoldersBefore(const QDateTime& cutoff) {
    // A link in the outbox's place leads to someone's folders, which are not ours to expire.
    if (!isOwnFolder(cacheFolder()) || !isOwnFolder(outboxFolder()))
        return;
    const QFileInfoList folders =
        QDir(outboxFolder())
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders)
        if (folder.lastModified() < cutoff)
            QDir(folder.absoluteFilePath()).removeRecursively();
}

QString writeOutboxAttachment(office::Office& office, const QString& documentPath,
                              const QString& eventName) {
    const auto folder = newOutboxFolder();
    const QString attachment =
        pathIn(folder->path(), attachmentBaseName(eventName) + QStringLiteral(".pdf"));
    exportFileReplacing(office, documentPath, attachment, SaveFormat::Pdf);
    folder->setAutoRemove(false); // the mail program reads it later
    return attachment;
}

QString writeOutboxCalendarEvent(const QString& pdfPath, const EventDetails& details) {
    const QString event = pdfPath.chopped(QStringLiteral(".pdf").size()) + QStringLiteral(".ics");
    writeCalendarEventReplacing(details, QTimeZone::systemTimeZoneId(), event);
    return event;
}
