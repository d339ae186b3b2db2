// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/PreviewPicture.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/RunFiles.h"
#include "office/BmpFile.h"
#include "office/Office.h"
#include "output/PageImage.h"

#include <QFile>
#include <QUuid>

#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The steps of writing the picture, numbered as the error report prints them.
enum class Step {
    StartSession = 116,
    OpenDocument = 118,
    PutOnClipboard = 120,
    WritePicture = 122,
    CloseDocument = 124,
    Quit = 126,
};

// The picture written last, and its file as it stood then: loading that file while nothing
// has written, replaced or removed it takes the picture from memory, once (reading and
// decoding a page's 3 MB file took about 6 ms of every click). Only the window thread writes
// and loads pictures.
struct WrittenPicture {
    std::optional<FileStamp> stamp; // of the file written
    QImage picture;                 // as loading the file gives it
};
WrittenPicture lastWritten;

// The file keeps the picture's pixels as 32-bit RGB and its resolution, which is always
// recorded (the picture came from the office's file or the clipboard's mark, both positive).
void rememberWritten(const QString& path, const QImage& picture) {
    lastWritten = {fileStamp(path), picture.convertToFormat(QImage::Format_RGB32)};
}

// The picture just written to the file at the path, while the file is unchanged; null
// otherwise. Taken only once: the memory goes with it.
QImage takeWritten(const QString& path) {
    // Another path never has the stamp: its file is another (or, through a hard link, the
    // very same).
    if (!lastWritten.stamp || fileStamp(path) != lastWritten.stamp)
        return QImage();
    return std::exchange(lastWritten, WrittenPicture{}).picture;
}

void removeStalePicture(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
        ::unlink(QFile::encodeName(path).constData());
}

// Renders the document's first page and puts it on the clipboard; returns the mark that
// tells this picture from anything else there.
QByteArray putPageOnClipboard(office::Document& document, Clipboard& clipboard) {
    const QImage rendered =
        drawPage(document, PageScale::width(kPreviewPixelWidth, kPreviewLogicalScale));
    if (rendered.isNull())
        throw AppError(QStringLiteral("The office gave no picture of the document"));
    const QByteArray mark = QUuid::createUuid().toByteArray(QUuid::Id128);
    clipboard.putPicture(rendered, mark);
    return mark;
}

// Takes the picture marked ourMark back from the clipboard and writes it to a new private
// file in the folder; returns its path.
QString writeClipboardPicture(Clipboard& clipboard, const QByteArray& ourMark,
                              const QString& folder) {
    // A picture an earlier run left under the fixed name is of no use to anyone now.
    removeStalePicture(pathIn(folder, kPreviewPictureName));
    const std::optional<ClipboardPicture> got = clipboardPicture(clipboard);
    if (!got)
        throw AppError(QStringLiteral("The clipboard cannot be read"));
    if (ourMark.isEmpty() || got->mark != ourMark || got->picture.isNull())
        throw AppError(QStringLiteral("The clipboard holds no picture of the document"));
    const QString written = writePrivateFile(folder, QStringLiteral("temp"), QStringLiteral(".bmp"),
                                             encodePreviewPicture(got->picture));
    runFiles::note(written);
    rememberWritten(written, got->picture);
    return written;
}
} // namespace

std::optional<ClipboardPicture> clipboardPicture(Clipboard& clipboard) {
    std::optional<ClipboardPicture> result;
    int attempts = 0;
    do {
        try {
            result = clipboard.read();
        } catch (...) {
            result.reset(); // a read that throws is a read that failed
        }
        ++attempts;
    } while (!result && attempts < 1000);
    return result;
}

QByteArray encodePreviewPicture(const QImage& picture) {
    QByteArray bytes = office::bmpBytes(picture);
    if (bytes.isEmpty())
        throw AppError(QStringLiteral("The picture cannot be written as BMP"));
    return bytes;
}

QImage loadPicture(const QString& path) {
    if (path.isEmpty())
        throw AppError(QStringLiteral("No picture of the invitation was made."));
    QImage picture = takeWritten(path);
    if (picture.isNull())
        picture = office::readBmp(readPlainFile(path));
    if (picture.isNull())
        throw AppError(QStringLiteral("Cannot load picture '%1': it holds no picture.").arg(path));
    return picture;
}

QString writePreviewPicture(const QString& inFile, office::Office& office, Clipboard& clipboard,
                            Prompts& prompts) {
    StepTrap<Step> trap(prompts, procedures::writePreviewPicture);
    std::unique_ptr<office::Session> session;
    office::Document* document = nullptr;
    QByteArray ourMark; // set only once our picture is on the clipboard
    QString written;

    trap(Step::StartSession, [&] { session = office.startSession(); });
    trap(Step::OpenDocument, [&] { document = &object(session, kNoSession).open(inFile, false); });
    trap(Step::PutOnClipboard,
         [&] { ourMark = putPageOnClipboard(object(document, kNoDocument), clipboard); });
    trap(Step::WritePicture,
         [&] { written = writeClipboardPicture(clipboard, ourMark, tempFolder()); });
    trap(Step::CloseDocument, [&] { object(session, kNoSession).activeDocument().close(); });
    trap(Step::Quit, [&] { object(session, kNoSession).quit(); });
    if (trap.cancelled()) { // the user wants no picture
        if (!written.isEmpty())
            deleteFile(written);
        throw OfficeCancelled();
    }
    return written;
}
