#include "core/Files.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString& programFolderOverride() {
    static QString folder;
    return folder;
}

QString systemError(const QString& what, const QString& path, int error) {
    return what + QStringLiteral(" '") + path + QStringLiteral("': ") +
           QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

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
        throw AppError(systemError(QStringLiteral("Cannot delete"), path, errno));
    if (S_ISDIR(info.st_mode))
        throw AppError(QStringLiteral("Cannot delete '%1': it is a folder").arg(path));
    if (!S_ISLNK(info.st_mode))
        ::chmod(native.constData(), info.st_mode | S_IWUSR);
    if (::unlink(native.constData()) != 0)
        throw AppError(systemError(QStringLiteral("Cannot delete"), path, errno));
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

QString programFolder() {
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { programFolderOverride() = folder; }

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
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(base);
    QString folder = base;
    for (const QString& part : {QStringLiteral("festoria"), QStringLiteral("tmp")}) {
        folder += QLatin1Char('/') + part;
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
    return folder;
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
        throw AppError(systemError(QStringLiteral("Cannot write"), path, errno));
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            ::unlink(native.constData());
            throw AppError(systemError(QStringLiteral("Cannot write"), path, error));
        }
        written += n;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(native.constData());
        throw AppError(systemError(QStringLiteral("Cannot write"), path, error));
    }
}
