// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Files.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

QString systemErrorText(const QString& what, const QString& path, int error) {
    return what + QStringLiteral(" '") + path + QStringLiteral("': ") +
           QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const char* data, qsizetype size) {
    qsizetype written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += n;
    }
    return true;
}

bool readToEnd(int fd, const std::function<bool(const char* data, qsizetype size)>& consume) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || !consume(buffer, n))
            return false;
    }
}

QString cacheFolder() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/festoria");
}

bool fileExists(const QString& path) {
    try {
        if (path.isEmpty())
            return false;
        struct stat info {};
        const QByteArray native = QFile::encodeName(path);
        if (native.contains('\0'))
            return false;
        return ::stat(native.constData(), &info) == 0;
    } catch (...) {
        return false;
    }
}

void forceDeleteFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot delete"), path, errno));
    if (S_ISDIR(info.st_mode))
        throw AppError(QStringLiteral("Cannot delete '%1': it is a folder").arg(path));
    if (!S_ISLNK(info.st_mode))
        ::chmod(native.constData(), info.st_mode | S_IWUSR);
    if (::unlink(native.constData()) != 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot delete"), path, errno));
}

void deleteFile(const QString& path) {
    try {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        if (!path.isEmpty() && ::unlink(QFile::encodeName(path).constData()) == 0)
            return;
        forceDeleteFile(path);
    } catch (...) {
        // A file that cannot be deleted stays; the caller is never disturbed.
    }
}

namespace {
const QString kTempFolderWhat = QStringLiteral("temporary folder");
const QString kCacheFolderWhat = QStringLiteral("program's cache folder");

// Why the entry at the path is no folder of this user's own; empty when it is one.
QString notOwnFolderReason(const struct stat& info) {
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("it is a link");
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("it is not a folder");
    if (info.st_uid != ::getuid())
        return QStringLiteral("it belongs to another user");
    return QString();
}

// A folder where someone else may create or replace entries: writable by its group or by
// everybody (the sticky bit does not stop new names), or owned by another user.
bool sharedFolder(const QString& folder) {
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false; // nothing to share; using it fails with the system's own reason
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 ||
           (info.st_uid != ::getuid() && info.st_uid != 0);
}
} // namespace

bool isOwnFolder(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &info) == 0 &&
           notOwnFolderReason(info).isEmpty();
}

void ensureOwnFolder(const QString& folder, const QString& what) {
    const QByteArray native = QFile::encodeName(folder);
    const int made = ::mkdir(native.constData(), 0700) == 0 ? 0 : errno;
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        throw AppError(
            QStringLiteral("The %1 '%2' cannot be made: %3")
                .arg(what, folder, QString::fromLocal8Bit(std::strerror(made ? made : errno))));
    const QString reason = notOwnFolderReason(info);
    if (!reason.isEmpty())
        throw AppError(QStringLiteral("The %1 '%2' is not a private folder of this user: %3.")
                           .arg(what, folder, reason));
    if ((info.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0)
        throw AppError(QStringLiteral("The %1 '%2' cannot be made private: %3")
                           .arg(what, folder, QString::fromLocal8Bit(std::strerror(errno))));
}

namespace {
// The fresh folders standing in for unusable ones this run, by the folder they replace.
struct FreshFolders {
    std::mutex mutex;
    QHash<QString, QByteArray> byFolder;
};

FreshFolders& freshFolders() {
    static FreshFolders* const folders = new FreshFolders; // used at exit
    return *folders;
}

void removeEmptyFreshFolders() {
    FreshFolders& fresh = freshFolders();
    const std::lock_guard lock(fresh.mutex);
    for (const QByteArray& path : std::as_const(fresh.byFolder))
        ::rmdir(path.constData());
}
} // namespace

QString ownFolderOrFresh(const QString& folder, const QString& what) {
    QString refusal;
    try {
        ensureOwnFolder(folder, what);
        return folder;
    } catch (const AppError& e) {
        refusal = e.description();
    }
    FreshFolders& fresh = freshFolders();
    const std::lock_guard lock(fresh.mutex);
    if (const auto found = fresh.byFolder.constFind(folder); found != fresh.byFolder.cend())
        return QFile::decodeName(*found);
    QByteArray name = QFile::encodeName(folder) + "-XXXXXX";
    if (::mkdtemp(name.data()) == nullptr)
        throw OwnFilesError(QStringLiteral("%1 No private folder could be made beside it: %2")
                                .arg(refusal, QString::fromLocal8Bit(std::strerror(errno))));
    if (fresh.byFolder.isEmpty())
        std::atexit(removeEmptyFreshFolders);
    fresh.byFolder.insert(folder, name);
    return QFile::decodeName(name);
}

void emptyOwnFolder(const QString& folder, const QString& what) {
    ensureOwnFolder(folder, what);
    // Entries inside go, links as themselves: removeRecursively never enters a linked folder.
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            ::unlink(QFile::encodeName(entry.filePath()).constData());
    }
}

