// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The preview picture: the clipboard's retries, only our own picture, "temp.bmp" as BMP
// with its logical size, and the temporary folder.
#include "core/Files.h"
#include "invitation/RequestFakes.h"
#include "office/BmpFile.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

using Op = FakeOffice::Op;

TEST(clipboardPicture, ReadsUntilOneReadSucceedsAtMost1000Times) {
    FakeClipboard clipboard;
    clipboard.content = ClipboardPicture{picture(4, 4, Qt::blue), "m"};
    ASSERT_TRUE(clipboardPicture(clipboard).has_value());
    EXPECT_EQ(clipboard.reads, 1);

    clipboard.reads = 0;
    clipboard.failingReads = 999;
    const auto last = clipboardPicture(clipboard);
    EXPECT_EQ(clipboard.reads, 1000);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->picture.size(), QSize(4, 4));

    clipboard.reads = 0;
    clipboard.failingReads = 1000;
    EXPECT_FALSE(clipboardPicture(clipboard).has_value());
    EXPECT_EQ(clipboard.reads, 1000);
}

class WritePreviewPictureTest : public ::testing::Test {
protected:
    WritePreviewPictureTest() {
        QFile doc(docPath);
        doc.open(QIODevice::WriteOnly);
        doc.write("a document");
    }
    ScopedTemp temp;
    QString docPath = temp.file("qorvel11111111.doc");
    QString bmpPath = temp.file("temp.bmp"); // as earlier versions named the picture
    FakeOffice office;
    FakeClipboard clipboard;
    ScriptedPrompts prompts;
};

TEST_F(WritePreviewPictureTest, AClipboardThatNeverAnswersGivesOneReportAndNoFile) {
    clipboard.failingReads = 1000;
    writePreviewPicture(docPath, office, clipboard, prompts);

    EXPECT_EQ(clipboard.reads, 1000);
    ASSERT_EQ(prompts.reportLines(), QList<int>({122}));
    EXPECT_TRUE(prompts.reports().at(0).contains(
        "\r\nin Festoria2021/08/31.Form1.SaveDocAsJPG at line 122\r\r"));
    EXPECT_EQ(temp.entries(), QStringList{"qorvel11111111.doc"});
    EXPECT_EQ(office.log.mid(office.log.size() - 3), QStringList({"active", "close", "quit"}));
    EXPECT_EQ(office.liveSessions, 0);
}

TEST_F(WritePreviewPictureTest, TheThousandthReadStillCounts) {
    clipboard.failingReads = 999;
    const QString written = writePreviewPicture(docPath, office, clipboard, prompts);
    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(clipboard.reads, 1000);
    EXPECT_EQ(loadPicture(written).size(), QSize(816, 1056));
}

TEST_F(WritePreviewPictureTest, AnUnopenableDocumentNeverPassesTheClipboardsOldPictureOff) {
    clipboard.content = ClipboardPicture{picture(50, 50, Qt::red), QByteArray()};
    ASSERT_TRUE(picture(5, 5, Qt::green).save(bmpPath, "BMP")); // from an earlier run
    office.fail(Op::Open);
    writePreviewPicture(docPath, office, clipboard, prompts);

    EXPECT_EQ(prompts.reportLines(), QList<int>({118, 120, 122, 124}));
    EXPECT_EQ(temp.entries(), QStringList{"qorvel11111111.doc"});
    EXPECT_TRUE(office.log.endsWith("quit"));
}

TEST_F(WritePreviewPictureTest, WithoutAnOfficeFiveStepsReport) {
    office.fail(Op::StartSession);
    writePreviewPicture(docPath, office, clipboard, prompts);
    EXPECT_EQ(prompts.reportLines(), QList<int>({116, 118, 120, 122, 124, 126}));
    EXPECT_EQ(temp.entries(), QStringList{"qorvel11111111.doc"});
}

// Each picture is a new private file; a link planted under the old fixed name is removed,
// never followed.
TEST_F(WritePreviewPictureTest, WritesANewPrivateFileAndNeverFollowsALinkPlantedThere) {
    const QString victim = temp.file("victim.txt");
    writeFileNoFollow(victim, "precious");
    ASSERT_TRUE(QFile::link(victim, bmpPath));
    const QString first = writePreviewPicture(docPath, office, clipboard, prompts);
    const QString second = writePreviewPicture(docPath, office, clipboard, prompts);

    EXPECT_EQ(prompts.reports(), QStringList());
    EXPECT_EQ(readPlainFile(victim), "precious");
    EXPECT_FALSE(QFileInfo(bmpPath).isSymLink());
    EXPECT_NE(first, second);
    static const QRegularExpression name(QStringLiteral("/temp-[A-Za-z0-9]{8}\\.bmp$"));
    for (const QString& written : {first, second}) {
        EXPECT_TRUE(name.match(written).hasMatch()) << written.toStdString();
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(written).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & (S_IFMT | 07777), S_IFREG | 0600u)
            << "a plain file of the user's alone";
        EXPECT_EQ(loadPicture(written).size(), QSize(816, 1056));
    }
}

