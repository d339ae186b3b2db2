#include "preview/SaveDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Product.h"
#include "core/Prompts.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Closes a file descriptor and removes a half-written file unless told the work is done.
class PendingFile {
public:
    PendingFile(int fd, QByteArray path) : mFd(fd), mPath(std::move(path)) {}
    ~PendingFile() {
        if (mFd >= 0)
            ::close(mFd);
        if (!mKept)
            ::unlink(mPath.constData());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int fd() const { return mFd; }
    int close() {
        const int result = ::close(mFd);
        mFd = -1;
        return result;
    }
    void keep() { mKept = true; }

private:
    int mFd;
    QByteArray mPath;
    bool mKept = false;
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
} // namespace

void copyFileReplacing(const QString& source, const QString& destination) {
    if (destination.isEmpty())
        throw AppError(QStringLiteral("Bad file name or number"));
    const QByteArray target = QFile::encodeName(destination);
    struct stat info {};
    if (::stat(target.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        throw AppError(QStringLiteral("Cannot save to '%1': it is a folder").arg(destination));

    const ReadFile in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd() < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot read"), source, errno));
    struct stat sourceInfo {};
    if (::fstat(in.fd(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        throw AppError(QStringLiteral("Cannot read '%1': not a plain file").arg(source));

    // The new file is made beside the destination, so the final rename stays on one file
    // system and replaces the old file in one step.
    const QString folder = QFileInfo(destination).absolutePath();
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = QFile::encodeName(
            folder + QStringLiteral("/.festoria-save-%1")
                         .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot save to"), destination, errno));
    PendingFile out(fd, temporary);

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
            throw AppError(systemErrorText(QStringLiteral("Cannot save to"), destination, errno));
    }
    if (::fsync(out.fd()) != 0 || out.close() != 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot save to"), destination, errno));
    if (::rename(temporary.constData(), target.constData()) != 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot save to"), destination, errno));
    out.keep();
}

void SaveDocument::PushButton6_Click(const QString& wordFile) {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.PushButton6_Click "));
    QString initialName;
    QString title;
    QString filter;
    trap(106, [&] { initialName = QString(); });
    trap(108, [&] { title = QStringLiteral("Save File"); });
    trap(110, [&] { filter = QStringLiteral("Word Files (*.doc)"); });
    QString returned;
    trap(112, [&] { returned = mPrompts.saveFileName(title, filter, initialName); });
    QString chosen;
    trap(114, [&] { chosen = returned; });

    Prompts::Answer answer{};
    bool named = false;
    trap(116, [&] { named = !chosen.isEmpty(); });
    if (named) {
        bool exists = false;
        trap(118, [&] { exists = FileExists(chosen); });
        if (exists) {
            // The old file is not deleted here: the copy replaces it in one step once it is
            // complete, so a failed copy cannot lose it.
            trap(120, [&] {
                answer = mPrompts.message(QStringLiteral("Are you sure you wish to overwrite ") +
                                              chosen + QStringLiteral(" ?"),
                                          applicationTitle(), Prompts::Icon::None,
                                          Prompts::Buttons::YesNo);
            });
        } else {
            trap(126, [&] { answer = Prompts::Answer::Yes; });
        }
    }

    bool copy = false;
    bool copied = true;
    trap(128, [&] { copy = answer == Prompts::Answer::Yes; });
    if (copy)
        copied = trap(130, [&] { copyFileReplacing(wordFile, chosen); });
    // After a failed copy the error report has been shown; "Done." would claim otherwise.
    if (copied)
        trap(132, [&] {
            mPrompts.message(QStringLiteral("Done."), applicationTitle(), Prompts::Icon::None,
                             Prompts::Buttons::Ok);
        });
}
