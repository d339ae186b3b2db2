// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FakeOffice.h"

#include "core/AppError.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <vector>

namespace {
QString opName(FakeOffice::Op op) {
    static const char* names[] = {"create application",
                                  "open",
                                  "active document",
                                  "set bookmark text",
                                  "save as",
                                  "display alerts",
                                  "close",
                                  "render picture",
                                  "quit",
                                  "export",
                                  "fit text"};
    return QString::fromLatin1(names[int(op)]);
}

// A one-page PDF of the page's size with the picture's dark blue bar, over 100 KiB (its
// metadata), so that a small disk cuts it short.
QByteArray fakePdf(QSize pageTwips) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(pageTwips) / 20, QPageSize::Point));
    writer.setPageMargins({});
    writer.setDocumentXmpMetadata(QByteArray(100 * 1024, ' '));
    QPainter painter(&writer);
    const QRect page = painter.viewport();
    painter.fillRect(page.width() / 10, page.height() / 10, page.width() / 2, page.height() / 20,
                     Qt::darkBlue);
    painter.end(); // writes the file
    return pdf;
}

class FakeDocument : public office::Document {
public:
    FakeDocument(FakeOffice& office, QString path) : mOffice(office), mPath(std::move(path)) {}

    void setBookmarkText(const QString& bookmark, const QString& text) override {
        mOffice.call(FakeOffice::Op::SetBookmarkText, QStringLiteral("fill ") + bookmark);
        if (!mOffice.bookmarks.contains(bookmark))
            throw AppError(QStringLiteral("The requested member of the collection does not "
                                          "exist: bookmark '%1'")
                               .arg(bookmark));
        mOffice.bookmarkTexts[bookmark] = text;
    }
    QStringList fitText(const QList<office::TextFit>& boxes) override {
        QString entry = QStringLiteral("fit");
        for (const office::TextFit& box : boxes)
            entry += QLatin1Char(' ') + box.bookmark;
        mOffice.call(FakeOffice::Op::FitText, entry);
        return mOffice.tooLongToFit;
    }
    void saveAs(const QString& path) override {
        mOffice.call(FakeOffice::Op::SaveAs, QStringLiteral("save ") + path);
        mOffice.savedPaths << path;
        if (mOffice.writeSavedFiles) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                throw AppError(QStringLiteral("Cannot save '%1'").arg(path));
            file.write("fake document");
        }
    }
    void exportTo(const QString& path, office::ExportFormat format) override {
        static const char* names[] = {"pdf", "docx", "odt"};
        const QString name = QString::fromLatin1(names[int(format)]);
        mOffice.call(FakeOffice::Op::Export, QStringLiteral("export ") + path + u' ' + name);
        mOffice.exportedPaths << path + u' ' + name;
        if (mOffice.writeSavedFiles) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                throw AppError(QStringLiteral("Cannot export '%1'").arg(path));
            if (format != office::ExportFormat::Pdf)
                file.write("fake " + name.toLatin1());
            else if (mOffice.unreadablePdfs > 0) {
                --mOffice.unreadablePdfs;
                file.write("%PDF-1.4\n% cut short\n");
            } else
                file.write(fakePdf(mOffice.pageTwips));
        }
    }
    void close() override { mOffice.call(FakeOffice::Op::Close, QStringLiteral("close")); }
    QImage renderPicture(int pixelWidth, double logicalScale) override {
        mOffice.call(FakeOffice::Op::RenderPicture,
                     QStringLiteral("render %1 %2").arg(pixelWidth).arg(logicalScale));
        const QSize page = mOffice.pageTwips;
        pixelWidth += mOffice.extraRenderedPixels;
        const int height = int(std::lround(double(pixelWidth) * page.height() / page.width()));
        QImage picture(pixelWidth, height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.fillRect(pixelWidth / 10, height / 10, pixelWidth / 2, height / 20, Qt::darkBlue);
        painter.end();
        const double metresPerTwip = 0.0254 / 1440.0 * logicalScale;
        picture.setDotsPerMeterX(int(std::lround(pixelWidth / (page.width() * metresPerTwip))));
        picture.setDotsPerMeterY(int(std::lround(height / (page.height() * metresPerTwip))));
        return picture;
    }

private:
    FakeOffice& mOffice;
    QString mPath;
};

class FakeSession : public office::Session {
public:
    explicit FakeSession(FakeOffice& office) : mOffice(office) { ++mOffice.liveSessions; }
    ~FakeSession() override { --mOffice.liveSessions; }

    office::Document& open(const QString& path, bool readOnly) override {
        mOffice.call(FakeOffice::Op::Open,
                     QStringLiteral("open %1 %2")
                         .arg(path, readOnly ? QStringLiteral("ro") : QStringLiteral("rw")));
        if (!QFile::exists(path))
            throw AppError(QStringLiteral("File not found: '%1'").arg(path));
        mDocuments.push_back(std::make_unique<FakeDocument>(mOffice, path));
        return *mDocuments.back();
    }
    office::Document& activeDocument() override {
        mOffice.call(FakeOffice::Op::ActiveDocument, QStringLiteral("active"));
        if (mDocuments.empty())
            throw AppError(
                QStringLiteral("This command is not available because no document is open."));
        return *mDocuments.back();
    }
    void setDisplayAlerts(bool on) override {
        mOffice.call(FakeOffice::Op::SetDisplayAlerts,
                     on ? QStringLiteral("alerts on") : QStringLiteral("alerts off"));
    }
    void quit() override { mOffice.call(FakeOffice::Op::Quit, QStringLiteral("quit")); }

private:
    FakeOffice& mOffice;
    std::vector<std::unique_ptr<FakeDocument>> mDocuments;
};
} // namespace

FakeOffice::FakeOffice()
    : bookmarks{QStringLiteral("bEvent"), QStringLiteral("bWhen"),  QStringLiteral("bWhere"),
                QStringLiteral("bBring"), QStringLiteral("bDrive"), QStringLiteral("bRSVP")} {}

FakeOffice::~FakeOffice() = default;

std::unique_ptr<office::Session> FakeOffice::startSession() {
    call(Op::StartSession, QStringLiteral("start"));
    ++applicationsCreated;
    return std::make_unique<FakeSession>(*this);
}

void FakeOffice::fail(Op op, int times) {
    mFailures[int(op)] = times;
}

void FakeOffice::call(Op op, const QString& entry) {
    if (beforeCall)
        beforeCall(op);
    auto failure = mFailures.find(int(op));
    if (failure != mFailures.end() && failure.value() != 0) {
        if (failure.value() > 0)
            --failure.value();
        log << entry + QStringLiteral(" !");
        throw AppError(QStringLiteral("Fake office: %1 failed").arg(opName(op)));
    }
    log << entry;
}
