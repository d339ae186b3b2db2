// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/Export.h"

#include <gtest/gtest.h>

TEST(SaveTarget, TheExtensionOrElseTheSelectedFilterGivesTheFormat) {
    const QString word = QStringLiteral("Word Files (*.doc)");
    const QString pdf = QStringLiteral("PDF Files (*.pdf)");
    const QString docx = QStringLiteral("Word 2007-365 Files (*.docx)");
    const QString odt = QStringLiteral("OpenDocument Text Files (*.odt)");
    const QString png = QStringLiteral("PNG Image (*.png)");
    const QString jpeg = QStringLiteral("JPEG Image (*.jpg)");
    const QString ics = QStringLiteral("Calendar Event (*.ics)");
    const struct {
        const char* typed;
        QString filter;
        const char* path;
        SaveFormat format;
    } cases[] = {
        {"/t/party", word, "/t/party", SaveFormat::Doc}, // as typed, nothing added
        {"/t/party.doc", pdf, "/t/party.doc", SaveFormat::Doc},
        {"/t/party", pdf, "/t/party.pdf", SaveFormat::Pdf},
        {"/t/party", docx, "/t/party.docx", SaveFormat::Docx},
        {"/t/party", odt, "/t/party.odt", SaveFormat::Odt},
        {"/t/Party.PDF", word, "/t/Party.PDF", SaveFormat::Pdf}, // the name's extension wins
        {"/t/Party.Docx", odt, "/t/Party.Docx", SaveFormat::Docx},
        {"/t/party.ODT", word, "/t/party.ODT", SaveFormat::Odt},
        {"/t/party.pdf", docx, "/t/party.pdf", SaveFormat::Pdf},
        {"/t/party.txt", pdf, "/t/party.txt.pdf", SaveFormat::Pdf}, // not one of ours
        {"/t/party.txt", word, "/t/party.txt", SaveFormat::Doc},
        {"/t/.pdf", pdf, "/t/.pdf.pdf", SaveFormat::Pdf}, // a hidden name has no extension
        {"/t/my.pdf/party", odt, "/t/my.pdf/party.odt", SaveFormat::Odt}, // the folder's dot
        {"/t/Fête d'été", pdf, "/t/Fête d'été.pdf", SaveFormat::Pdf},
        {"/t/party", png, "/t/party.png", SaveFormat::Png},
        {"/t/party", jpeg, "/t/party.jpg", SaveFormat::Jpeg},
        {"/t/Party.JPEG", word, "/t/Party.JPEG", SaveFormat::Jpeg}, // both JPEG extensions
        {"/t/party.Jpg", png, "/t/party.Jpg", SaveFormat::Jpeg},
        {"/t/party.PNG", jpeg, "/t/party.PNG", SaveFormat::Png},
        {"/t/party", ics, "/t/party.ics", SaveFormat::Ics},
        {"/t/Party.ICS", word, "/t/Party.ICS", SaveFormat::Ics},
    };
    for (const auto& c : cases) {
        const SaveTarget target = saveTarget(QString::fromUtf8(c.typed), c.filter);
        EXPECT_EQ(target.path, QString::fromUtf8(c.path)) << c.typed;
        EXPECT_EQ(target.format, c.format) << c.typed;
    }
}
