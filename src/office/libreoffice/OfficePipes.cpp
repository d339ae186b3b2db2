// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's named pipes, and removing those that ended offices left behind.

#include "office/libreoffice/OfficePipes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace office {

namespace {

// Where the office's runtime puts its pipes: the system's temporary folder, or the
// alternative one when that cannot be written to.
QString pipeFolder() {
    return ::access("/tmp", W_OK) == 0 ? QStringLiteral("/tmp") : QStringLiteral("/var/tmp");
}

QString pipePath(const QString& name) {
    return pipeFolder() + QStringLiteral("/OSL_PIPE_%1_").arg(::getuid()) + name;
}

// Whether a process listens on the socket file: a connection is refused when none does.
bool someoneListens(const QByteArray& path) {
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return true; // cannot ask; assume so
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return true;
    const bool refused =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        errno == ECONNREFUSED;
    ::close(probe);
    return !refused;
}

} // namespace

QString acceptPipePath(const QString& pipeName) {
    return pipePath(pipeName);
}

// The office names it after the MD5 sum of the profile's URL (its UTF-16 code units), each
// byte in hexadecimal without a leading zero.
QString singleInstancePipePath(const QString& profileUrl) {
    const QByteArray units(reinterpret_cast<const char*>(profileUrl.utf16()),
                           profileUrl.size() * qsizetype(sizeof(char16_t)));
    QString sum;
    for (const char byte : QCryptographicHash::hash(units, QCryptographicHash::Md5))
        sum += QString::number(quint8(byte), 16);
    return pipePath(QStringLiteral("SingleOfficeIPC_") + sum);
}

void removeDeadPipe(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
        info.st_uid != ::getuid())
        return;
    if (!someoneListens(native))
        ::unlink(native.constData());
}

// The accept pipes carry the program's process id ("festoria-<pid>-<random>").
void removePipesOfEndedPrograms() {
    const QString prefix = QStringLiteral("OSL_PIPE_%1_festoria-").arg(::getuid());
    const QDir folder(pipeFolder());
    for (const QString& name :
         folder.entryList({prefix + QLatin1Char('*')}, QDir::System | QDir::Hidden)) {
        const pid_t owner = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toInt();
        if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH)
            removeDeadPipe(folder.filePath(name));
    }
}

} // namespace office
