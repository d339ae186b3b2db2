// The office's named pipes, and removing those that ended offices left behind.

#include "office/libreoffice/OfficePipes.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace office {

namespace {

const QString kPipeFolder = QStringLiteral("/tmp");

QString pipePrefix() { return QStringLiteral("OSL_PIPE_%1_").arg(::getuid()); }

} // namespace

QString acceptPipePath(const QString& pipeName) {
    return kPipeFolder + QLatin1Char('/') + pipePrefix() + pipeName;
}

// The accept pipes carry the program's process id ("festoria-<pid>-<random>").
void removePipesOfEndedPrograms() {
    const QString prefix = pipePrefix() + QStringLiteral("festoria-");
    const QDir folder(kPipeFolder);
    for (const QString& name :
         folder.entryList({prefix + QLatin1Char('*')}, QDir::System | QDir::Hidden)) {
        const pid_t owner = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toInt();
        if (owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
            info.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}

} // namespace office
