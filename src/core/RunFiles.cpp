// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A run's record is a text file of lines "<device> <inode> <percent-encoded path>", one per
// file made, written as each is made, so that a killed run's record is whole up to its end.

#include "core/RunFiles.h"

#include "core/AppError.h"
#include "core/Files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace runFiles {

namespace {

struct Noted {
    QByteArray path; // as the system takes it
    dev_t device;
    ino_t inode;
};

// This run's record and what it noted; shared with the exit handler.
struct Record {
    std::mutex mutex;
    int fd = -1;
    QByteArray path;
    bool exitHandlerSet = false;
    std::vector<Noted> files;
};

// The noted files again, for a signal handler: fixed slots, each written whole before the count
// that publishes it grows. A path too long for a slot, or a file past the last slot, is left
// to the exit handler and to later starts.
struct SignalSafeList {
    static constexpr int kSlots = 1024;
    static constexpr size_t kPathBytes = 496;
    struct Slot {
        char path[kPathBytes];
        dev_t device;
        ino_t inode;
    };
    Slot entries[kSlots];
    std::atomic<int> count{0};
};

SignalSafeList gSignalSafe; // zero pages until written

void publishForSignals(const QByteArray& path, dev_t device, ino_t inode) {
    const int at = gSignalSafe.count.load(std::memory_order_relaxed);
    if (at >= SignalSafeList::kSlots || size_t(path.size()) >= SignalSafeList::kPathBytes)
        return;
    SignalSafeList::Slot& slot = gSignalSafe.entries[at];
    std::memcpy(slot.path, path.constData(), size_t(path.size()) + 1);
    slot.device = device;
    slot.inode = inode;
    gSignalSafe.count.store(at + 1, std::memory_order_release);
}

Record& record() {
    static Record* const theRecord = new Record; // never destroyed: used at exit
    return *theRecord;
}

// Removes the file when it is still the noted one: a plain file of this user's, the same
// device and inode.
void removeIfSame(const QByteArray& path, dev_t device, ino_t inode) {
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == ::getuid() && info.st_dev == device && info.st_ino == inode)
        ::unlink(path.constData());
}

// Opens (or takes over, should an ended run have had this process id) and locks this run's
// record. Without one (a refused folder, say) the files are removed at exit only.
void openRecord(Record& r) {
    ensureOwnFolder(recordsFolder(), QStringLiteral("folder of the program's runs"));
    r.path = QFile::encodeName(pathIn(recordsFolder(), QStringLiteral("run-%1").arg(::getpid())));
    r.fd = ::open(r.path.constData(),
                  O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (r.fd >= 0 && ::flock(r.fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(r.fd);
        r.fd = -1;
    }
}

// A run whose record no process holds locked and whose process id no process has.
bool runEnded(int recordFd, const QString& name) {
    bool isNumber = false;
    const pid_t pid = name.mid(4).toInt(&isNumber);
    if (!isNumber || pid <= 0 || (::kill(pid, 0) == 0 || errno == EPERM))
        return false;
    return ::flock(recordFd, LOCK_EX | LOCK_NB) == 0;
}

// Whoever can write a record could name any file in it: only a name the program gives the
// files it notes (the filled document, a private copy of the template or the picture), right
// in its temporary folder, is removed because of one.
bool madeByTheProgram(const QByteArray& path, const QString& tempFolder) {
    static const QRegularExpression names(QStringLiteral(
        "^(?:qorvel[1-9]{8}\\.doc|template-[A-Za-z0-9]{8}\\.dot|temp-[A-Za-z0-9]{8}\\.bmp)$"));
    const QFileInfo file(QFile::decodeName(path));
    return file.path() == tempFolder && names.match(file.fileName()).hasMatch();
}

void removeListed(const QByteArray& lines, const QString& tempFolder) {
    for (const QByteArray& line : lines.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 3)
            continue;
        const QByteArray path = QByteArray::fromPercentEncoding(fields[2]);
        if (madeByTheProgram(path, tempFolder))
            removeIfSame(path, dev_t(fields[0].toULongLong()), ino_t(fields[1].toULongLong()));
    }
}

// A record is read only when it is a plain file of this user's of a record's size.
bool trustedRecord(int fd) {
    constexpr off_t kMaxRecordBytes = 1 << 20;
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid() &&
           info.st_size <= kMaxRecordBytes;
}

} // namespace

QString recordsFolder() {
    return pathIn(cacheFolder(), QStringLiteral("runs"));
}

void note(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::lstat(native.constData(), &info) != 0)
        return;
    Record& r = record();
    const std::lock_guard lock(r.mutex);
    r.files.push_back({native, info.st_dev, info.st_ino});
    publishForSignals(native, info.st_dev, info.st_ino);
    if (!r.exitHandlerSet) {
        r.exitHandlerSet = true;
        std::atexit(removeAll);
        try {
            openRecord(r);
        } catch (const AppError&) {
            // The files still go at exit.
        }
    }
    if (r.fd >= 0) {
        const QByteArray line = QByteArray::number(quint64(info.st_dev)) + ' ' +
                                QByteArray::number(quint64(info.st_ino)) + ' ' +
                                native.toPercentEncoding() + '\n';
        writeAll(r.fd, line.constData(), line.size());
    }
}

void removeAllFromSignal() {
    const int count = gSignalSafe.count.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        const SignalSafeList::Slot& slot = gSignalSafe.entries[i];
        struct stat info {};
        if (::lstat(slot.path, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid() &&
            info.st_dev == slot.device && info.st_ino == slot.inode)
            ::unlink(slot.path);
    }
}

void removeAll() {
    Record& r = record();
    const std::lock_guard lock(r.mutex);
    for (const Noted& file : r.files)
        removeIfSame(file.path, file.device, file.inode);
    r.files.clear();
    if (r.fd >= 0) {
        ::unlink(r.path.constData());
        ::close(r.fd);
        r.fd = -1;
    }
}

void removeLeftByEndedRuns() {
    if (!isOwnFolder(recordsFolder()))
        return;
    const QStringList names =
        QDir(recordsFolder()).entryList({QStringLiteral("run-*")}, QDir::Files | QDir::Hidden);
    if (names.isEmpty())
        return;
    QString temp;
    try {
        temp = tempFolder();
    } catch (const AppError&) {
        return; // the records stay, and so do their files, until a start finds the folder
    }
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(pathIn(recordsFolder(), name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        try {
            if (trustedRecord(fd) && runEnded(fd, name)) {
                removeListed(
                    readPlainFile(QStringLiteral("/proc/self/fd/%1").arg(fd), Links::Follow), temp);
                ::unlink(path.constData());
            }
        } catch (const AppError&) {
            // A record that cannot be read stays, and so do its files.
        }
        ::close(fd);
    }
}

} // namespace runFiles
