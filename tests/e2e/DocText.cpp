// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the text of a Word document as the office reads it back, one text box after the
// other, so that tests can check what a saved invitation really holds:
//   festoria-doctext <file.doc>
// Each text box is printed as its paragraphs, one per line, after a line "--".
#include "core/AppError.h"
#include "support/office/OfficeDocuments.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: festoria-doctext <file.doc>\n");
        return 2;
    }
    try {
        auto office = office::makeLibreOffice();
        for (const QStringList& paragraphs :
             frameParagraphs(*office, QString::fromLocal8Bit(argv[1])))
            std::printf("--\n%s\n", paragraphs.join(QLatin1Char('\n')).toUtf8().constData());
    } catch (const AppError& e) {
        std::fprintf(stderr, "festoria-doctext: %s\n", e.what());
        return 1;
    } catch (const com::sun::star::uno::Exception& e) {
        std::fprintf(stderr, "festoria-doctext: %s\n",
                     rtl::OUStringToOString(e.Message, RTL_TEXTENCODING_UTF8).getStr());
        return 1;
    }
    return 0;
}
