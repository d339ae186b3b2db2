#include "preview/SaveDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "office/Office.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStringList>

#include <memory>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The file a save replaces: the destination, or the file a symbolic link there points to
// (the link itself stays, as it would when a program writes through it).
QString replacedFile(const QString& destination) {
    if (destination.isEmpty())
        throw AppError(QStringLiteral("Bad file name or number"));
    QString target = destination;
    const QFileInfo info(destination);
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty())
            throw AppError(QStringLiteral("Cannot save to '%1': it is a link to a file that does "
                                          "not exist")
                               .arg(destination));
    }
    struct stat status {};
    if (::stat(QFile::encodeName(target).constData(), &status) == 0 && S_ISDIR(status.st_mode))
        throw AppError(QStringLiteral("Cannot save to '%1': it is a folder").arg(destination));
    return target;
}

// A new file beside the file it will replace. It is made in the same folder, so the final
// rename stays on one file system and replaces the old file in one step; until then the
// old file is untouched, and a new file that is never finished is removed.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString& destination)
        : mDestination(destination), mTarget(QFile::encodeName(replacedFile(destination))) {
        const QString folder = QFileInfo(QFile::decodeName(mTarget)).absolutePath();
        for (int attempt = 0; attempt < 100 && mFd < 0; ++attempt) {
            mPath = QFile::encodeName(folder + QStringLiteral("/.festoria-save-%1")
                                                   .arg(QRandomGenerator::global()->generate64(),
                                                        16, 16, QLatin1Char('0')));
            mFd = ::open(mPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                         0666);
            if (mFd < 0 && errno != EEXIST)
                break;
        }
        if (mFd < 0)
            fail();
    }
    ~ReplacingFile() {
        if (mFd >= 0)
            ::close(mFd);
        if (!mDone)
            ::unlink(mPath.constData());
    }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    int fd() const { return mFd; }
    [[noreturn]] void fail() const {
        throw AppError(systemErrorText(QStringLiteral("Cannot save to"), mDestination, errno));
    }

    // Makes the new file durable and puts it in the old one's place.
    void replace() {
        if (::fsync(mFd) != 0)
            fail();
        const int result = ::close(mFd);
        mFd = -1;
        if (result != 0 || ::rename(mPath.constData(), mTarget.constData()) != 0)
            fail();
        mDone = true;
    }

private:
    QString mDestination;
    QByteArray mTarget;
    QByteArray mPath;
    int mFd = -1;
    bool mDone = false;
};

class ReadFile {
public:
    explicit ReadFile(int fd) : mFd(fd) {}
    ~ReadFile() {
        if (mFd >= 0)
            ::close(mFd);
    }
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    int fd() const { return mFd; }

private:
    int mFd;
};

const QString kWordFilter = QStringLiteral("Word Files (*.doc)");

struct FormatName {
    SaveFormat format;
    QString extension;
    QString filter;
};

const QList<FormatName>& formats() {
    static const QList<FormatName> list{
        {SaveFormat::Doc, QStringLiteral("doc"), kWordFilter},
        {SaveFormat::Pdf, QStringLiteral("pdf"), QStringLiteral("PDF Files (*.pdf)")},
        {SaveFormat::Docx, QStringLiteral("docx"), QStringLiteral("Word 2007-365 Files (*.docx)")},
        {SaveFormat::Odt, QStringLiteral("odt"), QStringLiteral("OpenDocument Text Files (*.odt)")},
    };
    return list;
}

office::ExportFormat exportFormat(SaveFormat format) {
    switch (format) {
    case SaveFormat::Docx:
        return office::ExportFormat::Docx;
    case SaveFormat::Odt:
        return office::ExportFormat::Odt;
    default:
        return office::ExportFormat::Pdf;
    }
}
} // namespace

QString saveFilters() {
    QStringList filters;
    for (const FormatName& f : formats())
        filters << f.filter;
    return filters.join(QStringLiteral(";;"));
}

QString saveFilter(SaveFormat format) {
    return formats().at(int(format)).filter;
}

