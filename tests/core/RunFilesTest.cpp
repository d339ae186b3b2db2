// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The files a run made go with it, and those of a run that was killed go at a later start;
// never another running copy's, nor a later file under a noted name.
#include "core/RunFiles.h"
#include "core/Files.h"
#include "support/ScopedTemp.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A process id no process has now: a child's that has ended and been collected.
pid_t endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A record as a run with that process id leaves it, noting the files.
void writeRecord(const QString& name, const QStringList& files) {
    QByteArray lines;
    for (const QString& file : files) {
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(file).constData(), &info), 0);
        lines += QByteArray::number(quint64(info.st_dev)) + ' ' +
                 QByteArray::number(quint64(info.st_ino)) + ' ' +
                 QFile::encodeName(file).toPercentEncoding() + '\n';
    }
    writeFile(pathIn(runFiles::recordsFolder(), name), lines);
}
} // namespace

TEST(RunFiles, WhatEndedRunsNotedGoesAndNothingElse) {
    ScopedTemp temp;
    ScopedVariable cache("XDG_CACHE_HOME", QFile::encodeName(temp.file("cache")));
    ASSERT_TRUE(QDir().mkpath(runFiles::recordsFolder()));
    const auto made = [&](const QString& name) {
        writeFile(temp.file(name), "Jane Doe, 12 Elm Street");
        return temp.file(name);
    };
    const QString ended = QStringLiteral("run-%1").arg(endedProcessId());
    writeRecord(ended, {made("qorvel11111111.doc"), made("temp-abcdefgh.bmp")});
    // Process 1 always runs: a live copy's record.
    writeRecord("run-1", {made("qorvel22222222.doc")});
    // A file noted, then deleted, and a new one (the user's) under its name since.
    writeRecord(QStringLiteral("run-%1").arg(endedProcessId()), {made("replaced.doc")});
    const QString newer = made("newer.doc"); // made while the old one exists: another file
    ASSERT_TRUE(QFile::remove(temp.file("replaced.doc")));
    ASSERT_TRUE(QFile::rename(newer, temp.file("replaced.doc")));
    // A live copy whose record is locked, under an id that no process has (a copy in another
    // process namespace, say).
    const QString locked = QStringLiteral("run-%1").arg(endedProcessId());
    writeRecord(locked, {made("qorvel33333333.doc")});
    const int lock =
        ::open(QFile::encodeName(pathIn(runFiles::recordsFolder(), locked)).constData(),
               O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    runFiles::removeLeftByEndedRuns();
    EXPECT_EQ(temp.entries(),
              QStringList({"cache", "qorvel22222222.doc", "qorvel33333333.doc", "replaced.doc"}));
    EXPECT_FALSE(QFile::exists(pathIn(runFiles::recordsFolder(), ended)));
    ::close(lock);

    // This run's own files go at its end, also those noted after a start.
    const QString document = made("qorvel44444444.doc");
    runFiles::note(document);
    const QString own = pathIn(runFiles::recordsFolder(), QStringLiteral("run-%1").arg(::getpid()));
    EXPECT_TRUE(QFile::exists(own));
    runFiles::removeAll();
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_FALSE(QFile::exists(own)) << "the run's record goes with it";
}

// A record written by anyone but the program may name any file of the user's: only the names
// the program gives its own files, right in its temporary folder, go because of one.
TEST(RunFiles, ARecordRemovesOnlyTheProgramsOwnFiles) {
    ScopedTemp temp;
    const QTemporaryDir elsewhere;
    ScopedVariable cache("XDG_CACHE_HOME", QFile::encodeName(elsewhere.filePath("cache")));
    ASSERT_TRUE(QDir().mkpath(runFiles::recordsFolder()));
    ASSERT_TRUE(QDir().mkpath(temp.file("sub")));
    const struct {
        QString path;
        bool goes;
    } table[] = {
        {temp.file("qorvel77777777.doc"), true},
        {temp.file("template-abcdEFG1.dot"), true},
        {temp.file("temp-0a1b2c3d.bmp"), true},
        {elsewhere.filePath("notes.txt"), false},
        {elsewhere.filePath("qorvel55555555.doc"), false},
        {temp.file("letter.odt"), false},
        {temp.file("qorvel12345670.doc"), false},
        {temp.file("sub/qorvel66666666.doc"), false},
        {temp.file("sub/../qorvel88888888.doc"), false},
    };
    QStringList listed;
    for (const auto& row : table) {
        writeFile(row.path, "Jane Doe, 12 Elm Street");
        listed << row.path;
    }
    writeRecord(QStringLiteral("run-%1").arg(endedProcessId()), listed);
    runFiles::removeLeftByEndedRuns();
    for (const auto& row : table)
        EXPECT_EQ(QFile::exists(row.path), !row.goes) << row.path.toStdString();
}
