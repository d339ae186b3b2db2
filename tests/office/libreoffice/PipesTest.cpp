// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's pipes against other local users, and the office's process id after its end.

#include "core/AppError.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/LibreOffice.h"
#include "office/libreoffice/OfficePipes.h"
#include "office/libreoffice/OfficeProcess.h"
#include "office/libreoffice/PipeConnection.h"
#include "support/office/OfficeDocuments.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace ::com::sun::star;

namespace {

// A process listening on a socket file as the given user, until it is killed.
pid_t listenAs(uid_t user, const QByteArray& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if ((user != ::getuid() && ::setresuid(user, user, user) != 0) ||
            ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(s, 1) != 0)
            ::_exit(1);
        ::accept(s, nullptr, nullptr);
        ::pause();
    }
    for (int i = 0; i < 200 && !QFile::exists(QFile::decodeName(path)); ++i)
        std::this_thread::sleep_for(10ms);
    return child;
}

// A process's command line or environment, its entries separated by NUL.
QByteArray procText(pid_t pid, const char* what) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(what)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The office's profile as its group's processes are given it: in their environments, or
// (an empty string) on a command line.
QString officeFolderOf(pid_t group) {
    QString folder;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const pid_t pid = entry.toInt();
        if (pid <= 0 || ::getpgid(pid) != group)
            continue;
        if (procText(pid, "cmdline").contains("UserInstallation"))
            return {};
        for (const QByteArray& e : procText(pid, "environ").split('\0'))
            if (e.startsWith("UserInstallation="))
                folder = QString::fromUtf8(e.mid(int(qstrlen("UserInstallation="))));
    }
    return folder;
}

char processState(pid_t pid) {
    const QByteArray stat = procText(pid, "stat");
    const qsizetype after = stat.lastIndexOf(')');
    return after < 0 || after + 2 >= stat.size() ? '\0' : stat.at(after + 2);
}

} // namespace

// Who listens on the office's pipe decides whether the program talks over it: only a process
// of this user's; another user's is refused before a byte goes.
TEST(OfficePipes, TheProgramTalksOnlyToAPipeThisUserListensOn) {
    QTemporaryDir folder(QStringLiteral("/tmp/festoria-pipes-XXXXXX")); // others may enter
    ASSERT_TRUE(folder.isValid());
    ::chmod(QFile::encodeName(folder.path()).constData(), 01777);
    const QString path = folder.filePath(QStringLiteral("pipe"));

    const pid_t own = listenAs(::getuid(), QFile::encodeName(path));
    {
        const auto pipe = office::connectToPipe(path, QStringLiteral("own"));
        uno::Sequence<sal_Int8> got;
        std::thread closer([&] {
            std::this_thread::sleep_for(100ms);
            pipe->close();
        });
        EXPECT_EQ(pipe->read(got, 1), 0) << "a read waiting on the pipe returns when it closes";
        closer.join();
    }
    ::kill(own, SIGKILL);
    ::waitpid(own, nullptr, 0);
    QFile::remove(path);

    if (::getuid() != 0)
        GTEST_SKIP() << "another user's process needs a run as root";
    const pid_t other = listenAs(65534, QFile::encodeName(path));
    try {
        office::connectToPipe(path, QStringLiteral("other"));
        ADD_FAILURE() << "another user's pipe was used";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("another user's program")))
            << e.description().toStdString();
    }
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
}

// The office's profile, which names its single-instance pipe, is in no command line others
// can read, carries 128 random bits and changes at every start; its files stay.
TEST(OfficePipes, NoOtherUserCanNameTheOfficesPipes) {
    static const QRegularExpression name(
        QStringLiteral("/office-profile[-0-9]*/office-[0-9a-f]{32}$"));
    QString before;
    for (int start = 0; start < 2; ++start) {
        const auto office = office::makeLibreOffice();
        office->startSession();
        const pid_t group = office->processId();
        const QString folder = officeFolderOf(group);
        EXPECT_TRUE(name.match(folder).hasMatch()) << folder.toStdString();
        EXPECT_NE(folder, before) << "a new name at every start";
        const QString pipe = office::singleInstancePipePath(folder);
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0) << pipe.toStdString();
        EXPECT_EQ(info.st_mode & 077, 0u) << "the office's pipes are its user's alone";
        if (start == 1) {
            EXPECT_TRUE(QFile::exists(QUrl(folder).toLocalFile() +
                                      QStringLiteral("/user/registrymodifications.xcu")))
                << "the profile's files move with its name";
        }
        before = folder;
    }
}

// An office that ended stays uncollected until end(), which the engine calls once it has
// forgotten the office's id: no kill by that id can reach a process that got the id later.
TEST(OfficeProcessId, AnEndedOfficeIsSeenButCollectedOnlyByEnd) {
    QTemporaryDir folder;
    office::OfficeProcess process;
    const pid_t group = process.spawn({"/bin/sh", "-c", "exit 3"}, {},
                                      folder.filePath(QStringLiteral("office.log")));
    QString how;
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (!process.hasEnded(&how) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(how, QStringLiteral("with code 3"));
    EXPECT_EQ(processState(group), 'Z') << "seen, not collected";
    process.end();
    EXPECT_EQ(processState(group), '\0') << "collected by end()";
}
