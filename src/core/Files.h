// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

// True when the last-modified time of the path can be read; never throws.
bool fileExists(const QString& path);

// Lets pending window events run, deletes the file, and when that fails deletes it again
// with force. Never reports and never throws: a file that cannot be deleted stays.
void deleteFile(const QString& path);

// Deletes a file even when it is read-only. Throws AppError when it cannot.
void forceDeleteFile(const QString& path);

// The program's folder in the user's cache ($XDG_CACHE_HOME or ~/.cache, then "festoria"):
// the office's private profile, its picture files and the private temporary folder live
// there. Only computed, not created.
QString cacheFolder();

// Makes the folder when missing (mode 0700) and accepts it only as a real folder of this
// user's own: a link, anything else under its name, or another user's folder is refused and
// left as it is (never followed, emptied or re-moded). A folder of ours that others could
// enter is closed (0700). Every folder the program creates, empties or expires goes through
// this. Throws AppError "The <what> '<folder>' is not a private folder of this user: <why>."
// (or why it cannot be made).
void ensureOwnFolder(const QString& folder, const QString& what);
// ensureOwnFolder, then removes everything inside; a link inside goes as itself, never what
// it leads to.
void emptyOwnFolder(const QString& folder, const QString& what);
// The folder when ensureOwnFolder accepts it; otherwise (a link, another user's folder,
// anything else under its name) it is left as it is and a fresh private folder beside it
// takes its place for the rest of the run: "<folder>-XXXXXX", made with a random name and
// mode 0700, removed at the program's end when empty. Throws AppError naming the folder and
// the reasons when neither can be used.
QString ownFolderOrFresh(const QString& folder, const QString& what);
// True when the path itself (not a link) is a folder of this user's.
bool isOwnFolder(const QString& path);

// A private scratch folder (mode 0700) of the program's in its cache folder, named after
// what it is for ("picture", "export"), removed with the object. Throws AppError when it
// cannot be made.
std::unique_ptr<QTemporaryDir> scratchFolder(const QString& purpose);

// The temporary folder: $TEMP when set and not empty, otherwise a private per-user folder
// (mode 0700) that is created when missing. When $TEMP is a folder others can write to (or
// another user's), the program's fixed names would be theirs to plant: the folder is then
// a private one of ours inside it ("festoria-<uid>", mode 0700). Throws AppError naming the
// folder and the reason when a private folder is not this user's own (a planted link, say)
// or cannot be made. Never ends in a slash.
QString tempFolder();
// The path of a name in a folder (no doubled slash in "/").
QString pathIn(const QString& folder, const QString& name);
// pathIn(tempFolder(), name).
QString tempPath(const QString& name);

// "<what> '<path>': <the system's description of error>", for reports.
QString systemErrorText(const QString& what, const QString& path, int error);

// Writes all bytes to the descriptor, again after an interrupted write. False (with errno
// set) when the system refuses.
bool writeAll(int fd, const char* data, qsizetype size);

// Reads the descriptor to its end, handing each piece to consume, again after an interrupted
// read. False when a read fails (errno set) or consume returns false.
bool readToEnd(int fd, const std::function<bool(const char* data, qsizetype size)>& consume);

// Creates a new file of this user's alone (mode 0600) under a fresh name in the folder,
// "<stem>-<8 random letters or digits><suffix>", exclusively and never through a link, so
// that no other writer can share it; a taken name is drawn again. Sets path and returns the
// descriptor, or -1 with errno set (EEXIST when no free name was found).
int createFreshFile(const QString& folder, const QString& stem, const QString& suffix,
                    QString& path);

// Writes bytes to a new file, created exclusively: anything already under the name (a file,
// a link, a FIFO) is refused, never followed or opened. A half-written file is removed.
// Throws AppError with a readable description on any failure.
void writeFileNoFollow(const QString& path, const QByteArray& bytes);

// Writes bytes to a new file of this user's alone (mode 0600) under a fresh name in the
// folder, "<stem>-<8 random letters or digits><suffix>", created exclusively, so that no
// other writer (in this program or another) can share it. Returns its path. A half-written
// file is removed. Throws AppError with a readable description on any failure.
QString writePrivateFile(const QString& folder, const QString& stem, const QString& suffix,
                         const QByteArray& bytes);

// Moves the entry at the path (the entry itself, never what a link leads to) to a fresh name
// beside it, as writePrivateFile names them, in one step: of several takers exactly one gets
// it. Returns the new path, or "" when nothing was there to take. Throws AppError when it
// cannot be moved.
QString takeOverFile(const QString& path, const QString& stem, const QString& suffix);

// Moves a file taken with takeOverFile back under its old name, unless something is there by
// now (then it stays where it is). Never throws.
void putBackFile(const QString& taken, const QString& original);

// Which file the path names now: the device and inode of the entry itself ({0, 0} when there
// is none), so that a file is never mistaken for a later one under the same name.
std::pair<quint64, quint64> fileIdentity(const QString& path);

// Which file the path names now and how it stands: its identity, size, and the times it was
// last written and last changed. A file that was written, replaced or removed in between
// never keeps its stamp. Empty when there is no entry at the path.
struct FileStamp {
    quint64 device = 0, inode = 0;
    qint64 size = 0, modified = 0, changed = 0; // times in nanoseconds
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> fileStamp(const QString& path);

// True when the path itself (not a link) is a plain file of this user's.
bool isOwnPlainFile(const QString& path);

// Reads a plain file without blocking (a FIFO or a device is refused), and, unless told to
// follow one, without following a link at the path. Throws AppError with a readable
// description on any failure.
enum class Links { Refuse, Follow };
QByteArray readPlainFile(const QString& path, Links links = Links::Refuse);