std::unique_ptr<QTemporaryDir> scratchFolder(const QString& purpose) {
    const QString cache = cacheFolder();
    QDir().mkpath(QFileInfo(cache).path());
    ensureOwnFolder(cache, kCacheFolderWhat);
    auto folder = std::make_unique<QTemporaryDir>(cache + QLatin1Char('/') + purpose +
                                                  QStringLiteral("-XXXXXX"));
    if (!folder->isValid())
        throw AppError(
            QStringLiteral("Cannot create a folder for the %1 in '%2'.").arg(purpose, cache));
    return folder;
}

QString tempFolder() {
    const QString fromEnvironment = qEnvironmentVariable("TEMP");
    if (!fromEnvironment.isEmpty()) {
        QString folder = fromEnvironment;
        while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        if (!sharedFolder(folder))
            return folder;
        const QString own = (folder == QStringLiteral("/") ? QString() : folder) +
                            QStringLiteral("/festoria-%1").arg(::getuid());
        return ownFolderOrFresh(own, kTempFolderWhat);
    }
    // No TEMP: a folder of our own in the user's cache.
    const QString cache = cacheFolder();
    QDir().mkpath(QFileInfo(cache).path());
    ensureOwnFolder(cache, kTempFolderWhat);
    ensureOwnFolder(cache + QStringLiteral("/tmp"), kTempFolderWhat);
    return cache + QStringLiteral("/tmp");
}

QString pathIn(const QString& folder, const QString& name) {
    if (folder == QStringLiteral("/"))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString tempPath(const QString& name) {
    return pathIn(tempFolder(), name);
}

namespace {
// Creates a new file exclusively (mode 0600), never through a link or onto a FIFO. Returns
// the descriptor, or -1 with errno set.
int createExclusively(const QString& path) {
    return ::open(QFile::encodeName(path).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
}

// Writes all bytes to a file just created and closes it; a half-written file is removed.
void writeAndClose(int fd, const QString& path, const QByteArray& bytes) {
    const bool written = writeAll(fd, bytes.constData(), bytes.size());
    const int error = written ? 0 : errno;
    if (::close(fd) != 0 || !written) {
        const int reason = error ? error : errno;
        ::unlink(QFile::encodeName(path).constData());
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, reason));
    }
}

QString randomName(const QString& stem, const QString& suffix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = stem + QLatin1Char('-');
    for (int i = 0; i < 8; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(62)]);
    return name + suffix;
}

// Fresh names to try; a name already taken is drawn again, a few times at most.
constexpr int kNameAttempts = 100;
} // namespace

void writeFileNoFollow(const QString& path, const QByteArray& bytes) {
    const int fd = createExclusively(path);
    if (fd < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, errno));
    writeAndClose(fd, path, bytes);
}

int createFreshFile(const QString& folder, const QString& stem, const QString& suffix,
                    QString& path) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = pathIn(folder, randomName(stem, suffix));
        const int fd = createExclusively(path);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

QString writePrivateFile(const QString& folder, const QString& stem, const QString& suffix,
                         const QByteArray& bytes) {
    QString path;
    const int fd = createFreshFile(folder, stem, suffix, path);
    if (fd < 0 && errno == EEXIST)
        throw AppError(QStringLiteral("No free name for a new file in '%1'.").arg(folder));
    if (fd < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, errno));
    writeAndClose(fd, path, bytes);
    return path;
}

QString takeOverFile(const QString& path, const QString& stem, const QString& suffix) {
    const QByteArray from = QFile::encodeName(path);
    const QString folder = QFileInfo(path).path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString target = pathIn(folder, randomName(stem, suffix));
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(target).constData(),
                        RENAME_NOREPLACE) == 0)
            return target;
        if (errno == ENOENT)
            return QString();
        if (errno != EEXIST)
            throw AppError(systemErrorText(QStringLiteral("Cannot use"), path, errno));
    }
    throw AppError(QStringLiteral("No free name for a new file in '%1'.").arg(folder));
}

void putBackFile(const QString& taken, const QString& original) {
    ::renameat2(AT_FDCWD, QFile::encodeName(taken).constData(), AT_FDCWD,
                QFile::encodeName(original).constData(), RENAME_NOREPLACE);
}

std::optional<FileStamp> fileStamp(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    const auto nanoseconds = [](const timespec& t) {
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return FileStamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                     nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

std::pair<quint64, quint64> fileIdentity(const QString& path) {
    const std::optional<FileStamp> stamp = fileStamp(path);
    return stamp ? std::pair(stamp->device, stamp->inode) : std::pair<quint64, quint64>(0, 0);
}

bool isOwnPlainFile(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode) && info.st_uid == ::getuid();
}

QByteArray readPlainFile(const QString& path, Links links) {
    const int fd =
        ::open(QFile::encodeName(path).constData(),
               O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0));
    if (fd < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot read"), path, errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw AppError(QStringLiteral("Cannot read '%1': it is not a plain file.").arg(path));
    }
    QByteArray bytes;
    // Read into place: a file of megabytes grown in pieces would be copied again and again.
    if (info.st_size > 0 && info.st_size < qint64(1) << 30)
        bytes.reserve(qsizetype(info.st_size));
    if (!readToEnd(fd, [&](const char* data, qsizetype size) {
            bytes.append(data, size);
            return true;
        })) {
        const int error = errno;
        ::close(fd);
        throw AppError(systemErrorText(QStringLiteral("Cannot read"), path, error));
    }
    ::close(fd);
    return bytes;
}
