// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The request in a temporary folder it must refuse, and among files planted under its names.
#include "core/AppError.h"
#include "core/Files.h"
#include "invitation/RequestFakes.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
enum class Plant { File, Link, Fifo };

// Puts something under the name, as another user would (owned by "nobody" when the test can
// give files away). A link leads to a private file of the user's own.
void plant(const QString& path, Plant kind, const QString& privateTarget) {
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case Plant::File:
        writeFile(path, "planted");
        break;
    case Plant::Link:
        ASSERT_EQ(::symlink(QFile::encodeName(privateTarget).constData(), native.constData()), 0);
        break;
    case Plant::Fifo:
        ASSERT_EQ(::mkfifo(native.constData(), 0666), 0);
        break;
    }
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(native.constData(), 65534, 65534), 0);
    }
}

// The kind of what is under the name now ("" when nothing).
QString kindAt(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return S_ISLNK(info.st_mode) ? "link" : S_ISFIFO(info.st_mode) ? "fifo" : "file";
}

struct RequestRun {
    FakeOffice office;
    FakeHost host;
    FakeClipboard clipboard;
    ScriptedPrompts prompts;
    CreateInvitation request{host, office, prompts, clipboard};
    RequestRun() {
        office.bookmarks = {"bEvent", "bWhen", "bWhere", "bBring", "bDrive", "bRSVP"};
        request.setTemplateSource([] { return QByteArray("our template"); });
    }
    QString opened() const {
        for (const QString& entry : office.log)
            if (entry.startsWith("open ") && entry.endsWith(" ro"))
                return entry.mid(5, entry.size() - 8);
        return QString();
    }
};
} // namespace