SaveTarget saveTarget(const QString& typedName, const QString& selectedFilter) {
    const QString fileName = QFileInfo(typedName).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot > 0 ? fileName.mid(dot + 1) : QString();
    for (const FormatName& f : formats())
        if (extension.compare(f.extension, Qt::CaseInsensitive) == 0)
            return {typedName, f.format};
    for (const FormatName& f : formats())
        if (f.filter == selectedFilter && f.format != SaveFormat::Doc)
            return {typedName + u'.' + f.extension, f.format};
    return {typedName, SaveFormat::Doc};
}

void copyFileReplacing(const QString& source, const QString& destination) {
    ReplacingFile out(destination);
    const ReadFile in(::open(QFile::encodeName(source).constData(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (in.fd() < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot read"), source, errno));
    struct stat sourceInfo {};
    if (::fstat(in.fd(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        throw AppError(QStringLiteral("Cannot read '%1': not a plain file").arg(source));
    // An empty file is what a failed save leaves, never an invitation.
    if (sourceInfo.st_size == 0)
        throw AppError(QStringLiteral("Cannot save the invitation: '%1' is empty.").arg(source));

    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(in.fd(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw AppError(systemErrorText(QStringLiteral("Cannot read"), source, errno));
        }
        if (!writeAll(out.fd(), buffer, n))
            out.fail();
    }
    out.replace();
}

void exportFileReplacing(office::Office& office, const QString& source, const QString& destination,
                         SaveFormat format) {
    if (!QFileInfo(source).isFile())
        throw AppError(QStringLiteral("Cannot read '%1': the file does not exist").arg(source));
    replacedFile(destination); // a target that cannot be written is refused before the office works
    // The office writes into a private folder: an office that dies halfway leaves its own
    // temporary files there, never in the user's folder. The finished file then replaces
    // the target as a copy does.
    const auto folder = scratchFolder(QStringLiteral("export"));
    const QString exported = folder->filePath(QStringLiteral("invitation"));
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(source, true);
    document.exportTo(exported, exportFormat(format));
    document.close();
    session->quit();
    copyFileReplacing(exported, destination);
}

SaveTarget SaveDocument::chooseTarget(bool& chosen) {
    QString selectedFilter = kWordFilter;
    const QString name =
        mPrompts.saveFileName(QStringLiteral("Save File"), saveFilters(), QString(), selectedFilter);
    chosen = !name.isEmpty();
    return saveTarget(name, selectedFilter);
}

bool SaveDocument::replaceAllowed(const SaveTarget& target) {
    // The old file is not deleted here: the new one replaces it in one step once it is
    // complete, so a failed save cannot lose it.
    if (!fileExists(target.path))
        return true;
    return mPrompts.message(QStringLiteral("Are you sure you wish to overwrite ") + target.path +
                                QStringLiteral(" ?"),
                            applicationTitle(), Prompts::Icon::None, Prompts::Buttons::YesNo) ==
           Prompts::Answer::Yes;
}

void SaveDocument::saveAs(const QString& documentPath) {
    // Only writing can fail; the dialogs and the file test cannot.
    enum class Step { Write = 130 };
    StepTrap<Step> trap(mPrompts, procedures::saveAs);
    bool chosen = false;
    const SaveTarget target = chooseTarget(chosen);
    // A cancelled dialog, or No to the question, writes nothing and still says "Done.";
    // after a failed save the error report has been shown, and "Done." would claim otherwise.
    bool written = true;
    if (chosen && replaceAllowed(target))
        written = trap(Step::Write, [&] { write(documentPath, target); });
    if (written)
        mPrompts.message(QStringLiteral("Done."), applicationTitle(), Prompts::Icon::None,
                         Prompts::Buttons::Ok);
}

void SaveDocument::write(const QString& documentPath, const SaveTarget& target) {
    if (target.format == SaveFormat::Doc) {
        copyFileReplacing(documentPath, target.path);
        return;
    }
    if (mSetHourglass)
        mSetHourglass(true);
    const auto restore = qScopeGuard([this] {
        if (mSetHourglass)
            mSetHourglass(false);
    });
    exportFileReplacing(mOffice, documentPath, target.path, target.format);
}
