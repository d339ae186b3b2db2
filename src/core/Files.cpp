#include "core/Files.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

QString cacheFolder() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/festoria");
}

bool FileExists(const QString& path) {
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

void ForceDeleteFile(const QString& path) {
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

void KillFile(const QString& path) {
    try {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        if (!path.isEmpty() && ::unlink(QFile::encodeName(path).constData()) == 0)
            return;
        ForceDeleteFile(path);
    } catch (...) {
        // A file that cannot be deleted stays; the caller is never disturbed.
    }
}

QString tempFolder() {
    const QString fromEnvironment = qEnvironmentVariable("TEMP");
    if (!fromEnvironment.isEmpty()) {
        QString folder = fromEnvironment;
        while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        return folder;
    }
    // No TEMP: a folder of our own in the user's cache, made private (0700) as it is
    // created, and used only when it really is our own folder and not a link planted there.
    const QString cache = cacheFolder();
    QDir().mkpath(QFileInfo(cache).path());
    for (const QString& folder : {cache, QString(cache + QStringLiteral("/tmp"))}) {
        const QByteArray native = QFile::encodeName(folder);
        ::mkdir(native.constData(), 0700);
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::getuid())
            throw AppError(QStringLiteral("The temporary folder '%1' is not a private folder of "
                                          "this user.")
                               .arg(folder));
        if ((info.st_mode & 0077) != 0)
            ::chmod(native.constData(), 0700);
    }
    return cache + QStringLiteral("/tmp");
}

QString tempPath(const QString& name) {
    const QString folder = tempFolder();
    if (folder == QStringLiteral("/"))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

void writeFileNoFollow(const QString& path, const QByteArray& bytes) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, errno));
    if (!writeAll(fd, bytes.constData(), bytes.size())) {
        const int error = errno;
        ::close(fd);
        ::unlink(native.constData());
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, error));
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(native.constData());
        throw AppError(systemErrorText(QStringLiteral("Cannot write"), path, error));
    }
}