TEST_F(WritePreviewPictureTest, APictureAPixelOffIsBroughtToTheExactSizeKeepingItsLogicalSize) {
    office.extraRenderedPixels = 1;
    const QImage loaded = loadPicture(writePreviewPicture(docPath, office, clipboard, prompts));
    EXPECT_EQ(loaded.size(), QSize(816, 1056));
    EXPECT_EQ(qRound(816 * 1440 * 39.3701 / loaded.dotsPerMeterX()), 6120);
    EXPECT_EQ(qRound(1056 * 1440 * 39.3701 / loaded.dotsPerMeterY()), 7920);
}

namespace {
// Every pixel different, and a width whose rows need padding.
QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 5, (x * y) & 0xff));
    image.setDotsPerMeterX(7559);
    image.setDotsPerMeterY(5001);
    return image;
}

// The picture's 24-bit file with its rows widened to 32 bits and, for a negative height,
// stored top-down: forms the office and other programs write.
QByteArray widenedBmp(const QImage& image, bool topDown) {
    const QByteArray narrow = encodePreviewPicture(image);
    const int w = image.width(), h = image.height(), stride = (w * 3 + 3) / 4 * 4;
    QByteArray wide = narrow.left(54);
    wide[28] = 32;
    if (topDown)
        qToLittleEndian<qint32>(-h, wide.data() + 22);
    for (int y = 0; y < h; ++y) {
        const int row = 54 + (topDown ? h - 1 - y : y) * stride;
        for (int x = 0; x < w; ++x)
            wide += narrow.mid(row + 3 * x, 3) + '\x7f';
    }
    return wide;
}
} // namespace

// The picture just written loads as its file holds it (from memory, once), and as the file
// holds it once written over.
TEST_F(WritePreviewPictureTest, APictureJustWrittenLoadsAsItsFileHoldsIt) {
    const QString written = writePreviewPicture(docPath, office, clipboard, prompts);
    const QImage onDisk = office::readBmp(readPlainFile(written)), loaded = loadPicture(written);
    EXPECT_EQ(loaded, onDisk);
    EXPECT_EQ(std::tuple(loaded.format(), loaded.dotsPerMeterX(), loaded.dotsPerMeterY()),
              std::tuple(onDisk.format(), onDisk.dotsPerMeterX(), onDisk.dotsPerMeterY()));
    const QString rewritten = writePreviewPicture(docPath, office, clipboard, prompts);
    ASSERT_TRUE(QFile::remove(rewritten));
    writeFileNoFollow(rewritten, encodePreviewPicture(pattern(815, 1056)));
    EXPECT_EQ(loadPicture(rewritten), pattern(815, 1056));
}

// "temp.bmp" and the office's page drawings: every form is read as Qt reads it, with the
// resolution that records the page's logical size; the office's extra edge is left out; what
// is cut short or no picture reads as none.
TEST(PreviewPictureFile, BmpFilesReadAsQtReadsThemAndKeepTheLogicalSize) {
    const QImage page = pattern(817, 31);
    QImage indexed = page.convertToFormat(QImage::Format_Indexed8);
    const auto qtReads = [](const QByteArray& bytes) { return QImage::fromData(bytes, "BMP"); };
    QByteArray palette;
    QBuffer buffer(&palette);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && indexed.save(&buffer, "BMP"));
    for (const QByteArray& bytes :
         {encodePreviewPicture(page), widenedBmp(page, false), widenedBmp(page, true), palette}) {
        const QImage read = office::readBmp(bytes);
        EXPECT_EQ(read, qtReads(bytes).convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(read.dotsPerMeterX(), qtReads(bytes).dotsPerMeterX());
        EXPECT_EQ(office::readBmp(bytes, QSize(816, 30)), read.copy(0, 0, 816, 30));
        if (bytes != palette) { // Qt's reader makes do with a palette file cut short
            EXPECT_TRUE(office::readBmp(bytes.left(bytes.size() - 1)).isNull());
        }
    }
    EXPECT_EQ(qtReads(encodePreviewPicture(page)), page); // what other programs read
    EXPECT_TRUE(office::readBmp(encodePreviewPicture(page), QSize(818, 31)).isNull());
    EXPECT_TRUE(office::readBmp("BM not a picture").isNull());

    ScopedTemp temp;
    const QString path = temp.file("temp.bmp");
    writeFileNoFollow(path, encodePreviewPicture(page));
    EXPECT_EQ(loadPicture(path), page);
    EXPECT_EQ(QSize(loadPicture(path).dotsPerMeterX(), loadPicture(path).dotsPerMeterY()),
              QSize(7559, 5001));
    writeFileNoFollow(temp.file("short.bmp"), encodePreviewPicture(page).left(100));
    EXPECT_THROW(loadPicture(temp.file("short.bmp")), AppError);
    EXPECT_THROW(loadPicture(temp.file("missing.bmp")), AppError);
}