// A temporary folder the program must refuse: in a shared TEMP (a link planted where its
// private folder goes, a file in its place) it is left as it is and a fresh private folder
// serves the request; the cache's own folder replaced by a link gives one report at the step
// that needs the folder, naming it and saying why; the request goes on and ends cleanly, and
// once the folder is fixed the next request makes the invitation.
TEST(TemporaryFolder, ARefusedFolderIsReportedAndTheRequestEndsCleanly) {
    ScopedVariable temp("TEMP");
    ScopedVariable cacheHome("XDG_CACHE_HOME");
    struct Case {
        const char* name;
        bool useTemp;
        bool asLink;
    };
    for (const Case& c : {Case{"no TEMP, fallback replaced by a link", false, true},
                          Case{"shared TEMP, private folder planted as a link", true, true},
                          Case{"shared TEMP, a file in the private folder's place", true, false}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        const QString elsewhere = root.filePath("elsewhere");
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        QString refused;
        if (c.useTemp) {
            const QString shared = root.filePath("shared");
            ASSERT_TRUE(QDir().mkpath(shared));
            ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
            temp.set(QFile::encodeName(shared));
            refused = shared + QStringLiteral("/festoria-%1").arg(::getuid());
        } else {
            temp.unset();
            cacheHome.set(QFile::encodeName(root.filePath("cache")));
            ASSERT_TRUE(QDir().mkpath(root.filePath("cache/festoria")));
            refused = root.filePath("cache/festoria/tmp");
        }
        if (c.asLink) {
            ASSERT_TRUE(QFile::link(elsewhere, refused));
        } else {
            writeFile(refused, "in the way");
        }

        RequestRun run;
        run.request.run();
        if (c.useTemp) { // left as it is: a fresh private folder beside it serves the run
            EXPECT_EQ(run.prompts.reports(), QStringList());
            EXPECT_TRUE(run.host.calls.endsWith("hide"));
            EXPECT_TRUE(run.request.documentPath().startsWith(refused + "-"));
            EXPECT_TRUE(QDir(elsewhere).isEmpty()) << "nothing is written where the link leads";
            EXPECT_EQ(QFileInfo(refused).isSymLink(), c.asLink);
            continue;
        }
        const QStringList reports = run.prompts.reports();
        ASSERT_FALSE(reports.isEmpty());
        EXPECT_EQ(run.prompts.reportLines().first(), 110);
        EXPECT_TRUE(reports.first().startsWith("The temporary folder '" + refused +
                                               "' is not a private folder of this user: "))
            << reports.first().toStdString();
        EXPECT_EQ(run.prompts.reportLines().count(110), 1);
        EXPECT_FALSE(run.host.calls.contains("show"));
        EXPECT_EQ(run.host.calls.last(), "hourglass off");
        EXPECT_FALSE(run.request.busy());
        EXPECT_TRUE(QDir(elsewhere).isEmpty()) << "nothing is written where the link leads";

        ASSERT_TRUE(QFile::remove(refused));
        run.prompts.clear();
        run.request.run();
        EXPECT_EQ(run.prompts.reports(), QStringList());
        EXPECT_TRUE(run.host.calls.endsWith("hide"));
        EXPECT_TRUE(run.request.documentPath().startsWith(refused + "/"));
    }
}

// In a folder others can write to, the program works in a private folder of its own: what
// someone planted under its fixed names (a file, a link to the user's private file, a FIFO)
// is never used, shown, blocked on or deleted. In the program's own folder a template it
// did not make is kept and left unused, without a report, and a FIFO under the picture's name
// is never opened.
TEST(TemporaryFolder, PlantedFilesAreNeverUsedShownBlockedOnOrDeleted) {
    ScopedVariable temp("TEMP");
    for (const bool sharedFolder : {true, false}) {
        for (const QString& name : {QStringLiteral("template.dot"), QStringLiteral("temp.bmp")}) {
            for (const Plant kind : {Plant::File, Plant::Link, Plant::Fifo}) {
                if (!sharedFolder && kind == Plant::File && name == "temp.bmp")
                    continue; // a plain file of the user's own is an earlier run's
                SCOPED_TRACE((sharedFolder ? "shared " : "own ") + name.toStdString() + " " +
                             std::to_string(int(kind)));
                QTemporaryDir root;
                const QString folder = root.filePath("temp");
                ASSERT_TRUE(QDir().mkpath(folder));
                ASSERT_EQ(
                    ::chmod(QFile::encodeName(folder).constData(), sharedFolder ? 01777 : 0700), 0);
                temp.set(QFile::encodeName(folder));
                const QString secret = root.filePath("secret.txt");
                writeFile(secret, "the user's private text");
                ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0600), 0);
                const QString planted = folder + "/" + name;
                plant(planted, kind, secret);
                const QString kind0 = kindAt(planted);

                RequestRun run;
                run.request.run();
                if (sharedFolder) {
                    const QString own = folder + QStringLiteral("/festoria-%1").arg(::getuid());
                    struct stat info {};
                    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &info), 0);
                    EXPECT_TRUE(S_ISDIR(info.st_mode));
                    EXPECT_EQ(info.st_mode & 0777, 0700u);
                    EXPECT_EQ(info.st_uid, ::getuid());
                    EXPECT_TRUE(run.opened().startsWith(own + "/template-"));
                    EXPECT_TRUE(run.request.documentPath().startsWith(own + "/"));
                }
                EXPECT_EQ(run.prompts.reports(), QStringList());
                EXPECT_TRUE(QFileInfo(run.opened()).fileName().startsWith("template-"));
                // The picture shown is the one this request rendered.
                EXPECT_EQ(run.host.picture.size(), QSize(816, 1056));
                EXPECT_TRUE(run.host.calls.endsWith("hide"));
                if (sharedFolder || name == "template.dot") {
                    EXPECT_EQ(kindAt(planted), kind0) << "what was planted stays";
                    if (kind == Plant::File) {
                        QFile file(planted);
                        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                        EXPECT_EQ(file.readAll(), "planted");
                    }
                }
                QFile target(secret);
                ASSERT_TRUE(target.open(QIODevice::ReadOnly));
                EXPECT_EQ(target.readAll(), "the user's private text");
            }
        }
    }

    // Loading a picture never follows a link nor waits on a FIFO.
    ScopedTemp own;
    plant(own.file("fifo.bmp"), Plant::Fifo, QString());
    EXPECT_THROW(loadPicture(own.file("fifo.bmp")), AppError);
    plant(own.file("link.bmp"), Plant::Link, own.file("fifo.bmp"));
    EXPECT_THROW(loadPicture(own.file("link.bmp")), AppError);
}

// A template.dot left in the program's own folder is taken over (and gone at the end) only
// when it is the built-in template byte for byte; any other file of that name is left alone.
TEST(TemporaryFolder, ALeftTemplateIsUsedOnlyWhenItIsTheBuiltInOne) {
    const struct {
        const char* what;
        QByteArray left;
        bool used;
        uid_t owner = ::getuid();
    } cases[] = {
        {"the built-in template", "our template", true},
        {"another file of the same size", "my template!", false},
        {"a longer one", "our template and more", false},
        {"the built-in template, another user's", "our template", false, 65534},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedTemp temp;
        writeFile(temp.file("template.dot"), c.left);
        if (::chown(QFile::encodeName(temp.file("template.dot")).constData(), c.owner, -1) != 0)
            continue; // only root gives a file away
        RequestRun run;
        run.request.run();
        EXPECT_EQ(run.prompts.reports(), QStringList());
        EXPECT_EQ(QFileInfo(run.opened()).dir(), QDir(temp.path()));
        EXPECT_EQ(QFile::exists(temp.file("template.dot")), !c.used);
        if (!c.used) {
            QFile kept(temp.file("template.dot"));
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), c.left);
        }
    }
}
