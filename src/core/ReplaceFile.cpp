// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ReplaceFile.h"

#include "core/AppError.h"
#include "core/Files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What a file that is not a plain one is, for the report.
QString kindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a plain file");
}

// The mask the system takes from the mode of a new file. Read from the process status, so
// that no other thread creates a file while the mask is briefly changed to learn it.
mode_t currentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8) & 0777);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Owner, group and permission bits of the file being replaced, or none for a new file.
struct Replaced {
    QByteArray path;
    bool exists = false;
    struct stat status {};
};

Replaced examine(const QString& destination, const ReplaceWhat& what) {
    Replaced replaced{QFile::encodeName(replacedFile(destination, what))};
    replaced.exists = ::stat(replaced.path.constData(), &replaced.status) == 0;
    return replaced;
}

// A private new file beside the file it will replace. It is made in the same folder, so
// the final rename stays on one file system and replaces the old file in one step; until
// then the old file is untouched, and a new file that is never finished is removed. It is
// readable by nobody else until it takes the old file's place and mode.
class ReplacingFile {
public:
    ReplacingFile(const QString& destination, const ReplaceWhat& what)
        : mDestination(destination), mWhat(what), mReplaced(examine(destination, what)),
          mFolder(QFileInfo(QFile::decodeName(mReplaced.path)).absolutePath()) {
        mFd = createFreshFile(mFolder, QStringLiteral(".festoria-save"), QString(), mPath);
        if (mFd < 0)
            fail();
    }
    ~ReplacingFile() {
        if (mFd >= 0)
            ::close(mFd);
        if (!mDone)
            ::unlink(QFile::encodeName(mPath).constData());
    }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    int fd() const { return mFd; }
    [[noreturn]] void fail() const {
        throw AppError(systemErrorText(mWhat.failure, mDestination, errno));
    }

    // Gives the new file the old one's owner and mode, makes it durable and puts it in the
    // old one's place.
    void replace() {
        takeOwnerAndMode();
        if (::fsync(mFd) != 0)
            fail();
        const int result = ::close(mFd);
        mFd = -1;
        if (result != 0 ||
            ::rename(QFile::encodeName(mPath).constData(), mReplaced.path.constData()) != 0)
            fail();
        mDone = true;
        syncFolder();
    }

private:
    // The rename lives in the folder: until the folder is synced, a power loss may bring back
    // the old file, or none. A file system that cannot sync folders has nothing to lose there.
    void syncFolder() const {
        const int fd =
            ::open(QFile::encodeName(mFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return; // a folder the user may write but not read: the rename stands as it is
        const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
        const int error = errno;
        ::close(fd);
        if (!synced)
            throw AppError(systemErrorText(mWhat.failure, mDestination, error));
    }

    void takeOwnerAndMode() {
        mode_t mode = 0666 & ~currentUmask();
        if (mReplaced.exists) {
            // Only the superuser may give a file away; a user may still pick one of their
            // groups. What the user may not set stays as the new file has it.
            const struct stat& old = mReplaced.status;
            if (::fchown(mFd, old.st_uid, old.st_gid) != 0 && errno == EPERM &&
                ::fchown(mFd, uid_t(-1), old.st_gid) != 0) {
                // Not one of the user's groups either: the file keeps the user's own.
            }
            mode = old.st_mode & 07777;
        }
        // After the owner: changing the owner may clear the set-id bits.
        if (::fchmod(mFd, mode) != 0)
            fail();
    }

    QString mDestination;
    ReplaceWhat mWhat;
    Replaced mReplaced;
    QString mFolder; // where the replaced file is
    QString mPath;
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
} // namespace

QString replacedFile(const QString& destination, const ReplaceWhat& what) {
    if (destination.isEmpty())
        throw AppError(QStringLiteral("Bad file name or number"));
    QString target = destination;
    const QFileInfo info(destination);
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty())
            throw AppError(QStringLiteral("%1 '%2': it is a link to a file that does not exist")
                               .arg(what.failure, destination));
    }
    // stat() looks without opening: a named pipe is refused before anything could block on it.
    struct stat status {};
    if (::stat(QFile::encodeName(target).constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            throw AppError(
                QStringLiteral("%1 '%2': it is a folder").arg(what.failure, destination));
        if (!S_ISREG(status.st_mode))
            throw AppError(QStringLiteral("%1 '%2': it is %3, not a plain file.")
                               .arg(what.failure, destination, kindOf(status.st_mode)));
    }
    return target;
}

void copyFileReplacing(const QString& source, const QString& destination, const ReplaceWhat& what) {
    ReplacingFile out(destination, what);
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

    bool written = true;
    const bool read = readToEnd(in.fd(), [&](const char* data, qsizetype size) {
        written = writeAll(out.fd(), data, size);
        return written;
    });
    if (!written)
        out.fail();
    if (!read)
        throw AppError(systemErrorText(QStringLiteral("Cannot read"), source, errno));
    out.replace();
}

void writeFileReplacing(const QByteArray& bytes, const QString& destination,
                        const ReplaceWhat& what) {
    ReplacingFile out(destination, what);
    if (!writeAll(out.fd(), bytes.constData(), bytes.size()))
        out.fail();
    out.replace();
}
